// The control from the system's script host: JScript under cscript creates
// it by ProgID and calls it through IDispatch. The host passes a string
// argument as a plain BSTR; the type library's Invoke hands the control a
// pointer to it for the BSTR* parameters.
#include <gtest/gtest.h>

#include "ravix_support.h"

namespace ravix_test {
namespace {

std::string jsString(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

// The script's prologue: its events go to a list, when the host can connect
// them at all.
const char kPrologue[] = R"(
var events = [];
function ev_Message(m) { events.push("Message " + m); }
function ev_EndMachine() { events.push("EndMachine " + arguments.length); }
function take() { var taken = events.join(","); events = []; return taken; }
var first = new ActiveXObject("Voxa.Voxa.1");
var connected = true;
try { WScript.ConnectObject(first, "ev_"); } catch (e) { connected = false; }
WScript.Echo(connected ? "events connected" : "events unavailable");
)";

class RavixScript : public ::testing::Test {
 protected:
  void SetUp() override {
    char found[MAX_PATH] = {};
    if (SearchPathA(nullptr, "cscript.exe", nullptr, sizeof found, found, nullptr) == 0 ||
        SearchPathA(nullptr, "jscript.dll", nullptr, sizeof found, found, nullptr) == 0) {
      GTEST_SKIP() << "no script host with JScript in this system";
    }
    static int counter = 0;
    std::string name = "script" + std::to_string(++counter);
    report = testFolder().root + name + "-report.txt";
    script = testFolder().root + name + ".js";
    setMachineCommand(standardMachineCommand());
  }

  std::vector<std::string> run(const std::string& body) {
    writeFile(script, kPrologue + body);
    RunResult result = runProgram("cscript.exe //nologo \"" + script + "\"");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < result.output.size()) {
      size_t end = result.output.find('\n', start);
      if (end == std::string::npos) end = result.output.size();
      lines.push_back(result.output.substr(start, end - start));
      start = end + 1;
    }
    return lines;
  }

  static void writeFile(const std::string& path, const std::string& text) {
    win::UniqueHandle file = win::adoptFileHandle(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }

  std::string report;
  std::string script;
};

TEST_F(RavixScript, LaunchesSendsAndRefusesASecondControl) {
  std::vector<std::string> lines = run(
      "WScript.Echo('launch ' + first.LaunchMachine(" + jsString("run report=" + report) + ", 5, 2048));\n"
      "WScript.Echo('events ' + take());\n"
      "WScript.Echo('send ' + first.SendMessage('hello from script'));\n"
      "WScript.Echo('events ' + take());\n"
      "var second = new ActiveXObject('Voxa.Voxa.1');\n"
      "WScript.Echo('second launch ' + second.LaunchMachine('run', 1, 0));\n"
      "try { first.SendMessage('return -5'); WScript.Echo('no failure'); }\n"
      "catch (e) { WScript.Echo('failure ' + (e.number >>> 0).toString(16)); }\n");
  ASSERT_GE(lines.size(), 7u);
  bool connected = lines[0] == "events connected";
  if (!connected) std::printf("note: this script host cannot connect events (WScript.ConnectObject)\n");
  EXPECT_EQ(lines[1], "launch 0");
  EXPECT_EQ(lines[2], connected ? "events EndMachine 1,EndMachine 1" : "events ");
  EXPECT_EQ(lines[3], "send 0");
  EXPECT_EQ(lines[4], connected ? "events Message hello from script" : "events ");
  EXPECT_EQ(lines[5], "second launch 1");
  EXPECT_EQ(lines[6], "failure fffffffb");

  std::vector<std::string> reported = readLines(report);
  ASSERT_GE(reported.size(), 6u);
  EXPECT_EQ(reported[0], "launch 0 0 cmd=run report=" + report + " show=5 0 mem=2048 window=(null) callback=yes");
  EXPECT_EQ(reported[3], "end callback");
  EXPECT_EQ(reported[4], "send hello from script");
  EXPECT_EQ(reported[5], "send return -5");
}

TEST_F(RavixScript, RefusedLaunchAnswersOne) {
  std::vector<std::string> lines = run(
      "WScript.Echo('launch ' + first.LaunchMachine(" + jsString("refuse report=" + report) + ", 1, 0));\n"
      "WScript.Echo('events ' + take());\n"
      "WScript.Echo('send ' + first.SendMessage('hello'));\n");
  ASSERT_GE(lines.size(), 4u);
  bool connected = lines[0] == "events connected";
  EXPECT_EQ(lines[1], "launch 1");
  EXPECT_EQ(lines[2], connected ? "events EndMachine 1" : "events ");
  EXPECT_EQ(lines[3], "send 1");
  std::vector<std::string> reported = readLines(report);
  ASSERT_FALSE(reported.empty());
  EXPECT_EQ(reported[0].rfind("launch 0 0 cmd=refuse", 0), 0u);
}

}  // namespace
}  // namespace ravix_test
