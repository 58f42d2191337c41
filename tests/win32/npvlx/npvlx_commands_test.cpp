// The component commands through IAppCallback, driven by the component
// double's CALL commands; downloads; the father's panel; Destroy.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "npvlx_fixture.h"

namespace {

using namespace npvlx_test;

const std::string kSep = "\xA3\xA3";

// paramsapp text: each command a CMD pair.
std::string commands(const std::vector<std::string>& list) {
  std::string text;
  for (const auto& c : list) {
    if (!text.empty()) text.append(kSep);
    text.append("CMD").append(kSep).append(c);
  }
  return text;
}

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST_F(KeboTest, DownloadUsesTenSlotsAndTellsTheComponentHowEachEnded) {
  std::string module = installInprocComponent("Chat", 1);
  std::vector<std::string> list;
  for (int i = 1; i <= 11; ++i) list.push_back("CALL DOWNLOAD|URL=http://s/files/f" + std::to_string(i) + ".bin");
  for (int i = 1; i <= 9; ++i) {
    std::string n = std::to_string(i);
    serve(std::string("f").append(n).append(".bin"), std::string("data ").append(n));
  }
  serve("f11.bin", "never asked for");
  auto lines = runHost({parameters({{"launchapp", "Chat"}, {"paramsapp", commands(list)}})}, "", 800);

  EXPECT_EQ(linesStartingWith(lines, "GetURL 0 url=http://s/files/f").size(), 10u);
  EXPECT_FALSE(hasLine(lines, "GetURL 0 url=http://s/files/f11.bin target=(null)"));
  auto log = componentLog(module);
  EXPECT_EQ(linesStartingWith(log, "Command DLDONE").size(), 9u);
  EXPECT_EQ(linesStartingWith(log, "Command DLERR").size(), 1u) << "f10.bin is not served";
  EXPECT_TRUE(hasLine(log, "SetParam DLPATH=" + keboDir + "\\f3.bin"));
  EXPECT_TRUE(hasLine(log, "SetParam DLURL=http://s/files/f3.bin"));
  std::ifstream saved(keboDir + "\\f3.bin", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), std::istreambuf_iterator<char>()), "data 3");
  EXPECT_FALSE(fileExists(keboDir + "\\f11.bin"));
}

TEST_F(KeboTest, ADownloadNameThatLeavesTheKeboDirectoryIsNotSaved) {
  std::string module = installInprocComponent("Chat", 1);
  serve("evil.bin", "x");
  auto lines = runHost({parameters({{"launchapp", "Chat"},
                                    {"paramsapp", commands({"CALL DOWNLOAD|URL=http://s/..\\..\\evil.bin",
                                                            "CALL DOWNLOAD|URL="})}})},
                       "", 600);
  EXPECT_EQ(linesStartingWith(lines, "GetURL 0").size(), 1u) << "an empty URL takes no slot";
  auto log = componentLog(module);
  EXPECT_EQ(linesStartingWith(log, "Command DLERR").size(), 1u);
  EXPECT_FALSE(fileExists(scratchDir + "\\evil.bin"));
  EXPECT_FALSE(fileExists(keboDir + "\\..\\..\\evil.bin"));
}

TEST_F(KeboTest, SendAndSendbReachTheServerAndTheFrames) {
  installInprocComponent("Chat", 1);
  Pairs page = {{"launchapp", "Chat"}, {"dialogpage", "dialog.asp"}, {"errurl", "err.asp"}, {"errfrm", "ef"},
                {"paramsapp", commands({"CALL SEND|TURL=t.asp|BFRM=b|A=1|B=two words",
                                        "CALL SEND|X=y",
                                        "CALL SENDB|FRMNAME=out|FRMDATA=<b>hi</b>",
                                        "CALL SENDB|FRMDATA=x"})}};
  auto lines = runHost({parameters(page)}, "", 500);
  EXPECT_TRUE(hasLine(lines, "GetURL 0 url=t.asp?params=A" + kSep + "1" + kSep + "B" + kSep + "two words" + kSep +
                                 " target=b"));
  EXPECT_TRUE(hasLine(lines, "GetURL 0 url=dialog.asp?params=X" + kSep + "y" + kSep + " target=(null)"));
  EXPECT_TRUE(hasLine(lines, "NewStream 0 type=text/html target=out"));
  EXPECT_TRUE(hasLine(lines, "Write 0 len=10 data=<b>hi</b>\\x00"));
  EXPECT_TRUE(hasLine(lines, "NewStream 0 type=text/html target=_blank"));
  EXPECT_EQ(linesStartingWith(lines, "DestroyStream 0 reason=0").size(), 2u);

  // A browser without streams: SENDB is reported as error 40.
  lines = runHost({parameters(page)}, "--minor 7", 500);
  EXPECT_TRUE(linesStartingWith(lines, "NewStream").empty());
  EXPECT_EQ(linesStartingWith(lines, "GetURL 0 url=err.asp?params=APPID" + kSep + "0" + kSep + "JOBID" + kSep + "0" +
                                         kSep + "NUMERR" + kSep + "40" + kSep + " target=ef")
                .size(),
            2u);
}

