// The plug-in's exports called directly, its version block, and the check
// of the Kebo installation at every New.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/win32/handles.h"
#include "npapi.h"
#include "npvlx_fixture.h"

namespace {

using namespace npvlx_test;

using GetEntryPoints = NPError(WINAPI*)(NPPluginFuncs*);
using Initialize = NPError(WINAPI*)(NPNetscapeFuncs*);
using Shutdown = NPError(WINAPI*)();

class NpvlxExports : public ::testing::Test {
 protected:
  void SetUp() override {
    plugin.reset(LoadLibraryA("npvlx.dll"));
    ASSERT_TRUE(plugin);
    getEntryPoints = reinterpret_cast<GetEntryPoints>(reinterpret_cast<void*>(GetProcAddress(plugin.get(), "NP_GetEntryPoints")));
    initialize = reinterpret_cast<Initialize>(reinterpret_cast<void*>(GetProcAddress(plugin.get(), "NP_Initialize")));
    shutdown = reinterpret_cast<Shutdown>(reinterpret_cast<void*>(GetProcAddress(plugin.get(), "NP_Shutdown")));
    ASSERT_TRUE(getEntryPoints && initialize && shutdown);
  }
  win::UniqueModule plugin;
  GetEntryPoints getEntryPoints = nullptr;
  Initialize initialize = nullptr;
  Shutdown shutdown = nullptr;
};

TEST_F(NpvlxExports, EntryPointsFillTheTableAndRefuseNull) {
  EXPECT_EQ(getEntryPoints(nullptr), NPERR_INVALID_FUNCTABLE_ERROR);
  NPPluginFuncs table{};
  table.size = sizeof table;
  table.event = reinterpret_cast<NPP_HandleEventFunc>(1);
  ASSERT_EQ(getEntryPoints(&table), NPERR_NO_ERROR);
  EXPECT_EQ(table.version, 9);
  EXPECT_TRUE(table.newp && table.destroy && table.setwindow && table.newstream && table.destroystream &&
              table.asfile && table.writeready && table.write && table.print);
  EXPECT_EQ(table.event, nullptr);
  EXPECT_EQ(table.urlnotify, nullptr);

  // Defensive entries: no instance, no stream.
  EXPECT_EQ(table.newp(nullptr, nullptr, 1, 0, nullptr, nullptr, nullptr), NPERR_INVALID_INSTANCE_ERROR);
  EXPECT_EQ(table.destroy(nullptr, nullptr), NPERR_INVALID_INSTANCE_ERROR);
  NPP_t empty{};
  EXPECT_EQ(table.setwindow(&empty, nullptr), NPERR_INVALID_INSTANCE_ERROR);
  EXPECT_EQ(table.write(&empty, nullptr, 0, 1, nullptr), -1);
}

TEST_F(NpvlxExports, InitializeChecksTheBrowserVersion) {
  NPPluginFuncs table{};
  table.size = sizeof table;
  ASSERT_EQ(getEntryPoints(&table), NPERR_NO_ERROR);
  EXPECT_EQ(initialize(nullptr), NPERR_INVALID_FUNCTABLE_ERROR);

  NPNetscapeFuncs browser{};
  browser.size = sizeof browser;
  browser.version = 0x0100;
  EXPECT_EQ(initialize(&browser), NPERR_INCOMPATIBLE_VERSION_ERROR);

  browser.version = 8;
  EXPECT_EQ(initialize(&browser), NPERR_NO_ERROR);
  EXPECT_EQ(table.urlnotify, nullptr) << "minor version 8 has no URL notification";
  EXPECT_EQ(shutdown(), NPERR_NO_ERROR);

  browser.version = 9;
  EXPECT_EQ(initialize(&browser), NPERR_NO_ERROR);
  EXPECT_NE(table.urlnotify, nullptr);
  table.urlnotify(nullptr, "x", 0, nullptr);  // does nothing, also without an instance
  EXPECT_EQ(shutdown(), NPERR_NO_ERROR);
}

std::string versionString(const std::vector<char>& block, const char* name) {
  char* value = nullptr;
  UINT size = 0;
  std::string path = std::string("\\StringFileInfo\\040C04E4\\") + name;
  if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &size) || !value) return {};
  return value;
}

TEST_F(NpvlxExports, VersionBlockNamesTheMimeTypeAndExtension) {
  HRSRC resource = FindResourceA(plugin.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));  // RT_VERSION
  ASSERT_TRUE(resource);
  const char* data = static_cast<const char*>(LockResource(LoadResource(plugin.get(), resource)));
  std::vector<char> block(data, data + SizeofResource(plugin.get(), resource));
  block.resize(block.size() * 2);  // room that VerQueryValue may use
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000003u);
  EXPECT_EQ(versionString(block, "MIMEType"), "application/x-KEBO-VLX");
  EXPECT_EQ(versionString(block, "FileExtents"), "kebo");
}

// The Kebo key must hold "VLX" and a directory that exists.
TEST_F(KeboTest, NewRefusesAnIncompleteInstallationWithAMessage) {
  const std::string box =
      "MessageBox title=KEBO - Informations text=KEBO n'est pas install\xE9 sur votre poste (ou est mal install\xE9).";
  std::string page = parameters({{"width", "200"}, {"height", "100"}});

  writeKeboKey(false, true);
  auto lines = runHost({page}, "", 300);
  EXPECT_TRUE(hasLine(lines, box));
  EXPECT_TRUE(hasLine(lines, "New 0 -> 1"));

  writeKeboKey(true, false);
  lines = runHost({page}, "", 300);
  EXPECT_TRUE(hasLine(lines, "New 0 -> 1"));

  keboDir = scratchDir + "\\missing";
  writeKeboKey(true, true);
  lines = runHost({page}, "", 300);
  EXPECT_TRUE(hasLine(lines, "New 0 -> 1"));

  keboDir = scratchDir + "\\Kebo";
  writeKeboKey(true, true);
  lines = runHost({page}, "", 300);
  EXPECT_TRUE(hasLine(lines, "New 0 -> 0"));
  EXPECT_TRUE(linesStartingWith(lines, "MessageBox").empty());
  EXPECT_TRUE(hasLine(lines, "Destroy 0 -> 0"));
  // The instance record comes from the browser's memory, and goes back.
  EXPECT_EQ(linesStartingWith(lines, "MemAlloc").size(), 1u);
  EXPECT_EQ(linesStartingWith(lines, "MemFree").size(), 1u);

  lines = runHost({page}, "--no-memory", 300);
  EXPECT_TRUE(hasLine(lines, "New 0 -> 5"));
}

}  // namespace
