// Request URLs, error reports, the component report, launch parameter text
// and the names the server may write into the Kebo directory.
#include "server_requests.h"

#include <gtest/gtest.h>

#include <string>

#include "kebo_paths.h"
#include "launch_params.h"

namespace {

using kebo::PairList;

TEST(SendRequest, GoesToTurlOrTheDialogPageWithTheOtherPairsAsParams) {
  PairList pairs;
  pairs.set("A", "1");
  pairs.set("TURL", "http://s/t.asp");
  pairs.set("BFRM", "main");
  pairs.set("B", "x y");
  auto r = kebo::sendRequest(pairs, "http://s/dialog.asp");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->url, "http://s/t.asp?params=A\xA3\xA3" "1\xA3\xA3" "B\xA3\xA3x y\xA3\xA3");
  EXPECT_EQ(r->target, "main");

  PairList bare;
  bare.set("TURL", "t");
  r = kebo::sendRequest(bare, "d");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->url, "t") << "no pair left, no params";
  EXPECT_FALSE(r->target);

  EXPECT_EQ(kebo::sendRequest(PairList{}, "d")->url, "d");
  EXPECT_FALSE(kebo::sendRequest(PairList{}, ""));
}

TEST(SendRequest, ErrorReportsCarryTheirNumberAndTheErrorPage) {
  auto r = kebo::sendRequest(kebo::errorReportPairs(40, "err.asp", "ef"), "dialog");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->url, "err.asp?params=APPID\xA3\xA3" "0\xA3\xA3JOBID\xA3\xA3" "0\xA3\xA3NUMERR\xA3\xA3" "40\xA3\xA3");
  EXPECT_EQ(r->target, "ef");
  r = kebo::sendRequest(kebo::errorReportPairs(2, "", ""), "dialog");
  EXPECT_EQ(r->url.substr(0, 14), "dialog?params=");
  EXPECT_FALSE(r->target);
}

TEST(ComponentReport, ListsEachComponentAndStaysWithinItsLimit) {
  std::vector<kebo::InstalledComponent> list = {
      {"Chat", true, "{1}", true, "3"},
      {"Old", true, std::nullopt, false, std::nullopt},
      {"Locked", false, std::nullopt, false, std::nullopt},
  };
  EXPECT_EQ(kebo::componentReport("r.asp", list),
            "r.asp?value=Chat;{1};1;3&value=Old;none;0;none&value=Locked;none;0;0");
  EXPECT_EQ(kebo::componentReport("r.asp", std::nullopt), "r.asp");
  EXPECT_EQ(kebo::componentReport("r.asp", std::vector<kebo::InstalledComponent>{}), "r.asp?");

  std::vector<kebo::InstalledComponent> many(500, {"Component", true, "{0000}", true, "1"});
  std::string report = kebo::componentReport("r.asp", many);
  EXPECT_LE(report.size(), kebo::kReportLimit);
  EXPECT_EQ(report.substr(report.size() - 1), "1") << "whole entries only";
  EXPECT_LE(kebo::componentReport(std::string(5000, 'u'), many).size(), kebo::kReportLimit);
}

TEST(LaunchText, JoinsTheNumberedParametersUnescapedAndBounded) {
  EXPECT_EQ(kebo::unescapeParam("say #hi#, \\#not\\\\ \\"), "say \"hi\", #not\\ ");
  PairList page;
  page.set("paramsapp2", "C");
  page.set("paramsapp", "A");
  page.set("paramsapp1", "B");
  page.set("paramsapp50", "never");
  EXPECT_EQ(kebo::gatherLaunchText(page), "ABC");

  PairList big;
  for (int n = 1; n < 50; ++n) big.set("paramsapp" + std::to_string(n), std::string(1000, 'a' + n % 26));
  std::string text = kebo::gatherLaunchText(big);
  EXPECT_EQ(text.size(), 13000u);
  EXPECT_EQ(text.back(), 'a' + 13 % 26);
}

TEST(KeboPaths, OnlyNamesInsideTheKeboDirectoryAreAccepted) {
  EXPECT_EQ(kebo::pathInsideKeboDirectory("comp.dll"), "comp.dll");
  EXPECT_EQ(kebo::pathInsideKeboDirectory("Chat/sub\\\\chat.exe"), "Chat\\sub\\chat.exe");
  for (const char* bad : {"", "..\\x.dll", "a\\..\\..\\x", "C:\\x.dll", "\\x.dll", "/x", "c:x", "a\\",
                          "CON", "nul.dll", "Chat\\Com7.exe", "lpt1 .txt", "aux.tar.gz"}) {
    EXPECT_FALSE(kebo::pathInsideKeboDirectory(bad)) << bad;
  }
  EXPECT_EQ(kebo::pathInsideKeboDirectory("COM0.dll"), "COM0.dll");
  EXPECT_EQ(kebo::pathInsideKeboDirectory("console.dll"), "console.dll");
  EXPECT_FALSE(kebo::downloadFileName("http://s/files/PRN.bin"));
  EXPECT_EQ(kebo::downloadFileName("http://s/files/data.bin"), "data.bin");
  EXPECT_FALSE(kebo::downloadFileName("http://s/files/"));
  EXPECT_FALSE(kebo::downloadFileName("http://s/..\\..\\x.dll"));
  EXPECT_FALSE(kebo::downloadFileName("http://s/get?f=C:x"));
  EXPECT_FALSE(kebo::downloadFileName("http://s/.."));
  EXPECT_EQ(kebo::joinKeboPath("C:\\Kebo", "a"), "C:\\Kebo\\a");
  EXPECT_EQ(kebo::joinKeboPath("C:\\Kebo\\", "a"), "C:\\Kebo\\a");
}

}  // namespace
