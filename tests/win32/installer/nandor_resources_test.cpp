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

const std::map<UINT, std::wstring> kTexts = {
    {1, L"Software"}, {2, L"KEBO"}, {4, L"Components"}, {5, L"VLX"}, {6, L"1003"}, {7, L"npvlx.dll"},
    {8, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"}, {9, L"*"}, {10, L"http://kebo.example.com/"},
    {11, L"c:\\Program Files"}, {12, L"Kebo"}, {13, L"Bin"}, {14, L"Kebo.url"}, {15, L"/Uninstall"},
    {16, L"L'installation de KEBO nécessite la fermeture de vos browsers.\nCliquez sur Ok pour effectuer cette "
         L"fermeture automatiquement et lancer l'installation."},
    {17, L"KEBO - Installation"}, {18, L"Installation de KEBO terminée."},
    {19, L"Impossible de lancer le browser pour vous connecter à KEBO."},
    {20, L"Impossible d'installer KEBO. Vérifiez que vous avez les droits suffisants pour modifier la registry ou "
         L"qu'il reste suffisamment de place sur le disque."},
    {21, L"Installation interrompue. KEBO n'est pas correctement installé."},
    {22, L"Impossible de créer une resource (thread ou fichier).\nL'installation de KEBO n'a pu être terminée "
         L"correctement."},
    {23, L"Aucun browser trouvé sur votre poste: vous avez besoin d'un browser pour pouvoir utiliser KEBO.\n"
         L"L'installation de KEBO n'a pu être terminée correctement."},
    {24, L"La désinstallation de KEBO nécessite la fermeture de vos browsers.\nCliquez sur Ok pour effectuer cette "
         L"fermeture automatiquement et lancer la désinstallation."},
    {25, L"KEBO - Désinstallation"}, {26, L"Désinstallation de KEBO terminée."},
    {27, L"Désinstallation interrompue. KEBO n'est pas correctement désinstallé."},
    {28, L"Impossible de créer une resource (thread ou fichier).\nLa désinstallation de KEBO n'a pu être terminée "
         L"correctement."},
    {29, L"Veuillez patienter pendant l'installation de KEBO..."},
    {30, L"Veuillez patienter pendant la désinstallation de KEBO..."},
};

TEST_F(NandorResourcesTest, EveryTextIsThereExactlyInTheWindows1252CodePage) {
  for (const auto& [id, expected] : kTexts) {
    wchar_t wide[1024] = {};
    int length = LoadStringW(module_.get(), id, wide, 1024);
    EXPECT_EQ(std::wstring(wide, length), expected) << id;
    char narrow[1024] = {};
    int bytes = WideCharToMultiByte(1252, 0, wide, length, narrow, sizeof narrow, nullptr, nullptr);
    EXPECT_EQ(std::string(narrow, bytes).find('?'), std::string::npos) << id;
  }
  wchar_t none[16];
  EXPECT_EQ(LoadStringW(module_.get(), 3, none, 16), 0);
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
