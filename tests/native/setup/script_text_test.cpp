#include "script_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace setup {
namespace {

std::vector<std::string> allLines(const std::string& bytes) {
  ScriptText text(bytes);
  std::vector<std::string> lines;
  std::string line;
  while (text.readLine(line)) lines.push_back(line);
  return lines;
}

TEST(ScriptTextTest, ReadsLinesAsTextThroughTheLineBuffer) {
  EXPECT_EQ(allLines("a\r\nb\rc\nlast"), (std::vector<std::string>{"a\n", "b\rc\n", "last"}));
  EXPECT_TRUE(allLines("").empty());

  std::string longLine(1500, 'x');
  std::vector<std::string> pieces = allLines(longLine + "\nnext\n");
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0], std::string(1023, 'x'));
  EXPECT_EQ(pieces[1], std::string(477, 'x') + "\n");
  EXPECT_EQ(pieces[2], "next\n");
}

TEST(ScriptTextTest, PositionsCanBeSavedAndRestored) {
  ScriptText text("one\ntwo\nthree\n");
  std::string line;
  text.readLine(line);
  size_t saved = text.position();
  text.readLine(line);
  text.readLine(line);
  EXPECT_TRUE(text.atEnd());
  text.seek(saved);
  text.readLine(line);
  EXPECT_EQ(line, "two\n");
}

TEST(ScriptTextTest, BlanksAreEveryByteUpTo32AndTheUpperHalf) {
  EXPECT_TRUE(isBlank(' '));
  EXPECT_TRUE(isBlank('\t'));
  EXPECT_TRUE(isBlank('\x01'));
  EXPECT_TRUE(isBlank('\xe9'));
  EXPECT_FALSE(isBlank('!'));
  EXPECT_EQ(firstWord("  caf\xe9 x"), "caf");
}

TEST(ScriptTextTest, ClassifiesLinesAndNamesSections) {
  EXPECT_EQ(classifyLine(" \t\n"), LineKind::Empty);
  EXPECT_EQ(classifyLine("  ; remark\n"), LineKind::Comment);
  EXPECT_EQ(classifyLine("  [Setup]\n"), LineKind::Header);
  EXPECT_EQ(classifyLine("MkDir a\n"), LineKind::Command);

  EXPECT_EQ(headerName("[Setup] ignored\n"), "Setup");
  EXPECT_EQ(headerName("[ Setup ]\n"), " Setup ");
  EXPECT_EQ(headerName("  [Indented]\n"), "Indented");
  EXPECT_EQ(headerName("[Open\n"), "Open\n");
}

TEST(ScriptTextTest, ParsesKeywordAndTwoArguments) {
  CommandLine line = parseCommandLine("  Copy  \"My file.txt\" DEST third remark\n");
  EXPECT_EQ(line.keyword, "Copy");
  EXPECT_EQ(line.lineUpToKeyword, "  Copy");
  EXPECT_EQ(line.first.text, "My file.txt");
  EXPECT_FALSE(line.first.isWord);
  EXPECT_EQ(line.second.text, "DEST");
  EXPECT_TRUE(line.second.isWord);

  CommandLine bare = parseCommandLine("Endif");
  EXPECT_EQ(bare.keyword, "Endif");
  EXPECT_TRUE(bare.first.isWord);
  EXPECT_EQ(bare.first.text, "");

  // A quote right behind the keyword belongs to it.
  EXPECT_EQ(parseCommandLine("set\"x\" y\n").keyword, "set\"x\"");

  CommandLine empty = parseCommandLine("set X \"\"\n");
  EXPECT_FALSE(empty.second.isWord);
  EXPECT_EQ(empty.second.text, "");
}

TEST(ScriptTextTest, AnUnclosedLiteralEndsWithItsLine) {
  CommandLine line = parseCommandLine("MsgBoxOK \"no end\n");
  EXPECT_EQ(line.first.text, "no end");
  EXPECT_EQ(line.second.text, "");
  // The closing quote is consumed: what follows it is the next argument.
  CommandLine glued = parseCommandLine("set \"a\"b\n");
  EXPECT_EQ(glued.first.text, "a");
  EXPECT_EQ(glued.second.text, "b");
}

}  // namespace
}  // namespace setup
