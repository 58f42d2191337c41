// Scripts read and run by setup.exe: the line rules, the flow commands and
// the messages, checked through the files the script writes.
#include <gtest/gtest.h>

#include "scratch.h"
#include "setup_robot.h"

namespace setup::testing {
namespace {

using robot::Answers;
using robot::runSetup;
using robot::SetupResult;

struct ScriptCase {
  std::string folder;
  SetupResult result;
  std::string log() const { return readFile(folder + "\\log.txt"); }
};

ScriptCase runScript(const std::string& name, const std::string& script, Answers answers = {}) {
  ScriptCase run;
  run.folder = freshFolder(name);
  writeFile(run.folder + "\\setup.ini", script);
  run.result = runSetup("", run.folder, std::move(answers));
  return run;
}

TEST(SetupScriptTest, ReadsHeadersLinesAndLiteralsAsWritten) {
  std::string longValue(1500, 'v');
  ScriptCase run = runScript("script_lines",
      "[ Setup ]\r\nAppendFile \"wrong section\" \"log.txt\"\r\n"
      "[sEtUp]\r\n"
      "  ; a remark\r\n"
      "\r\n"
      "appendfile \"one two\" \"log.txt\"\r\n"
      "  [Indented]\r\n"
      "AppendFile \"after the indented header\" \"log.txt\" trailing remark\r\n"
      "Frobnicate \"x\"\r\n"
      "set LONG \"" + longValue + "\"\r\n"
      "AppendFile LONG \"log.txt\"\r\n"
      "AppendFile \"last line\" \"log.txt\"");
  ASSERT_TRUE(run.result.finished);
  EXPECT_EQ(run.log(), "one two\r\nafter the indented header\r\n" + std::string(1013, 'v') +
                           "\r\nlast line\r\n");
  ASSERT_EQ(run.result.boxes.size(), 3u);
  EXPECT_EQ(run.result.boxes[0].text, "Syntax Error:   [Indented].");
  EXPECT_EQ(run.result.boxes[1].text, "Syntax Error: Frobnicate.");
  EXPECT_EQ(run.result.boxes[1].title, "Error");
  EXPECT_EQ(run.result.boxes[1].owner, "background");
  EXPECT_EQ(run.result.boxes[2].text, "Syntax Error: " + std::string(487, 'v') + "\".");
}

TEST(SetupScriptTest, ConditionalsGotoReturnAndQuit) {
  ScriptCase run = runScript("script_flow",
      "[Setup]\r\n"
      "Strcmp \"abc\" \"ab\"\r\nIf\r\nAppendFile \"not taken\" \"log.txt\"\r\nElse\r\n"
      "AppendFile \"else taken\" \"log.txt\"\r\nEndif\r\n"
      "goto \"Sub\"\r\n"
      "AppendFile \"back from Sub\" \"log.txt\"\r\n"
      "goto \"Nowhere\"\r\n"
      "AppendFile \"after the missing section\" \"log.txt\"\r\n"
      "goto \"NoEndif\"\r\n"
      "quit \"Goodbye\" \"The end\"\r\n"
      "AppendFile \"after quit\" \"log.txt\"\r\n"
      "[Sub]\r\nAppendFile \"in Sub\" \"log.txt\"\r\nReturn\r\nAppendFile \"after Return\" \"log.txt\"\r\n"
      "[NoEndif]\r\nStrcmp \"a\" \"a\"\r\nIf\r\nAppendFile \"never\" \"log.txt\"\r\n");
  ASSERT_TRUE(run.result.finished);
  EXPECT_EQ(run.result.exitCode, 0);
  EXPECT_EQ(run.log(), "else taken\r\nin Sub\r\nback from Sub\r\nafter the missing section\r\n");
  ASSERT_EQ(run.result.boxes.size(), 3u);
  EXPECT_EQ(run.result.boxes[0].text, "INI file incomplete. Aborting.");
  EXPECT_EQ(run.result.boxes[1].text, "Syntax Error: missing else/endif. Aborting section");
  EXPECT_EQ(run.result.boxes[2].title, "The end");
  EXPECT_EQ(run.result.boxes[2].text, "Goodbye");
  EXPECT_EQ(run.result.boxes[2].owner, "progress");
}

TEST(SetupScriptTest, TwoHundredVariablesAndNoMore) {
  std::string script = "[Setup]\r\n";
  for (int i = 0; i < 200; ++i) script += "set V" + std::to_string(i) + " \"x\"\r\n";
  script +=
      "set Extra \"y\"\r\nAppendFile Extra \"log.txt\"\r\nset V199 \"replaced\"\r\n"
      "AppendFile v199 \"log.txt\"\r\n";
  ScriptCase run = runScript("script_variables", script);
  ASSERT_TRUE(run.result.finished);
  // Extra was never stored: its AppendFile writes an empty line.
  EXPECT_EQ(run.log(), "\r\nreplaced\r\n");
}

TEST(SetupScriptTest, ASectionThatRunsItselfEndsWithOneMessage) {
  ScriptCase run = runScript("script_recursion",
      "[Setup]\r\ngoto \"Loop\"\r\nAppendFile \"after\" \"log.txt\"\r\n"
      "[Loop]\r\ngoto \"Loop\"\r\ngoto \"Loop\"\r\n");
  ASSERT_TRUE(run.result.finished);
  EXPECT_EQ(run.result.exitCode, 0);
  ASSERT_EQ(run.result.boxes.size(), 1u);
  EXPECT_EQ(run.result.boxes[0].text,
            "Sections nested too deeply (more than 64 runs) at section Loop. Aborting.");
  EXPECT_EQ(run.log(), "");
}

TEST(SetupScriptTest, AWalkAtTheNestingLimitShowsOneMessageAndTheProgramEnds) {
  std::string folder = freshFolder("script_recursion_walk");
  writeFile(folder + "\\five.txt", "1\r\n2\r\n3\r\n4\r\n5\r\n");
  writeFile(folder + "\\setup.ini", "[Setup]\r\nParseFile \"five.txt\" \"Setup\"\r\n");
  SetupResult result = runSetup("", folder);
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0);
  ASSERT_EQ(result.boxes.size(), 1u);
  EXPECT_EQ(result.boxes[0].text,
            "Sections nested too deeply (more than 64 runs) at section Setup. Aborting.");
}

TEST(SetupScriptTest, SystemVariablesAndMessageBoxAnswers) {
  ScriptCase run = runScript("script_system",
      "[Setup]\r\nGetSystemVars\r\n"
      "AppendFile SRCDIR \"log.txt\"\r\nAppendFile DSTDIR \"log.txt\"\r\n"
      "AppendFile WINDIR \"log.txt\"\r\nAppendFile SYSDIR \"log.txt\"\r\n"
      "MsgBoxYESNO \"Go on?\" \"Question\"\r\nIf\r\nAppendFile \"yes\" \"log.txt\"\r\nEndif\r\n"
      "MsgBoxOKCancel \"Sure?\" \"Question\"\r\nIf\r\nAppendFile \"ok\" \"log.txt\"\r\nEndif\r\n"
      "DetectTCPIP\r\nIf\r\nAppendFile \"tcp\" \"log.txt\"\r\nEndif\r\n",
      {IDNO, IDOK});
  ASSERT_TRUE(run.result.finished);
  EXPECT_EQ(run.log(), run.folder + "\r\nC:\\Program Files\\VOXA\\\r\nC:\\windows\r\n"
                           "C:\\windows\\system32\r\nok\r\ntcp\r\n");
  ASSERT_EQ(run.result.boxes.size(), 2u);
  EXPECT_EQ(run.result.boxes[0].text, "Go on?");
  EXPECT_EQ(run.result.boxes[0].owner, "progress");
}

}  // namespace
}  // namespace setup::testing
