// The removal takes the Kebo key whole, whatever the components below it
// are named: keys in Cyrillic and CJK, several levels deep, the ANSI code
// page cannot write.
#include "nandor_fixture.h"
#include "tests/win32/unicode_keys.h"

namespace nandor::testing {
namespace {

TEST_F(NandorTest, TheRemovalDeletesComponentKeysOfAnyName) {
  explorerLayout(kLayouts + "\\Explorer");
  ASSERT_EQ(runNandor("*dD:\\Kebo *i1 *l0").exitCode, 0);
  ASSERT_TRUE(unicode_keys::createBelow(HKEY_LOCAL_MACHINE, kKeboKey + "\\Components"));
  RunResult uninstall = runNandor("/Uninstall");
  ASSERT_TRUE(uninstall.finished);
  EXPECT_EQ(uninstall.exitCode, 0);
  EXPECT_FALSE(registryKeyExists(kKeboKey));
  EXPECT_FALSE(registryKeyExists(kUninstallKey));
}

}  // namespace
}  // namespace nandor::testing
