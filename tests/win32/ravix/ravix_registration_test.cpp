// Ravix.dll's self-registration, through regsvr32 and its own exports, and
// the registry-script runner behind it.
#include <gtest/gtest.h>

#include "common/win32/registry_tree.h"
#include "ravix_support.h"
#include "test_support.h"

namespace ravix_test {
namespace {

const std::string kClassKey = "CLSID\\" + guidText(ravix::kClsidVoxa);
const std::string kLibraryKey = "TypeLib\\" + guidText(ravix::kLibidRavix);

int regsvr32(const std::string& options, const std::string& path) {
  return runProgram("regsvr32.exe " + options + " \"" + path + "\"").exitCode;
}

using ServerFunction = HRESULT(WINAPI*)();

ServerFunction serverExport(HMODULE module, const char* name) {
  return reinterpret_cast<ServerFunction>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void expectClassRegistered(const std::string& modulePath) {
  const std::string clsid = guidText(ravix::kClsidVoxa);
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, "Voxa.Voxa.1"), "Voxa Class");
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, "Voxa.Voxa.1\\CLSID"), clsid);
  EXPECT_TRUE(registryKeyExists(HKEY_CLASSES_ROOT, "Voxa.Voxa.1\\Insertable"));
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, "Voxa.Voxa"), "Voxa Class");
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, "Voxa.Voxa\\CurVer"), "Voxa.Voxa.1");
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, kClassKey), "Voxa Class");
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, kClassKey + "\\ProgID"), "Voxa.Voxa.1");
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, kClassKey + "\\VersionIndependentProgID"), "Voxa.Voxa");
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, kClassKey + "\\InprocServer32"), modulePath);
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, kClassKey + "\\InprocServer32", "ThreadingModel"), "<missing>");
  for (const char* keyOnly : {"Programmable", "Control", "Insertable"}) {
    EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, kClassKey + "\\" + keyOnly), "<missing>") << keyOnly;
  }
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, kClassKey + "\\ToolboxBitmap32"), modulePath + ", 1");
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, kClassKey + "\\MiscStatus"), "0");
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, kClassKey + "\\MiscStatus\\1"), "131473");
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, kClassKey + "\\TypeLib"), guidText(ravix::kLibidRavix));
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, kClassKey + "\\Version"), "1.0");
}

void expectClassGone() {
  for (const char* key : {"Voxa.Voxa.1", "Voxa.Voxa"}) EXPECT_FALSE(registryKeyExists(HKEY_CLASSES_ROOT, key)) << key;
  EXPECT_FALSE(registryKeyExists(HKEY_CLASSES_ROOT, kClassKey));
  EXPECT_TRUE(registryKeyExists(HKEY_CLASSES_ROOT, "CLSID"));
}

TEST(RavixRegistration, Regsvr32WritesTheClassAndTheTypeLibraryAndRemovesOnlyTheClass) {
  const std::string& path = testFolder().ravixPath;
  ASSERT_EQ(regsvr32("/s", path), 0);
  expectClassRegistered(path);
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, kLibraryKey + "\\1.0"), "Ravix 1.0 Type Library");
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, kLibraryKey + "\\1.0\\409\\win32"), path);
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, kLibraryKey + "\\1.0\\HELPDIR"), testFolder().root);
  // The dual interface is registered for the system's type library marshaler.
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, "Interface\\" + guidText(ravix::kIidVoxa)), "IVoxa");

  ASSERT_EQ(regsvr32("/s /u", path), 0);
  expectClassGone();
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, kLibraryKey + "\\1.0\\409\\win32"), path);
}

TEST(RavixRegistration, RegisteringAgainReplacesTheWholeClassKey) {
  const std::string& path = testFolder().ravixPath;
  ASSERT_EQ(regsvr32("/s", path), 0);
  HKEY raw = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, (kClassKey + "\\Stale\\Deeper").c_str(), &raw), ERROR_SUCCESS);
  RegCloseKey(raw);
  ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, (kClassKey + "\\InprocServer32").c_str(), &raw), ERROR_SUCCESS);
  RegSetValueExA(raw, "ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>("Both"), 5);
  RegCloseKey(raw);

  ASSERT_EQ(regsvr32("/s", path), 0);
  EXPECT_FALSE(registryKeyExists(HKEY_CLASSES_ROOT, kClassKey + "\\Stale"));
  expectClassRegistered(path);
  ASSERT_EQ(regsvr32("/s /u", path), 0);
}

