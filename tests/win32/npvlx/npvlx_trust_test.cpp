// What a server may make the plug-in do: install and launch only for pages
// of a trusted server, payloads that match their digest, answers of bounded
// size, file names that are no device.
#include <windows.h>

#include <gtest/gtest.h>

#include "npvlx_fixture.h"

namespace {

using namespace npvlx_test;

const std::string kSep = "\xA3\xA3";
const std::string kInprocClsid = "{BBF0F053-EC52-468E-A223-E425EF9F2AC1}";

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string reportLine(int instance, int number) {
  return "GetURL " + std::to_string(instance) + " url=err.asp?params=APPID" + kSep + "0" + kSep + "JOBID" + kSep +
         "0" + kSep + "NUMERR" + kSep + std::to_string(number) + kSep + " target=(null)";
}

Pairs installPairs(const std::string& physpath) {
  return {{"regpath", "Chat"}, {"physpath", physpath}, {"clsid", kInprocClsid}, {"version", "1"}};
}

TEST_F(KeboTest, OnlyPagesOfATrustedServerInstallOrLaunch) {
  std::string module = installInprocComponent("Launched", 1);
  serve("install.asp", answer(payloadBytes(kInprocDllCompressed), installPairs("chat.dll"), 2));
  serve("launch.asp", answer("", {{"launchapp", "Launched"}}, 3));
  auto page = [&](const std::string& dialog) {
    return parameters({{"dialogpage", dialog}, {"cyclic", "0"}, {"errurl", "err.asp"}});
  };
  // Trusted is the dialog page's server, and the server the answer came from.
  std::string foreignPackage = parameters({{"dialogpage", onTrustedServer("none.asp")}, {"errurl", "err.asp"},
                                           {"launchapp", "Missing"}, {"urldata", "http://evil.test/install.asp"}});
  auto lines = runHost({page("http://evil.test/install.asp"), page("install.asp"), page("http://evil.test/launch.asp"),
                        page("http://kebo.test.evil.test/launch.asp"), foreignPackage},
                       "--chunk 65536", 1200);
  for (int instance = 0; instance < 5; ++instance) EXPECT_TRUE(hasLine(lines, reportLine(instance, 1))) << instance;
  EXPECT_FALSE(fileExists(keboDir + "\\chat.dll"));
  EXPECT_TRUE(linesStartingWith(componentLog(module), "Advise").empty());

  // The same answers from the trusted server are acted on.
  lines = runHost({page(onTrustedServer("install.asp")), page(onTrustedServer("launch.asp"))}, "--chunk 65536", 1200);
  EXPECT_TRUE(linesStartingWith(lines, "GetURL 0 url=err.asp").empty());
  EXPECT_TRUE(fileExists(keboDir + "\\chat.dll"));
  // The installed copy registered the class again: it is the one started.
  std::string installed = keboDir + "\\chat.dll";
  EXPECT_EQ(linesStartingWith(componentLog(module), "Advise").size() +
                linesStartingWith(componentLog(installed), "Advise").size(),
            1u);
}

TEST_F(KeboTest, APayloadMustHashToTheDigestItsAnswerGives) {
  // "abc" is no component: with its digest right it gets as far as the
  // registration (3), with a wrong one not even written (1).
  const std::string abc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
  Pairs right = installPairs("abc.dll"), wrong = installPairs("abc.dll");
  right.push_back({"sha256", abc});
  wrong.push_back({"sha256", "ca7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"});
  serve("right.asp", answer("abc", right, 2));
  serve("wrong.asp", answer("abc", wrong, 2));
  auto page = [&](const std::string& dialog) {
    return parameters({{"dialogpage", onTrustedServer(dialog)}, {"cyclic", "0"}, {"errurl", "err.asp"}});
  };
  auto lines = runHost({page("wrong.asp"), page("right.asp")}, "", 800);
  EXPECT_TRUE(hasLine(lines, reportLine(0, 1)));
  EXPECT_TRUE(hasLine(lines, reportLine(1, 3)));
}

TEST_F(KeboTest, AnAnswerPastTheCapIsAbandonedAndReported) {
  std::string huge(16 * 1024 * 1024, 'x');
  huge += "$$eop$$cmd$$next.htm$$url$$1$$action";
  serve("huge.asp", huge);
  serve("small.asp", "$$eop$$cmd$$next.htm$$url$$1$$action");
  auto page = [&](const std::string& dialog) {
    return parameters({{"dialogpage", dialog}, {"cyclic", "0"}, {"errurl", "err.asp"}});
  };
  auto lines = runHost({page("huge.asp"), page("small.asp")}, "--chunk 1048576", 3000);
  EXPECT_TRUE(hasLine(lines, reportLine(0, 1)));
  EXPECT_TRUE(linesStartingWith(lines, "GetURL 0 url=next.htm").empty());
  EXPECT_TRUE(hasLine(lines, "GetURL 1 url=next.htm target=(null)"));
}

TEST_F(KeboTest, DeviceNamesAreRefusedAndDoubledSeparatorsCollapsed) {
  CreateDirectoryA((keboDir + "\\sub").c_str(), nullptr);
  std::string package = payloadBytes(kInprocDllCompressed);
  serve("device.asp", answer(package, installPairs("Sub\\Con.dll"), 2));
  serve("doubled.asp", answer(package, installPairs("sub\\\\/chat.dll"), 2));
  auto page = [&](const std::string& dialog) {
    return parameters({{"dialogpage", onTrustedServer(dialog)}, {"cyclic", "0"}, {"errurl", "err.asp"}});
  };
  auto lines = runHost({page("device.asp"), page("doubled.asp")}, "--chunk 65536", 1200);
  EXPECT_TRUE(hasLine(lines, reportLine(0, 1)));
  EXPECT_TRUE(linesStartingWith(lines, "GetURL 1 url=err.asp").empty());
  EXPECT_TRUE(fileExists(keboDir + "\\sub\\chat.dll"));
}

}  // namespace
