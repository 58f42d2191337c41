// The section runner, the flow commands and the variables.
#include <gtest/gtest.h>

#include "commands.h"
#include "script_run.h"

namespace setup::testing {
namespace {

TEST(SectionRunTest, FindsSectionsAndKeywordsInAnyLetterCase) {
  ScriptRun run;
  run.run("[sETUP]\nSET A \"1\"\n[Other]\nset B \"2\"\n");
  EXPECT_EQ(run.var("a"), "1");
  EXPECT_EQ(run.var("B"), "<unset>");
  EXPECT_TRUE(run.host.boxes.empty());
  // One progress window for the run, closed at its end.
  EXPECT_EQ(run.host.windowsOpened, 1);
  EXPECT_EQ(run.host.windowsOpen, 0);
  EXPECT_EQ(run.host.statusTexts.front(), "progress1/1001: Setup...");
}

TEST(SectionRunTest, AMissingSectionEndsTheRunWithItsMessage) {
  ScriptRun run;
  run.run("[ Setup ]\nset A \"1\"\n");
  ASSERT_EQ(run.host.boxes.size(), 1u);
  EXPECT_EQ(run.host.boxes[0].text, "INI file incomplete. Aborting.");
  EXPECT_EQ(run.host.boxes[0].title, "ERROR");
  EXPECT_EQ(run.host.nameOf(run.host.boxes[0].owner), "progress1");
  EXPECT_EQ(run.host.quitCodes, std::vector<int>{-1});
  EXPECT_EQ(run.var("A"), "<unset>");
}

TEST(SectionRunTest, OnlyALineStartingWithABracketEndsASection) {
  ScriptRun run;
  run.run("[Setup]\nset A \"1\"\n  [Inner]\nset B \"2\"\n[Next]\nset C \"3\"\n");
  EXPECT_EQ(run.var("A"), "1");
  EXPECT_EQ(run.var("B"), "2");
  EXPECT_EQ(run.var("C"), "<unset>");
  // The indented header is read as a line of the section above it.
  ASSERT_EQ(run.host.boxes.size(), 1u);
  EXPECT_EQ(run.host.boxes[0].text, "Syntax Error:   [Inner].");

  ScriptRun inner;
  inner.run("[Setup]\n  [Inner]\nset B \"2\"\n", "Inner");
  EXPECT_EQ(inner.var("B"), "2");
}

TEST(SectionRunTest, RunsEveryLineOnceWithMessagePassesAfterEach) {
  ScriptRun run;
  run.run("[Setup]\n; remark\n\nStrcat L \"x\"\nStrcat L \"y\"");
  EXPECT_EQ(run.var("L"), "xy");
  EXPECT_EQ(run.host.passes, 4 * 50);
}

TEST(SectionRunTest, AnUnknownKeywordIsReportedAndPassedOver) {
  ScriptRun run;
  run.run("[Setup]\n  Frobnicate \"a\" b\nset A \"1\"\n");
  ASSERT_EQ(run.host.boxes.size(), 1u);
  EXPECT_EQ(run.host.boxes[0].title, "Error");
  EXPECT_EQ(run.host.boxes[0].text, "Syntax Error:   Frobnicate.");
  EXPECT_EQ(run.host.nameOf(run.host.boxes[0].owner), "background");
  EXPECT_EQ(run.var("A"), "1");
}

TEST(SectionRunTest, ALongLineRunsAsTwoLines) {
  ScriptRun run;
  // The first piece ends inside the literal; the rest is a line of its own.
  std::string value(1100, 'v');
  run.run("[Setup]\nset A \"" + value + "\"\n");
  EXPECT_EQ(run.var("A"), std::string(1023 - 7, 'v'));
  ASSERT_EQ(run.host.boxes.size(), 1u);
  EXPECT_EQ(run.host.boxes[0].text, "Syntax Error: " + std::string(1100 - 1016, 'v') + "\".");
}

TEST(ConditionalTest, IfSkipsToElseOrEndifAndLeavesItsMark) {
  ScriptRun run;
  run.run(
      "[Setup]\nStrcmp \"abc\" \"abc\"\nIf\nset A \"then\"\nElse\nset A \"else\"\nEndif\n"
      "set AfterElse \"\"\nGet X\n");
  EXPECT_EQ(run.var("A"), "else");
  EXPECT_EQ(run.in.condition(), 1);

  ScriptRun endif;
  endif.run("[Setup]\nStrcmp \"abc\" \"a\"\nIf\nset A \"then\"\nEndif\nset B \"after\"\n");
  EXPECT_EQ(endif.var("A"), "<unset>");
  EXPECT_EQ(endif.var("B"), "after");
  EXPECT_EQ(endif.in.condition(), 2);

  ScriptRun taken;
  taken.run("[Setup]\nStrcmp \"abc\" \"x\"\nIf\nset A \"then\"\nElse\nset A \"else\"\nEndif\n");
  EXPECT_EQ(taken.var("A"), "then");
  EXPECT_EQ(taken.in.condition(), 1);
}

TEST(ConditionalTest, MissingElseOrEndifAbortsTheSection) {
  ScriptRun run;
  run.run("[Caller]\ngoto \"Setup\"\nset After \"1\"\n[Setup]\nStrcmp \"a\" \"a\"\nIf\nset A \"1\"\n",
          "Caller");
  ASSERT_EQ(run.host.boxes.size(), 1u);
  EXPECT_EQ(run.host.boxes[0].text, "Syntax Error: missing else/endif. Aborting section");
  EXPECT_EQ(run.var("After"), "1");  // only the section with the If ends
  EXPECT_EQ(run.in.condition(), 0);

  ScriptRun elseRun;
  elseRun.run("[Setup]\nElse\nset A \"1\"\n");
  ASSERT_EQ(elseRun.host.boxes.size(), 1u);
  EXPECT_EQ(elseRun.host.boxes[0].text, "Syntax Error: missing endif. Aborting section");
}

TEST(ConditionalTest, SkippingCountsNoNestingAndCrossesHeaders) {
  ScriptRun run;
  run.run(
      "[Setup]\nStrcmp \"a\" \"a\"\nIf\n  If\n  set A \"inner\"\n  Else\nset B \"runs\"\nEndif\n");
  EXPECT_EQ(run.var("A"), "<unset>");
  EXPECT_EQ(run.var("B"), "runs");

  ScriptRun across;
  across.run("[Setup]\nStrcmp \"a\" \"a\"\nIf\n[Other]\nEndif\nset C \"3\"\n");
  EXPECT_EQ(across.var("C"), "3");
}

TEST(FlowTest, ReturnEndsOnlyItsSectionAndQuitEndsAll) {
  ScriptRun run;
  run.run(
      "[Setup]\ngoto \"Sub\"\nset AfterGoto \"1\"\nquit \"Bye\" \"Title\"\nset AfterQuit \"1\"\n"
      "[Sub]\nset InSub \"1\"\nReturn\nset AfterReturn \"1\"\n");
  EXPECT_EQ(run.var("InSub"), "1");
  EXPECT_EQ(run.var("AfterReturn"), "<unset>");
  EXPECT_EQ(run.var("AfterGoto"), "1");
  EXPECT_EQ(run.var("AfterQuit"), "<unset>");
  EXPECT_TRUE(run.in.aborted());
  EXPECT_EQ(run.in.condition(), 0);
  ASSERT_EQ(run.host.boxes.size(), 1u);
  EXPECT_EQ(run.host.boxes[0].text, "Bye");
  EXPECT_EQ(run.host.boxes[0].title, "Title");
}

TEST(FlowTest, GotoToAMissingSectionEndsOnlyThatRun) {
  ScriptRun run;
  run.run("[Setup]\ngoto \"Nowhere\"\nset After \"1\"\n");
  ASSERT_EQ(run.host.boxes.size(), 1u);
  EXPECT_EQ(run.host.boxes[0].text, "INI file incomplete. Aborting.");
  EXPECT_EQ(run.var("After"), "1");
  EXPECT_EQ(run.host.quitCodes, std::vector<int>{-1});
}

TEST(FlowTest, ASectionThatRunsItselfEndsCleanly) {
  ScriptRun run;
  run.run("[Setup]\ngoto \"Setup\"\ngoto \"Setup\"\nset After \"1\"\n");
  ASSERT_EQ(run.host.boxes.size(), 1u);
  EXPECT_EQ(run.host.boxes[0].text,
            "Sections nested too deeply (more than 64 runs) at section Setup. Aborting.");
  EXPECT_TRUE(run.in.aborted());
  EXPECT_EQ(run.var("After"), "<unset>");
  EXPECT_EQ(run.host.windowsOpen, 0);
  EXPECT_EQ(run.in.depth(), 0);
}

TEST(FlowTest, IncludeRunsASectionOfAnotherScript) {
  ScriptRun run;
  run.host.addFile("C:\\src\\more.ini", "[Part]\nset FromInclude \"1\"\n");
  run.run(
      "[Setup]\nInclude \"C:\\src\\more.ini\" \"Part\"\nset After \"1\"\n"
      "Include \"C:\\src\\none.ini\" \"Part\"\n");
  EXPECT_EQ(run.var("FromInclude"), "1");
  EXPECT_EQ(run.var("After"), "1");
  EXPECT_EQ(run.in.condition(), 0);  // the second file does not open
  EXPECT_EQ(run.in.script(), &run.script);
}

TEST(VariableTest, SetGetClearWithTheTablesRules) {
  ScriptRun run;
  run.run(
      "[Setup]\nset Name \"one\"\nset NAME \"two\"\nset Copy Name\nset Empty Unset\n"
      "set Gone \"x\"\nClr gone\n");
  EXPECT_EQ(run.var("name"), "two");
  EXPECT_EQ(run.var("Copy"), "two");
  EXPECT_EQ(run.var("Empty"), "");  // an unset value reads as empty text
  EXPECT_EQ(run.var("Gone"), "<unset>");
}

TEST(VariableTest, TwoHundredSlotsAndNoMore) {
  VariableTable table;
  for (int i = 0; i < 200; ++i) table.set("V" + std::to_string(i), "x");
  table.set("Extra", "y");
  EXPECT_FALSE(table.get("Extra").has_value());
  table.set("v7", "replaced");
  EXPECT_EQ(table.get("V7").value_or(""), "replaced");
  table.clear("V0");
  table.set("Extra", "y");
  EXPECT_EQ(table.get("extra").value_or(""), "y");
  EXPECT_EQ(table.count(), 200u);
}

TEST(VariableTest, SetupNameRepaintsTheTitleOnlyWhenSpelledExactly) {
  ScriptRun run;
  run.run("[Setup]\nset SETUPNAME \"Pkg\"\nset SetupName \"Pkg 2\"\n");
  EXPECT_EQ(run.host.invalidations, 1);
  EXPECT_EQ(run.var("SETUPNAME"), "Pkg 2");
}

TEST(VariableTest, StrcatAndTheComparisons) {
  ScriptRun run;
  run.run(
      "[Setup]\nStrcat P \"C:\\\\\"\nset P \"C:\"\nStrcat P \"\\dir\"\nStrcat Q Unset\n"
      "Stricmp \"ABCdef\" \"abc\"\nset I Unset\n");
  EXPECT_EQ(run.var("P"), "C:\\dir");
  EXPECT_EQ(run.var("Q"), "");
  EXPECT_EQ(run.in.condition(), 0);

  ScriptRun cmp;
  cmp.run("[Setup]\nStrcmp \"ABC\" \"abc\"\n");
  EXPECT_LT(cmp.in.condition(), 0);
  cmp.run("[Setup]\nStrcmp \"ab\" \"abc\"\n");
  EXPECT_LT(cmp.in.condition(), 0);
  cmp.run("[Setup]\nStrcmp \"\xff\" \"a\"\n");
  EXPECT_GT(cmp.in.condition(), 0);  // bytes compare unsigned
  cmp.run("[Setup]\nStrcmp Unset \"\"\n");
  EXPECT_EQ(cmp.in.condition(), 0);
}

TEST(VariableTest, GetSystemVarsReadsTheSystemAndTheRegistry) {
  ScriptRun run;
  run.host.current = "D:\\";
  run.host.registry["SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ProgramFilesDir"] =
      "C:\\Program Files";
  run.run("[Setup]\nGetSystemVars\n");
  EXPECT_EQ(run.var("SYSDIR"), "C:\\windows\\system32");
  EXPECT_EQ(run.var("WINDIR"), "C:\\windows");
  EXPECT_EQ(run.var("SRCDIR"), "D:");
  EXPECT_EQ(run.var("PROGRAMFILES"), "C:\\Program Files\\");
  EXPECT_EQ(run.var("DSTDIR"), "C:\\Program Files\\VOXA\\");

  ScriptRun preferred;
  preferred.host.registry["SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ProgramFilesPath"] = "E:\\P";
  preferred.host.registry["SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ProgramFilesDir"] = "C:\\X";
  preferred.run("[Setup]\nGetSystemVars\n");
  EXPECT_EQ(preferred.var("DSTDIR"), "E:\\P\\VOXA\\");
  EXPECT_EQ(preferred.var("SRCDIR"), "C:\\src");
}

TEST(CommandTableTest, HoldsEveryCommandOnce) {
  EXPECT_EQ(commandCount(), 55);
  for (int i = 0; i < commandCount(); ++i) {
    EXPECT_EQ(findCommand(commandEntry(i).keyword), i) << commandEntry(i).keyword;
  }
  EXPECT_EQ(findCommand("GOTO"), findCommand("goto"));
  EXPECT_EQ(findCommand("Go"), -1);
}

}  // namespace
}  // namespace setup::testing
