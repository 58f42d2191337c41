// --trace on a small package folder: the program's runner over a machine
// that changes nothing, every command and message box shown.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "package_paths.h"
#include "trace.h"
#include "temp_package.h"

namespace setuplint {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kScript =
    "[Setup]\n"
    "GetSystemVars\n"
    "set SETUPTYPE3 \"Full\"\n"
    "IShowInstallDlg\n"
    "If\n"
    "  SetupType\n"
    "  Copy \"readme.txt\"\n"
    "  Copy \"missing.txt\"\n"
    "  CopyDir2Dest \"files\"\n"
    "  set TEXTS SRCDIR\n"
    "  Strcat TEXTS \"\\*.TXT\"\n"
    "  Exist TEXTS\n"
    "  If\n"
    "    MsgBoxYESNO \"Found the text files\" \"Check\"\n"
    "  Endif\n"
    "  goto \"Links\"\n"
    "  Include \"more.ini\" \"Extra\"\n"
    "  DetectVOXA\n"
    "  If\n"
    "    MsgBoxOK \"never shown\" \"VM\"\n"
    "  Endif\n"
    "  MsgBoxOK SETUPTYPE NOTITLE\n"
    "Endif\n"
    "[Links]\n"
    "set PROGRAMGROUP \"Demo\"\n"
    "MkLink \"readme.txt\" \"Read me\"\n"
    "[Uninstall]\n"
    "GetSystemVars\n"
    "Delete \"readme.txt\" DSTDIR\n"
    "goto \"Nowhere\"\n";

class TraceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    package.write("setup.ini", kScript);
    package.write("readme.txt", "hello\n");
    package.write("files/sub/a.txt", "a\n");
    package.write("more.ini", "[Extra]\nMsgBoxOK \"from the included file\" \"More\"\n");
    source = "D:\\" + package.folder().filename().string();
  }
  std::string trace(bool uninstall) {
    std::ostringstream out;
    EXPECT_TRUE(runTrace(package.folder(), uninstall, out));
    return out.str();
  }

  testing::TempPackage package;
  std::string source;
};

TEST_F(TraceTest, ShowsTheInstallationWithDefaultAnswers) {
  std::string out = trace(false);
  EXPECT_THAT(out, HasSubstr("\n[Setup]\n  GetSystemVars\n  set SETUPTYPE3 \"Full\"\n"));
  EXPECT_THAT(out, HasSubstr("  IShowInstallDlg\n    welcome dialog <unset> titled <unset>, "
                             "destination \"C:\\Program Files\\VOXA\\\" -> continue\n"));
  // The first entry the dialog lists, gaps in the numbering and all.
  EXPECT_THAT(out, HasSubstr("  SetupType\n    setup type choice -> \"Full\"\n"));
  EXPECT_THAT(out, HasSubstr("  Copy \"readme.txt\"\n    delete C:\\Program Files\\VOXA\\\\readme.txt\n"
                             "    copy " + source + "\\readme.txt -> C:\\Program Files\\VOXA\\\\readme.txt\n"));
  EXPECT_THAT(out, HasSubstr("\\missing.txt  (not in the package)\n"));
  EXPECT_THAT(out, HasSubstr("    copy " + source + "/files/sub/a.txt -> "
                             "C:\\Program Files\\VOXA\\/files/sub/a.txt\n"));
  // The file test answers from the folder, letter case ignored.
  EXPECT_THAT(out, HasSubstr("  Exist TEXTS=\"" + source + "\\*.TXT\"\n  If\n"
                             "  MsgBoxYESNO \"Found the text files\" \"Check\"\n"
                             "    message \"Found the text files\" titled \"Check\" -> Yes\n"));
  EXPECT_THAT(out, HasSubstr("  goto \"Links\"\n  [Links]\n    set PROGRAMGROUP \"Demo\"\n"));
  EXPECT_THAT(out, HasSubstr("  [Extra]\n    MsgBoxOK \"from the included file\" \"More\"\n"
                             "      message \"from the included file\" titled \"More\" -> OK\n"));
  EXPECT_THAT(out, HasSubstr("  DetectVOXA\n    not found -> flag 0\n  If\n  MsgBoxOK "
                             "SETUPTYPE=\"Full\" NOTITLE=<unset>\n"));
  EXPECT_THAT(out, Not(HasSubstr("never shown")));
  EXPECT_THAT(out, Not(HasSubstr("Uninstall")));
}

TEST_F(TraceTest, UninstallRunsItsOwnSectionAndShowsAMissingOne) {
  std::string out = trace(true);
  EXPECT_THAT(out, HasSubstr("\n[Uninstall]\n  GetSystemVars\n"
                             "  Delete \"readme.txt\" DSTDIR=\"C:\\Program Files\\VOXA\\\"\n"
                             "    delete C:\\Program Files\\VOXA\\\\readme.txt\n"));
  EXPECT_THAT(out, HasSubstr("  goto \"Nowhere\"\n  [Nowhere]\n"
                             "    message \"INI file incomplete. Aborting.\" titled \"ERROR\" -> OK\n"
                             "    the program ends with exit status -1\n"));
  EXPECT_THAT(out, Not(HasSubstr("[Setup]")));
}

TEST(TraceWildcardTest, ManyStarsMatchInMilliseconds) {
  EXPECT_TRUE(matchesWildcard("ReadMe.TXT", "r*m?.t*"));
  EXPECT_FALSE(matchesWildcard("readme.txt", "*e*x"));
  std::string stars;
  for (int i = 0; i < 30; ++i) stars += "*a";
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(matchesWildcard(std::string(4000, 'a'), stars + "*b"));
  EXPECT_TRUE(matchesWildcard(std::string(4000, 'a') + "b", stars + "*b"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

}  // namespace
}  // namespace setuplint
