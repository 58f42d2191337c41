// Polling the dialog page and acting on the server's answers.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/win32/handles.h"
#include "http_server.h"
#include "npvlx_fixture.h"

namespace {

using namespace npvlx_test;

const std::string kParamSep = "\xA3\xA3";

TEST_F(KeboTest, CyclicZeroFetchesTheDialogPageOnceAndAPositiveValuePolls) {
  serve("dialog.htm", "<html>no actions here</html>");
  HttpServer server(servedDir);
  std::string once = parameters({{"dialogpage", "dialog.htm"}, {"cyclic", "0"}, {"width", "100"}, {"height", "40"}});
  std::string polled = parameters(
      {{"dialogpage", server.baseUrl() + "dialog.htm"}, {"cyclic", "150"}, {"width", "100"}, {"height", "40"}});
  std::string silent = parameters({{"dialogpage", "dialog.htm"}, {"width", "100"}, {"height", "40"}});
  std::string longPage = parameters({{"dialogpage", std::string(400, 'p')}, {"cyclic", "0"}});
  auto lines = runHost({once, polled, silent, longPage}, "", 1200);
  EXPECT_TRUE(hasLine(lines, "GetURL 3 url=" + std::string(255, 'p') + " target=(null)")) << "a field of 256 bytes";

  EXPECT_EQ(linesStartingWith(lines, "GetURL 0 url=dialog.htm target=(null)").size(), 1u);
  EXPECT_EQ(linesStartingWith(lines, "Serve 0 url=dialog.htm bytes=28").size(), 1u);
  EXPECT_GE(linesStartingWith(lines, "GetURL 1 url=" + server.baseUrl() + "dialog.htm").size(), 4u);
  EXPECT_GE(server.requests().size(), 4u);
  EXPECT_EQ(server.requests().front(), "GET /dialog.htm HTTP/1.0");
  EXPECT_TRUE(linesStartingWith(lines, "GetURL 2").empty()) << "no cyclic, no request";
}

TEST_F(KeboTest, OnlyCompleteActionBlocksAreActedOn) {
  Pairs go = {{"url", "next.htm"}, {"frame", "main"}};
  std::string good = answer("<html/>", go, 1);
  serve("good.htm", good);
  serve("tail.htm", good.substr(0, good.size() - 1));                         // "$$actio"
  serve("upper.htm", good.substr(0, good.size() - 6) + "ACTION");            // any case
  serve("odd.htm", "<html/>$$eop$$cmd$$main$$frame$$next.htm$$url$$$$1$$action");
  serve("unknown.htm", answer("", go, 9));
  serve("nothing.htm", answer("", go, 0));
  std::vector<std::string> pages;
  for (const char* page : {"good.htm", "tail.htm", "upper.htm", "odd.htm", "unknown.htm", "nothing.htm"}) {
    pages.push_back(parameters({{"dialogpage", page}, {"cyclic", "-1"}, {"width", "50"}, {"height", "20"}}));
  }
  auto lines = runHost(pages, "--chunk 7", 800);
  EXPECT_TRUE(hasLine(lines, "GetURL 0 url=next.htm target=main"));
  EXPECT_TRUE(hasLine(lines, "GetURL 2 url=next.htm target=main"));
  EXPECT_EQ(linesStartingWith(lines, "GetURL 1 url=next").size(), 0u);
  EXPECT_EQ(linesStartingWith(lines, "GetURL 3 url=next").size(), 0u);
  EXPECT_EQ(linesStartingWith(lines, "GetURL 4 url=next").size(), 0u);
  EXPECT_EQ(linesStartingWith(lines, "GetURL 5 url=next").size(), 0u);
}

TEST_F(KeboTest, ActionOneWithoutFrameBringsTheNextAnswerBackAndActionFourRepolls) {
  serve("first.htm", answer("", {{"url", "second.htm"}}, 1));
  serve("second.htm", answer("", {{"url", "third.htm"}, {"frame", ""}}, 1));
  serve("third.htm", answer("", {{"url", "shown.htm"}, {"frame", "top"}}, 1));
  serve("speedup.htm", answer("", {{"url", "poll.htm"}, {"frame", "f"}, {"timeout", "50"}}, 4));
  std::string chain = parameters({{"dialogpage", "first.htm"}, {"cyclic", "0"}, {"width", "50"}, {"height", "20"}});
  std::string once = parameters({{"dialogpage", "speedup.htm"}, {"cyclic", "0"}, {"width", "50"}, {"height", "20"}});
  // Polls every 400 ms until the first answer says every 50 ms.
  std::string polled = parameters({{"dialogpage", "speedup.htm"}, {"cyclic", "400"}, {"width", "50"}, {"height", "20"}});
  auto lines = runHost({chain, once, polled}, "", 1400);
  EXPECT_TRUE(hasLine(lines, "GetURL 0 url=second.htm target=(null)"));
  EXPECT_TRUE(hasLine(lines, "GetURL 0 url=third.htm target=(null)"));
  EXPECT_TRUE(hasLine(lines, "GetURL 0 url=shown.htm target=top"));
  // Without polling, action 4 only opens its page.
  EXPECT_TRUE(hasLine(lines, "GetURL 1 url=poll.htm target=f"));
  EXPECT_EQ(linesStartingWith(lines, "GetURL 1 url=speedup.htm").size(), 1u);
  EXPECT_GE(linesStartingWith(lines, "GetURL 2 url=speedup.htm").size(), 6u);
}

TEST_F(KeboTest, ActionThreeLaunchesWithTheAnswersPairs) {
  std::string module = installInprocComponent("Chat", 5);
  serve("start.htm", answer("", {{"launchapp", "Chat"}, {"version", "5"},
                                 {"paramsapp", "Room" + kParamSep + "#lobby#"},
                                 {"paramsapp1", kParamSep + "CMD" + kParamSep + "join\\\\now"}}, 3));
  runHost({parameters({{"dialogpage", onTrustedServer("start.htm")}, {"cyclic", "0"}})}, "", 500);
  auto log = componentLog(module);
  EXPECT_TRUE(hasLine(log, "SetParam Room=\"lobby\""));
  EXPECT_TRUE(hasLine(log, "Command join\\now"));
}

TEST_F(KeboTest, ActionFiveReportsTheInstalledComponents) {
  std::string present = keboDir + "\\present.dll";
  HANDLE file = CreateFileA(present.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(file);
  auto component = [](const std::string& name, const Pairs& values) {
    HKEY raw = nullptr;
    std::string key = "Software\\KEBO\\Components\\" + name;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr);
    win::UniqueRegKey owner(raw);
    for (const auto& [n, v] : values) {
      RegSetValueExA(raw, n.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()), v.size() + 1);
    }
  };
  component("Alpha", {{"CLSID", "{A}"}, {"Version", "3"}, {"Path", present}});
  component("Beta", {{"CLSID", "{B}"}, {"Version", "1"}, {"Path", keboDir + "\\gone.dll"}});
  component("Gamma", {});
  serve("ask.htm", answer("", {{"url", "report.asp"}, {"frame", "rep"}}, 5));
  auto lines = runHost({parameters({{"dialogpage", "ask.htm"}, {"cyclic", "0"}})}, "", 600);
  EXPECT_TRUE(hasLine(lines,
                      "GetURL 0 url=report.asp?value=Alpha;{A};1;3&value=Beta;{B};0;1&value=Gamma;none;0;none "
                      "target=rep"));
}

}  // namespace
