#include "system_rules.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

TEST(SystemRulesTest, TheMachinesDirectoryIsTheCommandCutAtItsLastSeparator) {
  EXPECT_EQ(voxaDirectoryFromCommand("\"C:\\Tools\\voxa.exe\" \"%1\""), "C:\\Tools");
  EXPECT_EQ(voxaDirectoryFromCommand("C:\\Tools\\voxa.exe %1"), "C:\\Tools");
  EXPECT_EQ(voxaDirectoryFromCommand("C:/Voxa/bin/voxa.exe -run %1"), "C:/Voxa/bin");
  // A separator in the argument moves the cut: the rule is the last one.
  EXPECT_EQ(voxaDirectoryFromCommand("C:\\Tools\\voxa.exe /run"), "C:\\Tools\\voxa.exe ");
  EXPECT_EQ(voxaDirectoryFromCommand("voxa.exe %1"), "");
}

TEST(SystemRulesTest, RunWaitLooksAsGivenThenAlongThePath) {
  EXPECT_EQ(spawnCandidates("tool.exe", "C:\\bin;;D:\\x\\"),
            (std::vector<std::string>{"tool.exe", "C:\\bin\\tool.exe", "D:\\x\\tool.exe"}));
  EXPECT_EQ(spawnCandidates("tool", "C:\\bin"),
            (std::vector<std::string>{"tool.com", "tool.exe", "tool.bat", "tool.cmd",
                                      "C:\\bin\\tool.com", "C:\\bin\\tool.exe",
                                      "C:\\bin\\tool.bat", "C:\\bin\\tool.cmd"}));
  EXPECT_EQ(spawnCandidates("sub/tool.exe", "C:\\bin"), (std::vector<std::string>{"sub/tool.exe"}));
  EXPECT_EQ(spawnCandidates("C:\\v1.2\\tool", ""),
            (std::vector<std::string>{"C:\\v1.2\\tool.com", "C:\\v1.2\\tool.exe",
                                      "C:\\v1.2\\tool.bat", "C:\\v1.2\\tool.cmd"}));
  EXPECT_TRUE(spawnCandidates("", "C:\\bin").empty());
}

}  // namespace
}  // namespace setup
