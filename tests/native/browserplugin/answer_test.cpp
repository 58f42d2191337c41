// Server answers: the "$$action" tail, the pairs down to eop, the payload.
#include "answer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using kebo::parseAnswer;
using namespace std::string_literals;

TEST(Answer, PairsAreReadBackwardsDownToEop) {
  auto answer = parseAnswer("<html>page</html>$$eop$$cmd$$_top$$frame$$http://s/x$$url$$1$$action");
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->action(), 1);
  EXPECT_EQ(answer->pairs.value("url"), "http://s/x");
  EXPECT_EQ(answer->pairs.value("frame"), "_top");
  EXPECT_EQ(answer->pairs.value("cmd"), "eop");
  EXPECT_EQ(answer->payload, "<html>page</html>");
  ASSERT_EQ(answer->pairs.pairs().size(), 4u);
  EXPECT_EQ(answer->pairs.pairs()[0].key, "action");
  EXPECT_EQ(answer->pairs.pairs()[3].key, "cmd");
}

TEST(Answer, TheTailMatchesInAnyLetterCase) {
  EXPECT_TRUE(parseAnswer("$$eop$$cmd$$0$$ACTION"));
  EXPECT_TRUE(parseAnswer("$$eop$$cmd$$0$$AcTiOn"));
  EXPECT_FALSE(parseAnswer("$$eop$$cmd$$0$$actio"));
  EXPECT_FALSE(parseAnswer("$$eop$$cmd$$0$$action "));
  EXPECT_FALSE(parseAnswer("$$eop$$cmd$$0$action"));
  EXPECT_FALSE(parseAnswer("action"));
  EXPECT_FALSE(parseAnswer(""));
}

TEST(Answer, AnOddNumberOfSeparatorsOrAMissingEopIsNotActedOn) {
  EXPECT_FALSE(parseAnswer("eop$$cmd$$1$$action"));
  EXPECT_FALSE(parseAnswer("$$eop$$cmd$$x$$1$$action"));
  EXPECT_FALSE(parseAnswer("$$cmd$$eop$$1$$action")) << "key and value swapped";
  EXPECT_FALSE(parseAnswer("$$a$$b$$1$$action"));
}

TEST(Answer, ValuesMayHoldTheOtherSeparatorAndSingleDollars) {
  auto answer = parseAnswer(
      "$$eop$$cmd$$url\xA3\xA3p.htm\xA3\xA3" "frame\xA3\xA3main$$thispage$$5$ US$$price$$3$$action");
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->pairs.value("thispage"), "url\xA3\xA3p.htm\xA3\xA3" "frame\xA3\xA3main");
  EXPECT_EQ(answer->pairs.value("price"), "5$ US");
  EXPECT_EQ(answer->action(), 3);
  // A value ending in "$" keeps it: separators are taken from the right.
  auto trailing = parseAnswer("$$eop$$cmd$$x$$$key$$0$$action");
  ASSERT_TRUE(trailing);
  EXPECT_EQ(trailing->pairs.value("key"), "x$");
}

TEST(Answer, ABinaryPayloadWithZerosAndSeparatorsIsKeptWhole) {
  std::string payload = "SZDD\0\x01$$\xFF$$$"s;
  std::string text = payload + "$$eop$$cmd$$c.dll$$physpath$$2$$action";
  auto answer = parseAnswer(text);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->payload, payload);
  EXPECT_EQ(answer->pairs.value("physpath"), "c.dll");
  EXPECT_EQ(answer->action(), 2);
}

TEST(Answer, EmptyValuesAndThePairNearestTheEndWin) {
  auto answer = parseAnswer("$$eop$$cmd$$first$$url$$$$frame$$second$$url$$1$$action");
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->pairs.value("url"), "second");
  EXPECT_TRUE(answer->pairs.has("frame"));
  EXPECT_EQ(answer->pairs.value("frame", "x"), "");
  EXPECT_EQ(answer->payload, "");
}

}  // namespace
