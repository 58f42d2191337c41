// The control's unregistration removes its class key whole, whatever was
// added below it: keys in Cyrillic and CJK, several levels deep, that the
// ANSI code page cannot write.
#include <gtest/gtest.h>

#include "ravix_support.h"
#include "tests/win32/unicode_keys.h"

namespace ravix_test {
namespace {

using ServerFunction = HRESULT(WINAPI*)();

TEST(RavixUnicodeKeys, UnregisteringRemovesSubkeysOfAnyName) {
  win::UniqueModule module(LoadLibraryA(testFolder().ravixPath.c_str()));
  ASSERT_TRUE(module);
  auto registerServer = reinterpret_cast<ServerFunction>(
      reinterpret_cast<void*>(GetProcAddress(module.get(), "DllRegisterServer")));
  auto unregisterServer = reinterpret_cast<ServerFunction>(
      reinterpret_cast<void*>(GetProcAddress(module.get(), "DllUnregisterServer")));
  ASSERT_TRUE(registerServer != nullptr && unregisterServer != nullptr);
  ASSERT_EQ(registerServer(), S_OK);
  const std::string classKey = "CLSID\\" + guidText(ravix::kClsidVoxa);
  ASSERT_TRUE(unicode_keys::createBelow(HKEY_CLASSES_ROOT, classKey + "\\Implemented Categories"));
  EXPECT_EQ(unregisterServer(), S_OK);
  EXPECT_FALSE(registryKeyExists(HKEY_CLASSES_ROOT, classKey));
  EXPECT_TRUE(registryKeyExists(HKEY_CLASSES_ROOT, "CLSID"));
}

}  // namespace
}  // namespace ravix_test
