// Installing components from compressed payloads, then launching them; the
// version checks and the failures reported to the server.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "common/win32/handles.h"
#include "npvlx_fixture.h"

namespace {

using namespace npvlx_test;

const std::string kSep = "\xA3\xA3";
const std::string kInprocClsid = "{BBF0F053-EC52-468E-A223-E425EF9F2AC1}";
const std::string kServerClsid = "{57A9D99F-5B0C-4FED-B0BA-15F78DB4B1D8}";

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string registryText(const std::string& key, const char* name) {
  char value[512] = {};
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
    return "(missing)";
  }
  return value;
}

std::string componentBox(const std::string& name) {
  return "MessageBox title=KEBO - Informations text=Le composant " + name +
         " a besoin d'\xEAtre install\xE9 sur votre machine.";
}

TEST_F(KeboTest, AMissingComponentIsFetchedInstalledFromItsPayloadAndThenLaunched) {
  std::string package = payloadBytes(kInprocDllCompressed);
  ASSERT_EQ(package.substr(0, 4), "SZDD");
  serve("chat-package.asp", answer(package, {{"regpath", "Chat"}, {"physpath", "chat.dll"}, {"clsid", kInprocClsid},
                                             {"version", "4"}}, 2));
  const std::string packageUrl = onTrustedServer("chat-package.asp");
  Pairs page = {{"width", "200"}, {"height", "60"}, {"bgcolor", "0"}, {"textcolor", std::to_string(0x00FFFFFF)},
                {"dialogpage", onTrustedServer("dialog.asp")}, {"launchapp", "Chat"}, {"version", "3"},
                {"urldata", packageUrl}, {"sizedata", std::to_string(package.size())},
                {"thispage", "url" + kSep + "welcome.htm" + kSep + "frame" + kSep + "main"},
                {"paramsapp", "CMD" + kSep + "CALL SETMSG|NUMMSG=1|TEXTMSG=ready"}};
  std::string during = scratchDir + "\\during.bmp", after = scratchDir + "\\after";
  auto lines = runHost({parameters(page)},
                       "--chunk 8192 --mid-snapshot " + packageUrl + " \"" + during + "\" --snapshot \"" + after + "\"",
                       1500);
  EXPECT_TRUE(hasLine(lines, componentBox("Chat")));
  EXPECT_TRUE(hasLine(lines, "GetURL 0 url=" + packageUrl + " target=(null)"));
  EXPECT_TRUE(hasLine(lines, "GetURL 0 url=welcome.htm target=main"));

  // Half-way: the waiting message, and half of the 20 blocks lit.
  const COLORREF white = RGB(255, 255, 255), highlight = GetSysColor(COLOR_HIGHLIGHT);
  Picture picture;
  ASSERT_TRUE(hasLine(lines, "MidStreamSnapshot 0 saved"));
  ASSERT_TRUE(readPicture(during, picture));
  EXPECT_GT(picture.count(white, 0, 20), 20);
  for (int k = 0; k < 9; ++k) EXPECT_EQ(picture.at(10 * k + 4, 54), highlight) << "block " << k;
  for (int k = 11; k < 20; ++k) EXPECT_EQ(picture.at(10 * k + 4, 54), RGB(0, 0, 0)) << "block " << k;
  // Installed: message and blocks gone.
  ASSERT_TRUE(readPicture(after + "-0.bmp", picture));
  EXPECT_EQ(picture.count(white, 0, 60), 0);
  EXPECT_EQ(picture.count(highlight, 0, 60), 0);

  std::string installed = keboDir + "\\chat.dll";
  EXPECT_EQ(fileBytes(installed), payloadBytes(kInprocDll));
  EXPECT_FALSE(fileExists(installed + "_Temp"));
  EXPECT_EQ(registryText("Software\\KEBO\\Chat", "CLSID"), kInprocClsid);
  EXPECT_EQ(registryText("Software\\KEBO\\Chat", "Version"), "4");
  EXPECT_EQ(registryText("Software\\KEBO\\Chat", "Path"), installed);
  auto log = componentLog(installed);
  EXPECT_TRUE(hasLine(log, "DllRegisterServer"));

  // The same page again: now the component starts and gets its commands.
  lines = runHost({parameters(page)}, "", 600);
  EXPECT_TRUE(linesStartingWith(lines, "MessageBox").empty());
  log = componentLog(installed);
  EXPECT_TRUE(hasLine(log, "Advise"));
  EXPECT_TRUE(hasLine(log, "Command CALL SETMSG|NUMMSG=1|TEXTMSG=ready"));
  EXPECT_TRUE(hasLine(log, "ExecuteCmd SETMSG -> 0x00000000"));
  EXPECT_TRUE(hasLine(log, "Unadvise 7"));
}

