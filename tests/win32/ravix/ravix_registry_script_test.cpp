// The registry-script runner on keys of its own under HKCU.
#include <gtest/gtest.h>

#include "common/win32/registry_tree.h"
#include "ravix_support.h"
#include "registry_script.h"

namespace ravix_test {
namespace {

const std::string kBase = "Software\\RavixScriptTest";

class RegistryScript : public ::testing::Test {
 protected:
  void TearDown() override { win::deleteRegistryTree(HKEY_CURRENT_USER, kBase); }

  static std::string value(const std::string& key, const std::string& name = "") {
    return registryValue(HKEY_CURRENT_USER, kBase + key, name);
  }
  static bool exists(const std::string& key) { return registryKeyExists(HKEY_CURRENT_USER, kBase + key); }
  static void createKey(const std::string& key) {
    HKEY raw = nullptr;
    RegCreateKeyA(HKEY_CURRENT_USER, (kBase + key).c_str(), &raw);
    RegCloseKey(raw);
  }
};

const char* const kScript = R"(
HKCU
{
  NoRemove Software
  {
    RavixScriptTest = s 'top'
    {
      Plain = s '%MODULE%, 1'
      {
        val Named = s 'it''s named'
        val Number = d '42'
      }
      ForceRemove 'Forced' = s 'again'
      {
        'Inner'
      }
      NoRemove Kept
      {
        Child = s 'child'
      }
      Delete Gone
    }
  }
}
)";

TEST_F(RegistryScript, WritesKeysValuesAndReplacements) {
  createKey("\\Gone\\Below");
  ASSERT_EQ(ravix::runRegistryScript(kScript, {{"MODULE", "C:\\x\\m.dll"}}, true), S_OK);
  EXPECT_EQ(value(""), "top");
  EXPECT_EQ(value("\\Plain"), "C:\\x\\m.dll, 1");
  EXPECT_EQ(value("\\Plain", "Named"), "it's named");
  DWORD number = 0, size = sizeof number;
  EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, (kBase + "\\Plain").c_str(), "Number", RRF_RT_REG_DWORD, nullptr,
                         &number, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(number, 42u);
  EXPECT_EQ(value("\\Forced"), "again");
  EXPECT_TRUE(exists("\\Forced\\Inner"));
  EXPECT_EQ(value("\\Kept\\Child"), "child");
  EXPECT_FALSE(exists("\\Gone"));
}

TEST_F(RegistryScript, ForceRemoveReplacesTheSubtreeAtRegistration) {
  createKey("\\Forced\\Old\\Older");
  createKey("\\Plain\\Foreign");
  ASSERT_EQ(ravix::runRegistryScript(kScript, {{"MODULE", "m"}}, true), S_OK);
  EXPECT_FALSE(exists("\\Forced\\Old"));
  EXPECT_TRUE(exists("\\Plain\\Foreign"));
}

TEST_F(RegistryScript, RemovalKeepsNoRemoveKeysAndKeysWithForeignSubkeys) {
  ASSERT_EQ(ravix::runRegistryScript(kScript, {{"MODULE", "m"}}, true), S_OK);
  createKey("\\Plain\\Foreign");
  createKey("\\Forced\\Foreign");
  createKey("\\Kept\\Other");
  EXPECT_EQ(ravix::runRegistryScript(kScript, {{"MODULE", "m"}}, false), S_OK);
  EXPECT_TRUE(exists("\\Plain\\Foreign"));
  EXPECT_EQ(value("\\Plain", "Named"), "<missing>");
  EXPECT_FALSE(exists("\\Forced"));
  EXPECT_FALSE(exists("\\Kept\\Child"));
  EXPECT_TRUE(exists("\\Kept\\Other"));
  EXPECT_TRUE(registryKeyExists(HKEY_CURRENT_USER, "Software"));

  // Without foreign keys everything of the script goes, NoRemove keys aside.
  win::deleteRegistryTree(HKEY_CURRENT_USER, kBase);
  ASSERT_EQ(ravix::runRegistryScript(kScript, {{"MODULE", "m"}}, true), S_OK);
  EXPECT_EQ(ravix::runRegistryScript(kScript, {{"MODULE", "m"}}, false), S_OK);
  EXPECT_TRUE(exists("\\Kept"));
  EXPECT_FALSE(exists("\\Plain"));
}

TEST_F(RegistryScript, BrokenScriptsAndUnknownReplacementsWriteNothing) {
  for (const char* broken : {"HKCU { Software { RavixScriptTest = s 'x' }", "HKXX { }",
                             "HKCU { NoRemove Software { RavixScriptTest = q 'x' } }",
                             "HKCU { NoRemove Software { RavixScriptTest = s 'open } }",
                             "HKCU { NoRemove Software { RavixScriptTest = s '%NOPE%' } }",
                             "HKCU { NoRemove Software { RavixScriptTest = d 4294967296 } }",
                             "HKCU { NoRemove Software { RavixScriptTest = d -1 } }"}) {
    EXPECT_EQ(ravix::runRegistryScript(broken, {{"MODULE", "m"}}, true), DISP_E_EXCEPTION) << broken;
    EXPECT_FALSE(exists("")) << broken;
  }
  EXPECT_EQ(ravix::runRegistryScript("HKCU { NoRemove Software { RavixScriptTest = s '100%%' } }", {}, true), S_OK);
  EXPECT_EQ(value(""), "100%");
}

}  // namespace
}  // namespace ravix_test