TEST(RavixRegistration, ExportsRegisterAndUnregisterDirectly) {
  HMODULE module = LoadLibraryA(testFolder().ravixPath.c_str());
  ASSERT_NE(module, nullptr);
  ServerFunction registerServer = serverExport(module, "DllRegisterServer");
  ServerFunction unregisterServer = serverExport(module, "DllUnregisterServer");
  ASSERT_NE(registerServer, nullptr);
  ASSERT_NE(unregisterServer, nullptr);
  EXPECT_EQ(registerServer(), S_OK);
  expectClassRegistered(testFolder().ravixPath);
  EXPECT_EQ(unregisterServer(), S_OK);
  expectClassGone();
  // Nothing left to remove: still a success.
  EXPECT_EQ(unregisterServer(), S_OK);
  // The module name of its export table.
  auto* base = reinterpret_cast<const BYTE*>(module);
  auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(
      base + headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress);
  EXPECT_STREQ(reinterpret_cast<const char*>(base + exports->Name), "Ravix.DLL");
  EXPECT_EQ(exports->NumberOfNames, 4u);
  FreeLibrary(module);
}

// A copy of the DLL whose type library resource is spoilt (its signature
// overwritten), and beside it, when asked for, the library as a file of the
// same name.
std::string spoiltCopy(const std::string& name, bool withTlbFile) {
  std::string bytes = testvm::testing::readFile(testFolder().ravixPath);
  size_t library = bytes.find("MSFT");
  if (library == std::string::npos) return {};
  if (withTlbFile) {
    testvm::testing::writeFile(testFolder().root + name + ".tlb", bytes.substr(library));
  }
  bytes.replace(library, 4, "XXXX");
  std::string path = testFolder().root + name + ".dll";
  testvm::testing::writeFile(path, bytes);
  return path;
}

TEST(RavixRegistration, TypeLibraryIsTakenFromTheTlbFileWhenTheDllHasNone) {
  std::string path = spoiltCopy("Fallback", true);
  ASSERT_EQ(regsvr32("/s", path), 0);
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, kLibraryKey + "\\1.0\\409\\win32"), testFolder().root + "Fallback.tlb");

  std::string without = spoiltCopy("NoLibrary", false);
  HMODULE module = LoadLibraryA(without.c_str());
  ASSERT_NE(module, nullptr);
  HRESULT result = serverExport(module, "DllRegisterServer")();
  EXPECT_TRUE(FAILED(result)) << std::hex << result;
  // The class keys written before the failure stay.
  EXPECT_EQ(registryValue(HKEY_CLASSES_ROOT, kClassKey + "\\InprocServer32"), without);
  EXPECT_EQ(serverExport(module, "DllUnregisterServer")(), S_OK);
  FreeLibrary(module);
}

TEST(RavixRegistration, VersionBlockMarksTheDllSelfRegistering) {
  const std::string& path = testFolder().ravixPath;
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::string block(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));
  auto text = [&](const char* name) -> std::string {
    void* value = nullptr;
    UINT length = 0;
    std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(block.data(), query.c_str(), &value, &length)) return "<missing>";
    return static_cast<const char*>(value);
  };
  EXPECT_EQ(text("OLESelfRegister"), "");
  EXPECT_EQ(text("FileDescription"), "Ravix Module");
  EXPECT_EQ(text("InternalName"), "RAVIX");
  EXPECT_EQ(text("OriginalFilename"), "RAVIX.DLL");
  EXPECT_EQ(text("ProductName"), "Ravix Module");
  EXPECT_EQ(text("CompanyName"), "");
  EXPECT_EQ(text("FileVersion"), "1, 0, 0, 1");
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
}

}  // namespace
}  // namespace ravix_test
