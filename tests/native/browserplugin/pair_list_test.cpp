// Pair lists: key matching, replacement, hidden pairs, both separators.
#include "pair_list.h"

#include <gtest/gtest.h>

namespace {

using kebo::PairList;

TEST(PairList, KeysMatchWithoutLetterCaseButOnlyAtEqualLength) {
  EXPECT_TRUE(kebo::sameKey("NumMsg", "NUMMSG"));
  EXPECT_FALSE(kebo::sameKey("NUMMSG", "NUMMSG1"));
  EXPECT_FALSE(kebo::sameKey("url", "ur"));
  // Only a-z fold: bytes around the letters stay apart.
  EXPECT_FALSE(kebo::sameKey("[", "{"));
  EXPECT_FALSE(kebo::sameKey("\xE9", "\xC9"));
}

TEST(PairList, SettingAnExistingKeyReplacesItsValueInPlace) {
  PairList list;
  list.set("url", "a");
  list.set("frame", "f");
  list.set("URL", "b");
  ASSERT_EQ(list.pairs().size(), 2u);
  EXPECT_EQ(list.pairs()[0].key, "url");
  EXPECT_EQ(list.value("url"), "b");
  EXPECT_EQ(list.value("missing", "fallback"), "fallback");
  list.append("url", "c");
  EXPECT_EQ(list.value("url"), "b") << "lookups find the first pair";
}

TEST(PairList, NumbersReadAsDecimalsWithFallback) {
  PairList list;
  list.set("a", " -42x");
  list.set("b", "junk");
  list.set("c", "99999999999999999999");
  EXPECT_EQ(list.number("a"), -42);
  EXPECT_EQ(list.number("b"), 0);
  EXPECT_EQ(list.number("none", 1000), 1000);
  EXPECT_GT(list.number("c"), 0) << "saturates, never wraps";
}

TEST(PairList, HiddenPairsAreLeftOutOfTheSerialisation) {
  PairList list;
  list.set("TURL", "page");
  list.set("A", "1");
  list.set("B", "");
  list.hide("turl");
  EXPECT_EQ(list.serialise(), "A\xA3\xA3" "1\xA3\xA3" "B\xA3\xA3\xA3\xA3");
  EXPECT_EQ(list.value("TURL"), "page") << "hidden pairs are still found";
}

TEST(PairList, ForwardParsingReadsWhatSerialisationWrites) {
  PairList list;
  list.parseForward("url\xA3\xA3http://s/p?a=1\xA3\xA3" "frame\xA3\xA3_top\xA3\xA3");
  ASSERT_EQ(list.pairs().size(), 2u);
  EXPECT_EQ(list.value("url"), "http://s/p?a=1");
  EXPECT_EQ(list.value("frame"), "_top");
  EXPECT_EQ(list.serialise(), "url\xA3\xA3http://s/p?a=1\xA3\xA3" "frame\xA3\xA3_top\xA3\xA3");

  PairList commands;
  commands.parseForward("CMD\xA3\xA3START\xA3\xA3" "cmd\xA3\xA3STOP\xA3\xA3" "LAST");
  ASSERT_EQ(commands.pairs().size(), 3u) << "repeated keys are all kept, in order";
  EXPECT_EQ(commands.pairs()[1].value, "STOP");
  EXPECT_EQ(commands.value("cmd"), "START");
  EXPECT_TRUE(commands.has("LAST"));
  EXPECT_EQ(commands.value("LAST", "x"), "");

  PairList dollars(kebo::kAnswerSeparator);
  dollars.parseForward("a$$1$$b$$\xA3\xA3$$");
  EXPECT_EQ(dollars.value("a"), "1");
  EXPECT_EQ(dollars.value("b"), "\xA3\xA3") << "the other separator is plain text here";

  PairList empty;
  empty.parseForward("");
  EXPECT_TRUE(empty.empty());
}

}  // namespace
