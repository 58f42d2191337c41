// What Nandor.exe carries: its French texts in the Windows-1252 code page,
// the plug-in compressed so that the system's LZ expansion gives it back
// byte for byte, the browser icons and its own icon.
#include <windows.h>
#include <lzexpand.h>

#include <gtest/gtest.h>

#include <map>

#include "common/win32/lz_expand.h"
#include "nandor_run.h"

namespace nandor::testing {
namespace {

struct ModuleFreer {
  void operator()(HMODULE m) const { FreeLibrary(m); }
};

class NandorResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_.reset(LoadLibraryExA(besideTest("Nandor.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_NE(module_, nullptr);
  }
  std::string resource(LPCSTR name, LPCSTR type) {
    HRSRC found = FindResourceA(module_.get(), name, type);
    if (found == nullptr) return "<none>";
    auto* data = static_cast<const char*>(LockResource(LoadResource(module_.get(), found)));
    return std::string(data, SizeofResource(module_.get(), found));
  }
  std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer> module_;
};

// Texts 1 to 30 but 3: each there and written in the Windows-1252 code
// page; a few, whose bytes the registry, the browsers and the user meet,
// checked exactly.
TEST_F(NandorResourcesTest, EveryTextIsThereExactlyInTheWindows1252CodePage) {
  std::map<UINT, std::wstring> texts;
  for (UINT id = 1; id <= 30; ++id) {
    wchar_t wide[1024] = {};
    int length = LoadStringW(module_.get(), id, wide, 1024);
    if (id == 3) {
      EXPECT_EQ(length, 0);
      continue;
    }
    EXPECT_GT(length, 0) << id;
    char narrow[1024] = {};
    int bytes = WideCharToMultiByte(1252, 0, wide, length, narrow, sizeof narrow, nullptr, nullptr);
    EXPECT_EQ(std::string(narrow, bytes).find('?'), std::string::npos) << id;
    texts[id] = std::wstring(wide, length);
  }
  EXPECT_EQ(texts[2], L"KEBO");
  EXPECT_EQ(texts[7], L"npvlx.dll");
  EXPECT_EQ(texts[8], L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
  EXPECT_EQ(texts[10], L"http://kebo.example.com/");
  EXPECT_EQ(texts[11], L"c:\\Program Files");
  EXPECT_EQ(texts[17], L"KEBO - Installation");
  EXPECT_EQ(texts[18], L"Installation de KEBO terminée.");
  EXPECT_EQ(texts[24], L"La désinstallation de KEBO nécessite la fermeture de vos browsers.\nCliquez sur Ok pour "
                       L"effectuer cette fermeture automatiquement et lancer la désinstallation.");
  EXPECT_EQ(texts[25], L"KEBO - Désinstallation");
  // The bytes as an ANSI program of the time reads them.
  if (GetACP() == 1252) {
    char text[256] = {};
    LoadStringA(module_.get(), 25, text, sizeof text);
    EXPECT_STREQ(text, "KEBO - D\xe9sinstallation");
  }
}

TEST_F(NandorResourcesTest, ThePayloadExpandsToThePluginByteForByte) {
  std::string payload = resource(MAKEINTRESOURCEA(103), "BINARY");
  ASSERT_GT(payload.size(), 14u);
  EXPECT_EQ(payload.substr(0, 9), std::string("SZDD\x88\xf0\x27\x33" "A", 9));
  makeFolders("D:\\nandortest");
  writeFile("D:\\nandortest\\payload.dl_", payload);
  ASSERT_TRUE(win::lzExpandFile("D:\\nandortest\\payload.dl_", "D:\\nandortest\\expanded.dll"));
  std::string plugin = readFile(besideTest("npvlx.dll"));
  EXPECT_GT(plugin.size(), payload.size());
  EXPECT_TRUE(readFile("D:\\nandortest\\expanded.dll") == plugin);
  DeleteFileA("D:\\nandortest\\payload.dl_");
  DeleteFileA("D:\\nandortest\\expanded.dll");
}

TEST_F(NandorResourcesTest, TheFourBrowserIconsAndTheProgramIconAreThere) {
  for (const char* name : {"IEXPLORE302", "IEXPLORE40", "NETSCAPE304", "NETSCAPE404"}) {
    EXPECT_EQ(resource(name, "ICONS").size(), 768u) << name;
  }
  EXPECT_NE(resource(MAKEINTRESOURCEA(1), RT_GROUP_ICON), "<none>");
  EXPECT_NE(resource(MAKEINTRESOURCEA(101), RT_DIALOG), "<none>");
  EXPECT_NE(resource(MAKEINTRESOURCEA(104), RT_DIALOG), "<none>");
}

}  // namespace
}  // namespace nandor::testing