TEST_F(KeboTest, ExecaRunsItsAnswerAndSendWithoutAPageSendsNothing) {
  installInprocComponent("Chat", 1);
  std::string inner = "$$eop$$cmd$$f$$frame$$from-execa.htm$$url$$1$$action";
  auto lines = runHost({parameters({{"launchapp", "Chat"},
                                    {"paramsapp", commands({"CALL EXECA|ADATA=" + inner, "CALL SEND|A=1"})}})},
                       "", 400);
  EXPECT_TRUE(hasLine(lines, "GetURL 0 url=from-execa.htm target=f"));
  EXPECT_EQ(linesStartingWith(lines, "GetURL").size(), 1u);
}

TEST_F(KeboTest, AChildComponentReportsToTheFathersPanel) {
  std::string module = installInprocComponent("Chat", 1);
  Pairs panel = {{"width", "200"}, {"height", "30"}, {"bgcolor", "0"}, {"textcolor", std::to_string(0x00FFFFFF)}};
  auto page = [&](Pairs more) {
    more.insert(more.end(), panel.begin(), panel.end());
    return parameters(more);
  };
  std::string father = page({{"vlxfather", "1"}, {"dialogpage", "father.asp"}});
  std::string child = page({{"dialogpage", "child.asp"}, {"launchapp", "Chat"}, {"ischild", "yes"},
                            {"paramsapp", commands({"CALL SEND|Who=child", "CALL SETMSG|TEXTMSG=from the child"})}});
  std::string alone = page({{"dialogpage", "alone.asp"}, {"launchapp", "Chat"},
                            {"paramsapp", commands({"CALL SEND|Who=alone"})}});
  std::string prefix = scratchDir + "\\family";
  auto lines = runHost({father, child, alone}, "--snapshot \"" + prefix + "\"", 600);
  EXPECT_TRUE(hasLine(lines, "GetURL 0 url=father.asp?params=Who" + kSep + "child" + kSep + " target=(null)"));
  EXPECT_TRUE(hasLine(lines, "GetURL 2 url=alone.asp?params=Who" + kSep + "alone" + kSep + " target=(null)"));
  EXPECT_TRUE(linesStartingWith(lines, "GetURL 1").empty());

  Picture fathers, childs;
  ASSERT_TRUE(readPicture(prefix + "-0.bmp", fathers));
  ASSERT_TRUE(readPicture(prefix + "-1.bmp", childs));
  EXPECT_GT(fathers.count(RGB(255, 255, 255), 0, 30), 20) << "the child's message is on the father's panel";
  EXPECT_EQ(childs.count(RGB(255, 255, 255), 0, 30), 0);
}

TEST_F(KeboTest, DestroyEndsTheComponentsAndRemovedOnesAreGone) {
  std::string module = installInprocComponent("Chat", 1);
  auto lines = runHost({parameters({{"launchapp", "Chat"}, {"removewithvlx", "yes"}}),
                        parameters({{"launchapp", "Chat"}}),
                        parameters({{"launchapp", "Chat"}, {"removewithvlx", "yes"},
                                    {"paramsapp", commands({"REMOVE", "REMOVE", "CALL SETMSG|TEXTMSG=late"})}})},
                       "", 300);
  auto log = componentLog(module);
  EXPECT_EQ(linesStartingWith(log, "Created").size(), 3u);
  EXPECT_EQ(linesStartingWith(log, "Advise").size(), 3u);
  EXPECT_EQ(linesStartingWith(log, "Unadvise 7").size(), 2u);
  EXPECT_EQ(linesStartingWith(log, "Terminate").size(), 1u);
  EXPECT_TRUE(hasLine(log, "RemoveApp -> 0x00000000"));
  EXPECT_TRUE(hasLine(log, "RemoveApp -> 0x00000001")) << "a second removal is refused";
  // A removed component no longer commands the panel.
  EXPECT_TRUE(hasLine(log, "ExecuteCmd SETMSG -> 0x00000001"));
  EXPECT_EQ(linesStartingWith(log, "Released").size(), 3u);
}

TEST_F(KeboTest, AnInstanceDestroyedBehindItsMessageBoxIsNotTouchedAfterwards) {
  serve("start.htm", answer("", {{"launchapp", "Missing"}, {"urldata", onTrustedServer("package.asp")}}, 3));
  auto lines = runHost({parameters({{"dialogpage", onTrustedServer("start.htm")}, {"cyclic", "0"}})},
                       "--destroy-during-box", 800);
  EXPECT_TRUE(hasLine(lines, "Destroy 0 during box -> 0"));
  for (const auto& line : lines) EXPECT_EQ(line.find("package.asp"), std::string::npos) << line;
}

}  // namespace