TEST_F(KeboTest, ALocalServerIsInstalledWithRegserverAndLaunched) {
  std::string package = payloadBytes(kServerExeCompressed);
  serve("srv.asp", answer(package, {{"regpath", "Server"}, {"physpath", "keboserver.exe"}, {"clsid", kServerClsid},
                                    {"version", "1"}}, 2));
  auto lines = runHost({parameters({{"dialogpage", onTrustedServer("srv.asp")}, {"cyclic", "0"}})}, "--chunk 8192", 1500);
  std::string installed = keboDir + "\\keboserver.exe";
  ASSERT_TRUE(fileExists(installed));
  EXPECT_TRUE(hasLine(componentLog(installed), "regserver"));
  EXPECT_EQ(registryText("Software\\KEBO\\Server", "Path"), installed);

  lines = runHost({parameters({{"launchapp", "Server"}, {"removewithvlx", "yes"},
                               {"paramsapp", "Greeting" + kSep + "hello" + kSep + "CMD" + kSep + "GETPARAM x"}})},
                  "", 2500);
  EXPECT_TRUE(linesStartingWith(lines, "MessageBox").empty());
  auto log = componentLog(installed);
  EXPECT_TRUE(hasLine(log, "Advise"));
  EXPECT_TRUE(hasLine(log, "SetParam Greeting=hello"));
  EXPECT_TRUE(hasLine(log, "GetParam -> 0x00000000 null"));
  EXPECT_TRUE(hasLine(log, "Terminate"));
}

TEST_F(KeboTest, InstallFailuresAreReportedAndNothingIsWrittenOutsideTheKeboDirectory) {
  std::string package = payloadBytes(kInprocDllCompressed);
  serve("escape.asp", answer(package, {{"regpath", "Evil"}, {"physpath", "..\\evil.dll"}, {"clsid", kInprocClsid},
                                       {"version", "1"}}, 2));
  serve("absolute.asp", answer(package, {{"regpath", "Evil"}, {"physpath", scratchDir + "\\evil.dll"},
                                         {"clsid", kInprocClsid}, {"version", "1"}}, 2));
  serve("notadll.asp", answer("plain text, not a program", {{"regpath", "Broken"}, {"physpath", "broken.dll"},
                                                             {"clsid", kInprocClsid}, {"version", "1"}}, 2));
  Pairs common = {{"cyclic", "0"}, {"errurl", "err.asp"}, {"errfrm", "ef"}};
  auto page = [&](const char* dialog) {
    Pairs p = common;
    p.push_back({"dialogpage", onTrustedServer(dialog)});
    return parameters(p);
  };
  auto lines = runHost({page("escape.asp"), page("absolute.asp"), page("notadll.asp")}, "--chunk 8192", 1200);
  std::string report = "err.asp?params=APPID" + kSep + "0" + kSep + "JOBID" + kSep + "0" + kSep + "NUMERR" + kSep;
  EXPECT_TRUE(hasLine(lines, "GetURL 0 url=" + report + "1" + kSep + " target=ef"));
  EXPECT_TRUE(hasLine(lines, "GetURL 1 url=" + report + "1" + kSep + " target=ef"));
  EXPECT_TRUE(hasLine(lines, "GetURL 2 url=" + report + "3" + kSep + " target=ef"));
  EXPECT_FALSE(fileExists(scratchDir + "\\evil.dll"));
  EXPECT_FALSE(fileExists(scratchDir + "\\evil.dll_Temp"));
  EXPECT_FALSE(fileExists(keboDir + "\\broken.dll_Temp"));
  EXPECT_EQ(registryText("Software\\KEBO\\Evil", "Path"), "(missing)");
}

TEST_F(KeboTest, TheVersionCheckRefusesOldOrUnversionedComponents) {
  installInprocComponent("Chat", 2);
  std::string bare = installInprocComponent("Bare", 1);
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "Software\\KEBO\\Bare", "Version");
  installInprocComponent("Garbled", 1);
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\KEBO\\Garbled", "CLSID", REG_SZ, "not a clsid", 12);
  auto lines = runHost({parameters({{"launchapp", "Chat"}, {"version", "3"}}),
                        parameters({{"launchapp", "Bare"}, {"version", "1"}}),
                        parameters({{"launchapp", "Garbled"}}),
                        parameters({{"launchapp", "Nobody"}}),
                        parameters({{"launchapp", "Chat"}, {"version", "2"}})},
                       "", 800);
  EXPECT_TRUE(hasLine(lines, componentBox("Chat")));
  EXPECT_TRUE(hasLine(lines, componentBox("Bare")));
  EXPECT_TRUE(hasLine(lines, componentBox("Garbled")));
  EXPECT_TRUE(hasLine(lines, componentBox("Nobody")));
  EXPECT_EQ(linesStartingWith(lines, "MessageBox").size(), 4u) << "version 2 of Chat is enough";
  EXPECT_TRUE(linesStartingWith(lines, "GetURL").empty()) << "no urldata, nothing fetched";
}

}  // namespace
