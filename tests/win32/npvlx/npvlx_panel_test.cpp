// What the panel shows: text lines in the page's colours and the progress
// blocks, from a picture of the plug-in's area.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "npvlx_fixture.h"

namespace {

using namespace npvlx_test;

const std::string kSep = "\xA3\xA3";

TEST_F(KeboTest, PanelShowsItsTextLinesAndProgressBlocks) {
  installInprocComponent("Chat", 1);
  std::string script = "CMD" + kSep + "CALL SETMSG|NUMMSG=0|TEXTMSG=Bonjour \xE0 tous" + kSep +
                       "CMD" + kSep + "CALL SETMSG|NUMMSG=2|TEXTMSG=Ligne deux" + kSep +
                       "CMD" + kSep + "CALL SETMSG|NUMMSG=50|TEXTMSG=never shown" + kSep +
                       "CMD" + kSep + "CALL SETMSG|NUMMSG=-1|TEXTMSG=never shown" + kSep +
                       "CMD" + kSep + "CALL STOPPB" + kSep +
                       "CMD" + kSep + "CALL STARTPB|PBTMOUT=40";
  // Blue text on yellow: COLORREF values are 0x00BBGGRR.
  Pairs page = {{"width", "300"}, {"height", "120"}, {"bgcolor", std::to_string(0x0000FFFF)},
                {"textcolor", std::to_string(0x00FF0000)}, {"launchapp", "Chat"}, {"paramsapp", script}};
  std::string prefix = scratchDir + "\\panel";
  auto lines = runHost({parameters(page)}, "--snapshot \"" + prefix + "\"", 1000);
  ASSERT_TRUE(hasLine(lines, "Snapshot 0 saved"));
  Picture picture;
  ASSERT_TRUE(readPicture(prefix + "-0.bmp", picture));
  ASSERT_EQ(picture.width, 300);
  ASSERT_EQ(picture.height, 120);

  const COLORREF yellow = RGB(255, 255, 0), blue = RGB(0, 0, 255);
  HDC screen = GetDC(nullptr);
  TEXTMETRICA metrics{};
  GetTextMetricsA(screen, &metrics);
  ReleaseDC(nullptr, screen);
  int h = metrics.tmHeight;
  EXPECT_GT(picture.count(blue, 0, h), 20) << "line 0 drawn";
  EXPECT_EQ(picture.count(blue, h, 2 * h), 0) << "line 1 empty";
  EXPECT_GT(picture.count(blue, 2 * h, 3 * h), 20) << "line 2 drawn";
  EXPECT_EQ(picture.count(blue, 3 * h, 120), 0) << "nothing else";

  // Progress blocks: 8 pixels lit, 2 apart, along the bottom; the unmatched
  // STOPPB did not keep the timer from starting.
  COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_EQ(picture.at(4, 114), highlight);
  EXPECT_EQ(picture.at(8, 114), yellow);
  EXPECT_EQ(picture.at(14, 114), highlight);
  EXPECT_EQ(picture.at(4, 108), yellow) << "blocks start 11 rows above the bottom";
  EXPECT_EQ(picture.at(4, 109), highlight);
  EXPECT_EQ(picture.at(150, 50), yellow);
}

}  // namespace

namespace {

TEST_F(KeboTest, ANewWindowTakesOverThePanelAndItsTimers) {
  installInprocComponent("Chat", 1);
  serve("dialog.htm", "<html/>");
  Pairs page = {{"width", "200"}, {"height", "60"}, {"bgcolor", "0"}, {"textcolor", std::to_string(0x00FFFFFF)},
                {"dialogpage", "dialog.htm"}, {"cyclic", "150"}, {"launchapp", "Chat"},
                {"paramsapp", "CMD" + kSep + "CALL SETMSG|NUMMSG=0|TEXTMSG=still here"}};
  std::string prefix = scratchDir + "\\moved";
  auto lines = runHost({parameters(page)}, "--rewindow --snapshot \"" + prefix + "\"", 1800);
  EXPECT_TRUE(hasLine(lines, "SetWindow 0 again -> 0"));
  EXPECT_TRUE(hasLine(lines, "SetWindow 0 new -> 0"));
  EXPECT_TRUE(hasLine(lines, "OldWindow 0 restored"));

  // Polls before and after the move, at one rate: the old window's timer
  // was stopped.
  auto moved = std::find(lines.begin(), lines.end(), "SetWindow 0 new -> 0");
  std::vector<std::string> before(lines.begin(), moved), after(moved, lines.end());
  auto polls = [](const std::vector<std::string>& part) {
    return linesStartingWith(part, "GetURL 0 url=dialog.htm").size();
  };
  EXPECT_GE(polls(before), 2u);
  EXPECT_GE(polls(after), 2u);
  EXPECT_LE(polls(after), 9u);

  Picture picture;
  ASSERT_TRUE(readPicture(prefix + "-0.bmp", picture));
  EXPECT_GT(picture.count(RGB(255, 255, 255), 0, 20), 20) << "the text is drawn in the new window";
}

}  // namespace
