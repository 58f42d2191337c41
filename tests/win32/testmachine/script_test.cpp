// Scripts run in-process against the fixture plug-in: what each line form
// does and prints, and how errors and faults end a run.
#include <gtest/gtest.h>

#include <sstream>

#include "script.h"
#include "test_support.h"
#include "value_format.h"
#include "values.h"

namespace testvm {
namespace {

struct ScriptRun {
  int code;
  std::string out;
  std::string err;
};

ScriptRun runScript(const std::string& text) {
  TestMachine machine;
  EXPECT_TRUE(machine.loadPlugin(testing::kFixturePlugin)) << machine.lastError();
  std::ostringstream out;
  std::ostringstream err;
  ScriptRunner runner(machine, out, err);
  runner.reportLoad("fixture_plugin.dll");
  std::istringstream script(text);
  const int code = runner.run(script, "s.txt");
  return {code, out.str(), err.str()};
}

bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(Script, LoadLineThenResultsByType) {
  ScriptRun r = runScript(
      "# sums and such\n"
      "\n"
      "call fxAdd 2 -5\n"
      "call fxHalf 3.0\n"
      "call fxHalf 1e1   # exponent form\n"
      "call fxLabel \"a \\\"q\\\" \\\\\" 4\n"
      "call fxNest 1 2\n"
      "call fxWindowHandle nil\n");
  EXPECT_EQ(r.code, kRunClean) << r.out << r.err;
  EXPECT_EQ(r.out,
            "loaded fixture_plugin.dll: 11 primitives in fixture (result 0)\n"
            "log: fixture loading\n"
            "[3] fxAdd -> -3\n"
            "[4] fxHalf -> 1.5\n"
            "[5] fxHalf -> 5\n"
            "[6] fxLabel -> [\"a \\\"q\\\" \\\\#4\" 9]\n"
            "[7] fxNest -> [1 [2 3]]\n"
            "[8] fxWindowHandle -> nil\n");
}

TEST(Script, LineValuesAndReferences) {
  ScriptRun r = runScript(
      "call fxAdd 1 2\n"
      "call fxAdd $1 $1\n"
      "7\n"
      "call fxMinus $3 $2\n");
  EXPECT_EQ(r.code, kRunClean) << r.err;
  EXPECT_TRUE(has(r.out, "[2] fxAdd -> 6\n"));
  EXPECT_TRUE(has(r.out, "[4] fxMinus -> 1\n"));
}

TEST(Script, BitmapsFromAndToRawFiles) {
  const std::string in = testing::tempFile(".raw");
  const std::string out = testing::tempFile(".raw");
  testing::writeFile(in, std::string("\x01\x02\x03\x04", 4));
  ScriptRun r = runScript("bitmap 2 1 " + in + "\nsave $1 " + out + "\n");
  EXPECT_EQ(r.code, kRunClean) << r.err;
  EXPECT_EQ(testing::readFile(out), std::string("\x01\x02\x03\x04", 4));

  r = runScript("bitmap 2 2\ncall fxFill $1 258\nsave $1 " + out + "\n");
  EXPECT_EQ(r.code, kRunClean) << r.err;
  EXPECT_TRUE(has(r.out, "[2] fxFill -> 4\n"));
  EXPECT_EQ(testing::readFile(out), std::string("\x02\x01\x03\x01\x04\x01\x05\x01", 8));

  // A bitmap without a file is followed directly by the next value.
  r = runScript("call fxFill bitmap 3 1 5\n");
  EXPECT_TRUE(has(r.out, "[1] fxFill -> 3\n")) << r.err;

  DeleteFileA(in.c_str());
  DeleteFileA(out.c_str());
}

TEST(Script, WindowsAndFiles) {
  const std::string path = testing::tempFile(".txt");
  testing::writeFile(path, "12345");
  ScriptRun r = runScript("call fxFileSize file " + path + "\ncall fxWindowHandle window\n");
  EXPECT_EQ(r.code, kRunClean) << r.err;
  EXPECT_TRUE(has(r.out, "[1] fxFileSize -> 5\n"));
  EXPECT_FALSE(has(r.out, "fxWindowHandle -> nil"));
  DeleteFileA(path.c_str());
}

TEST(Script, FailureCodesLogsAndFaults) {
  ScriptRun r = runScript(
      "fail alloc 1\n"
      "call fxHalf 1.0\n"
      "fail push 1\n"
      "call fxAdd 1 1\n"
      "call fxThreadLog 5\n");
  EXPECT_EQ(r.code, kRunClean) << r.err;
  EXPECT_TRUE(has(r.out, "[2] fxHalf -> nil (returned -2)\n"));
  EXPECT_TRUE(has(r.out, "[4] fxAdd -> nil (returned -3)\n"));
  EXPECT_TRUE(has(r.out, "[5] fxThreadLog -> 0\nlog: from thread 5\nlog: second line\n"));

  r = runScript("call fxUnbalanced 1\ncall fxBadBlock 2\ncall fxAdd 1 1\n");
  EXPECT_EQ(r.code, kRunFaults);
  EXPECT_TRUE(has(r.out, "[1] fxUnbalanced -> 2\nfault: primitive fxUnbalanced left 2 values"));
  EXPECT_TRUE(has(r.out, "[2] fxBadBlock -> 0\nfault: vmGetWord: block 2"));
  EXPECT_TRUE(has(r.out, "[3] fxAdd -> 2\n"));  // faults do not stop the run
}

TEST(Script, ErrorsStopWithTheLineNumber) {
  const struct {
    const char* script;
    const char* message;
  } cases[] = {
      {"\ncall fxNothing 1\n", "s.txt:2: unknown primitive fxNothing"},
      {"call fxAdd $5 1\n", "s.txt:1: $5 undefined"},
      {"call fxAdd 1\n", "s.txt:1: fxAdd takes 2 arguments, not 1"},
      {"call fxHalf 3\n", "s.txt:1: argument 1 of fxHalf must be F"},
      {"call fxAdd 1.5 2\n", "s.txt:1: argument 1 of fxAdd must be I"},
      {"call fxAdd \"x\" 2\n", "s.txt:1: argument 1 of fxAdd must be I"},
      {"call fxFill 3 4\n", "s.txt:1: argument 1 of fxFill must be ObjBitmap"},
      {"call fxAdd \"open 1\n", "s.txt:1: unfinished string"},
      {"bogus 1 2\n", "s.txt:1: bad value 'bogus'"},
      {"4 5\n", "s.txt:1: unexpected '5'"},
      {"fail memory 1\n", "s.txt:1: fail takes alloc or push"},
      {"call fxAdd 2000000000 1\n", "s.txt:1: integer 2000000000 out of range"},
      {"bitmap 2 2 C:\\no\\such.raw\n", "s.txt:1: cannot open C:\\no\\such.raw"},
      {"file C:\\no\\such.txt\n", "s.txt:1: cannot open"},
      {"7\nsave $1 x.raw\n", "s.txt:2: $1 is not a bitmap"},
  };
  for (const auto& c : cases) {
    ScriptRun r = runScript(c.script);
    EXPECT_EQ(r.code, kRunScriptError) << c.script;
    EXPECT_TRUE(has(r.err, c.message)) << c.script << " gave: " << r.err;
  }
}

TEST(Script, RawFileOfTheWrongSizeIsAnError) {
  const std::string path = testing::tempFile(".raw");
  testing::writeFile(path, "abc");
  ScriptRun r = runScript("bitmap 1 2 " + path + "\n");
  EXPECT_EQ(r.code, kRunScriptError);
  EXPECT_TRUE(has(r.err, "has 3 bytes, not 4")) << r.err;
  DeleteFileA(path.c_str());
}

TEST(ValueFormat, OtherTypesAndMismatches) {
  TestMachine machine;
  std::vector<std::string> problems;
  const VmValue bitmap = machine.makeBitmap(1, 1);
  EXPECT_EQ(formatValue(machine, bitmap, *parseType("ObjBitmap"), problems),
            "<ObjBitmap block " + std::to_string(vm::blockOf(bitmap)) + ">");
  EXPECT_EQ(formatValue(machine, vm::kNil, *parseType("[I I]"), problems), "nil");
  EXPECT_EQ(formatValue(machine, machine.makeString("a\nb"), *parseType("P"), problems),
            "\"a\\nb\"");
  EXPECT_TRUE(problems.empty());

  EXPECT_EQ(formatValue(machine, machine.makeInt(4), *parseType("F"), problems), "?int 4");
  const VmValue pair = machine.makeTuple({machine.makeInt(1), machine.makeInt(2)});
  formatValue(machine, pair, *parseType("[I I I]"), problems);
  formatValue(machine, pair, *parseType("I"), problems);
  formatValue(machine, vm::makeRef(3), *parseType("S"), problems);
  EXPECT_EQ(problems.size(), 4u);
}

}  // namespace
}  // namespace testvm
