// The checks on small scripts that each hold a mistake: the line reported,
// its severity and the exit status.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <sstream>

#include "cli.h"
#include "lint.h"
#include "temp_package.h"

namespace setuplint {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

class LintTest : public ::testing::Test {
 protected:
  // The report on setup.ini holding text, file names relative to the folder;
  // the note on a missing [Uninstall] left out.
  std::vector<std::string> lint(const std::string& text) {
    package.write("setup.ini", text);
    LintResult result = lintPath(package.folder());
    EXPECT_TRUE(result.readable);
    status = exitStatusOf(result.diagnostics);
    std::vector<std::string> lines;
    for (Diagnostic diagnostic : result.diagnostics) {
      diagnostic.file = std::filesystem::path(diagnostic.file).filename().string();
      std::string line = formatDiagnostic(diagnostic);
      if (line.find("no section [Uninstall]") == std::string::npos) lines.push_back(line);
    }
    return lines;
  }

  testing::TempPackage package;
  int status = -1;
};

constexpr const char* kUninstall = "[Uninstall]\nGetSystemVars\n";

TEST_F(LintTest, CleanScriptReportsNothing) {
  EXPECT_THAT(lint(std::string("[Setup]\nGetSystemVars\nIShowInstallDlg\nIf\n  MkDir DSTDIR\n"
                               "  Copy \"a.txt\"\n  goto \"Links\"\nElse\n  quit \"Bye\" \"Setup\"\n"
                               "Endif\n[Links]\nset PROGRAMGROUP \"Voxa\"\nMkLink \"a.txt\" \"A\"\n") +
                   kUninstall),
              IsEmpty());
  EXPECT_EQ(status, 0);
}

TEST_F(LintTest, KeywordsTheProgramWouldReject) {
  EXPECT_THAT(lint(std::string("[Setup]\n  Cpy \"a.txt\"\nMsgBoxOK\"Hi\" \"T\"\n; Cpy in a comment\n"
                               "   [Links]\n") +
                   kUninstall),
              ElementsAre(StartsWith("setup.ini:2: error: \"Cpy\" is not a command: the program "
                                     "shows \"Syntax Error:   Cpy.\""),
                          StartsWith("setup.ini:3: error: \"MsgBoxOK\"Hi\"\" is not a command"),
                          StartsWith("setup.ini:5: error: indented header \"[Links]\" does not end")));
  EXPECT_EQ(status, 1);
}

TEST_F(LintTest, LongLineArrivesInPiecesAndItsRestIsACommand) {
  std::string longComment = ";" + std::string(1100, 'x') + "\n";
  EXPECT_THAT(lint("[Setup]\n" + longComment + "GetSystemVars\n" + kUninstall),
              ElementsAre(StartsWith("setup.ini:2: error: \"" + std::string(78, 'x'))));
}

TEST_F(LintTest, LinesOutsideSectionsAndRepeatedHeaders) {
  EXPECT_THAT(lint(std::string("GetSystemVars\n[Setup]\nReturn\n[setup]\nReturn\n") + kUninstall),
              ElementsAre(StartsWith("setup.ini:1: warning: this line comes before the first"),
                          StartsWith("setup.ini:4: warning: section [setup] again: the program "
                                     "only ever runs the one of line 2")));
  EXPECT_EQ(status, 0);
}

TEST_F(LintTest, HeadersAsTheProgramFindsThem) {
  // The first header has no section above it that could run it.
  EXPECT_THAT(lint(std::string("  [Setup]\nGetSystemVars\n") + kUninstall), IsEmpty());
  EXPECT_EQ(status, 0);
  // Without "]" the name keeps its line feed: the second [Setup] is the one
  // that runs.
  EXPECT_THAT(lint(std::string("[Setup\nReturn\n[Setup]\nGetSystemVars\n") + kUninstall),
              ElementsAre(StartsWith("setup.ini:1: warning: header [Setup has no \"]\": the program "
                                     "takes its name with the line feed")));
}

TEST_F(LintTest, StartSections) {
  package.write("setup.ini", "[Install]\nGetSystemVars\n");
  LintResult result = lintPath(package.folder());
  ASSERT_EQ(result.diagnostics.size(), 2u);
  EXPECT_THAT(formatDiagnostic(result.diagnostics[0]),
              HasSubstr("setup.ini: error: no section [Setup]"));
  EXPECT_THAT(formatDiagnostic(result.diagnostics[1]),
              HasSubstr("setup.ini: note: no section [Uninstall]"));
  EXPECT_EQ(exitStatusOf(result.diagnostics), 1);
}

TEST_F(LintTest, ArgumentCounts) {
  EXPECT_THAT(lint(std::string("[Setup]\nGetSystemVars\nCopyA \"a\"\nMsgBoxOK \"\" \"\"\n"
                               "If DSTDIR\nEndif\nRegister \"a.dll\" \"b\"\nquit\n") +
                   kUninstall),
              ElementsAre(StartsWith("setup.ini:3: error: CopyA uses 2 arguments but is given 1"),
                          StartsWith("setup.ini:5: warning: If uses 0 arguments: \"DSTDIR\" is "
                                     "ignored"),
                          StartsWith("setup.ini:7: warning: Register uses 1 argument: \"b\""),
                          StartsWith("setup.ini:8: error: quit uses 2 arguments but is given 0")));
  EXPECT_EQ(status, 1);
}

TEST_F(LintTest, IfAndElseWithoutTheirEnd) {
  // Comment lines count like any other, by their first word.
  EXPECT_THAT(lint(std::string(kUninstall) + "[Setup]\nElse\n;Endif\nIf\n;Else\n  Return\n"),
              ElementsAre(StartsWith("setup.ini:4: error: Else has no Endif after it"),
                          StartsWith("setup.ini:6: error: If has no Else or Endif after it")));
  EXPECT_EQ(status, 1);
}

TEST_F(LintTest, SkipsCountNoNesting) {
  // The If of line 3 skips to the Endif of line 5; the Else of line 6 then
  // skips to line 8 past the If of line 7.
  EXPECT_THAT(lint(std::string("[Setup]\nDetectTCPIP\nIf\n  If\n  Endif\nElse\n  If\n  Endif\n"
                               "Endif\n") +
                   kUninstall),
              ElementsAre(StartsWith("setup.ini:4: warning: If inside the lines that the If of "
                                     "line 3 skips: that skip counts no nesting and ends early, "
                                     "at line 5"),
                          StartsWith("setup.ini:7: warning: If inside the lines that the Else of "
                                     "line 6 skips")));
  EXPECT_EQ(status, 0);
}

TEST_F(LintTest, SkipCrossesSectionHeaders) {
  EXPECT_THAT(lint(std::string("[Setup]\nIf\n  Return\n") + kUninstall + "[Later]\nendif\n"),
              ElementsAre(StartsWith("setup.ini:2: warning: If skips to line 7, past the end of "
                                     "its section, into [Later]")));
  EXPECT_EQ(status, 0);
}

TEST_F(LintTest, SectionTargets) {
  package.write("more.ini", "[Fonts]\nReturn\n");
  package.write("sub/other.INI", "[Other]\ngoto \"Nowhere\"\n");
  EXPECT_THAT(lint(std::string("[Setup]\ngoto \"Link\"\ngoto \"links\"\ngoto WHERE\n"
                               "Include \"more.ini\" \"Fonts\"\nInclude \"more.ini\" \"Icons\"\n"
                               "Include \"sub\\other.ini\" \"Other\"\nInclude \"gone.ini\" \"X\"\n"
                               "Include \"C:\\x.ini\" \"X\"\nParseFile \"list.txt\" \"EachLine\"\n"
                               "[Links]\nReturn\n") +
                   kUninstall),
              ElementsAre(StartsWith("setup.ini:2: error: goto: no section [Link] in"),
                          StartsWith("setup.ini:4: note: goto names its section through the "
                                     "variable WHERE: not checked"),
                          StartsWith("setup.ini:4: error: variable WHERE is never set"),
                          StartsWith("setup.ini:6: error: Include: no section [Icons] in"),
                          StartsWith("setup.ini:8: warning: Include: no file \"gone.ini\" beside "
                                     "the script"),
                          StartsWith("setup.ini:9: note: Include of \"C:\\x.ini\""),
                          StartsWith("setup.ini:10: error: ParseFile: no section [EachLine]"),
                          StartsWith("other.INI:2: error: goto: no section [Nowhere]")));
  EXPECT_EQ(status, 1);
}

TEST_F(LintTest, VariablesReadBeforeAnyCommandSetsThem) {
  EXPECT_THAT(
      lint(std::string("[Setup]\nCopy \"a.txt\"\nMsgBoxOK NAME \"T\"\nGetSystemVars\n"
                       "set NAME \"Pkg\"\nCopy readme.txt\nStrcat PATH \"\\x\"\nset PATH DSTDIR\n") +
           kUninstall),
      ElementsAre(StartsWith("setup.ini:2: warning: Copy reads SRCDIR, which no command has set "
                             "yet (GetSystemVars sets it)"),
                  StartsWith("setup.ini:2: warning: Copy reads DSTDIR"),
                  StartsWith("setup.ini:3: warning: variable NAME is read before any command"),
                  StartsWith("setup.ini:6: error: variable readme.txt is never set by any command"),
                  StartsWith("setup.ini:7: warning: variable PATH is read before")));
  EXPECT_EQ(status, 1);
}

TEST_F(LintTest, VariablesFollowTheRunsThroughCalledSections) {
  // Sets in called sections count after the call; ParseFile and ApplyOnFiles
  // set TempLine and DSTDIR for their sections; both branches of an If run.
  package.write("vars.ini", "[Vars]\nset FROMINCLUDE \"1\"\n");
  EXPECT_THAT(lint("[Setup]\ngoto \"Init\"\nMsgBoxOK TITLE TITLE\n"
                   "Include \"vars.ini\" \"Vars\"\nMsgBoxOK FROMINCLUDE \"\"\n"
                   "ParseFile \"list.txt\" \"Each\"\nApplyOnFiles \"a.exe\" \"Found\"\n"
                   "MsgBoxOK LATE \"\"\ngoto \"SetsLate\"\n"
                   "If\n  set BRANCH \"1\"\nEndif\nMsgBoxOK BRANCH \"\"\n"
                   "[Init]\nset title \"T\"\n[Each]\nMsgBoxOK TempLine TempStripped\n"
                   "[Found]\nDelete \"a.exe\" DSTDIR\n[SetsLate]\nset LATE \"1\"\n"
                   "[Unreached]\nMsgBoxOK NOWHERE LATE\n" + std::string(kUninstall)),
              ElementsAre(StartsWith("setup.ini:8: warning: variable LATE is read before"),
                          StartsWith("setup.ini:23: error: variable NOWHERE is never set")));
}

TEST_F(LintTest, UninstallIsARunOfItsOwn) {
  EXPECT_THAT(lint("[Setup]\nGetSystemVars\n[Uninstall]\nDeltree DSTDIR\n"),
              ElementsAre(StartsWith("setup.ini:4: warning: variable DSTDIR is read before")));
}

TEST(LintCommandLine, UsageAndUnreadableScripts) {
  std::ostringstream out, err;
  EXPECT_EQ(runCommandLine({"--bogus"}, out, err), 2);
  EXPECT_EQ(runCommandLine({"a", "b"}, out, err), 2);
  EXPECT_EQ(runCommandLine({"--uninstall", "."}, out, err), 2);
  EXPECT_EQ(runCommandLine({"/nonexistent/setup-lint-test"}, out, err), 2);
  EXPECT_EQ(runCommandLine({"--trace", "/nonexistent/setup-lint-test"}, out, err), 2);
  EXPECT_THAT(err.str(), HasSubstr("cannot read"));
  EXPECT_EQ(runCommandLine({"--help"}, out, err), 0);
}

// The executable itself: its report on standard output and its status.
std::string runTool(const std::string& arguments, int& status) {
  std::string output;
  FILE* pipe = popen((std::string(SETUP_LINT_EXE) + " " + arguments + " 2>&1").c_str(), "r");
  char buffer[512];
  while (pipe != nullptr && fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  int raw = pipe != nullptr ? pclose(pipe) : -1;
  status = raw >= 0 ? WEXITSTATUS(raw) : -1;
  return output;
}

TEST(LintExecutable, ReportsErrorsWithStatusOne) {
  testing::TempPackage package;
  package.write("setup.ini", "[Setup]\nGetSystemVars\nIf\n  Copy \"a\"\n");
  int status = 0;
  std::string output = runTool("'" + package.folder().string() + "'", status);
  EXPECT_EQ(status, 1);
  EXPECT_THAT(output, HasSubstr((package.folder() / "setup.ini").string() +
                                ":3: error: If has no Else or Endif"));
  EXPECT_THAT(output, HasSubstr("setup.ini: note: no section [Uninstall]"));

  package.write("warn.ini", "[Setup]\nMsgBoxOK X \"T\"\nset X \"\"\n[Uninstall]\n");
  output = runTool("'" + (package.folder() / "warn.ini").string() + "'", status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_THAT(output, HasSubstr("warn.ini:2: warning: variable X"));
}

TEST(LintExecutable, TracesAPackageAndRefusesAMissingOne) {
  testing::TempPackage package;
  package.write("setup.ini", "[Setup]\nGetSystemVars\nMsgBoxOKCancel \"Go on?\" \"Setup\"\n");
  int status = -1;
  std::string output = runTool("--trace '" + package.folder().string() + "'", status);
  EXPECT_EQ(status, 0);
  EXPECT_THAT(output, HasSubstr("[Setup]\n  GetSystemVars\n  MsgBoxOKCancel \"Go on?\" \"Setup\"\n"
                                "    message \"Go on?\" titled \"Setup\" -> OK\n"));
  runTool("--trace '" + (package.folder() / "none").string() + "'", status);
  EXPECT_EQ(status, 2);
}

}  // namespace
}  // namespace setuplint
