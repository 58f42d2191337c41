// The file and directory commands over the fake host: the paths they build,
// their status texts, their messages and the flags they leave.
#include <gtest/gtest.h>

#include "script_run.h"

namespace setup::testing {
namespace {

// SRCDIR C:\src, DSTDIR C:\dst\ (with the trailing backslash GetSystemVars
// gives), both existing.
struct FileRun : ScriptRun {
  FileRun() {
    host.addDirectory("C:\\src");
    host.addDirectory("C:\\dst");
    host.addFile("C:\\src\\a.txt", "A");
  }
  void runBody(const std::string& body) {
    run("[Setup]\nset SRCDIR \"C:\\src\"\nset DSTDIR \"C:\\dst\\\"\n" + body);
  }
};

TEST(CopyCommandsTest, BuildTheirPathsFromSourceAndDestination) {
  FileRun run;
  run.host.addDirectory("C:\\other");
  run.host.addFile("C:\\src\\c.txt", "C");
  // An empty second argument names no file: the copy keeps a's name.
  run.runBody("Copy \"c.txt\" \"\"\n"
              "Copy \"a.txt\"\nCopy \"a.txt\" \"b.txt\"\nCopyS \"a.txt\" \"C:\\other\"\n"
              "CopyD \"C:\\src\\a.txt\" \"d.txt\"\nCopyA \"C:\\src\\a.txt\" \"C:\\other\\e.txt\"\n");
  EXPECT_TRUE(run.host.boxes.empty());
  EXPECT_EQ(run.host.fileBytes("C:\\dst\\a.txt"), "A");
  EXPECT_EQ(run.host.fileBytes("C:\\dst\\b.txt"), "A");
  EXPECT_EQ(run.host.fileBytes("C:\\other\\a.txt"), "A");
  EXPECT_EQ(run.host.fileBytes("C:\\dst\\d.txt"), "A");
  EXPECT_EQ(run.host.fileBytes("C:\\other\\e.txt"), "A");
  EXPECT_EQ(run.host.fileBytes("C:\\dst\\c.txt"), "C");
  EXPECT_EQ(run.host.operations[2], "delete C:\\dst\\\\a.txt");
  EXPECT_EQ(run.host.operations[3], "copy C:\\src\\a.txt -> C:\\dst\\\\a.txt");
  EXPECT_EQ(run.host.statusTexts[2], "progress1/1001: Copying file\nC:\\dst\\\\a.txt");
}

TEST(CopyCommandsTest, ClearTheCopysAttributesSoASecondInstallSucceeds) {
  FileRun run;
  run.host.addFile("C:\\src\\ro.txt", "R", FakeHost::kReadOnly);
  run.runBody("Copy \"ro.txt\"\nCopy \"ro.txt\"\n");
  EXPECT_TRUE(run.host.boxes.empty());
  EXPECT_EQ(run.host.fileAttributes("C:\\dst\\ro.txt"), 0u);
}

TEST(CopyCommandsTest, AReadOnlyDestinationEndsTheInstallation) {
  FileRun run;
  run.host.addFile("C:\\dst\\a.txt", "old", FakeHost::kReadOnly);
  run.run(
      "[Setup]\nset SRCDIR \"C:\\src\"\nset DSTDIR \"C:\\dst\"\ngoto \"Files\"\nset After \"1\"\n"
      "[Files]\nCopy \"a.txt\"\nset InFiles \"1\"\n");
  ASSERT_EQ(run.host.boxes.size(), 1u);
  EXPECT_EQ(run.host.boxes[0].title, "Copy Error");
  EXPECT_EQ(run.host.boxes[0].text,
            "Could not copy the file C:\\src\\a.txt to C:\\dst\\a.txt. Aborting.");
  EXPECT_EQ(run.host.nameOf(run.host.boxes[0].owner), "background");
  EXPECT_EQ(run.host.fileBytes("C:\\dst\\a.txt"), "old");
  EXPECT_EQ(run.var("InFiles"), "<unset>");
  EXPECT_EQ(run.var("After"), "<unset>");
  EXPECT_TRUE(run.in.aborted());
}

TEST(CopyCommandsTest, APathBeyondMaxPathFailsInsteadOfBeingCut) {
  FileRun run;
  std::string name(300, 'n');
  run.runBody("Copy \"a.txt\" \"" + name + "\"\n");
  ASSERT_EQ(run.host.boxes.size(), 1u);
  EXPECT_EQ(run.host.boxes[0].text,
            "Could not copy the file C:\\src\\a.txt to C:\\dst\\\\" + name + ". Aborting.");
  for (const std::string& operation : run.host.operations) {
    EXPECT_EQ(operation.find("copy"), std::string::npos) << operation;
  }
}

TEST(CopyCommandsTest, DoNothingWithoutAPath) {
  FileRun run;
  run.run("[Setup]\nCopy \"a.txt\"\nCopyA Unset \"C:\\dst\\x\"\nMove \"a.txt\"\n");
  EXPECT_TRUE(run.host.boxes.empty());
  EXPECT_TRUE(run.host.operations.empty());
}

TEST(MoveCommandsTest, MoveAShowsItsSourceTheOthersTheirDestination) {
  FileRun run;
  run.host.addFile("C:\\src\\m1", "1");
  run.host.addFile("C:\\src\\m2", "2");
  run.host.addFile("C:\\src\\m3", "3");
  run.runBody("MoveA \"C:\\src\\m1\" \"C:\\dst\\n1\"\nMove \"m2\" \"n2\"\nMove \"m3\" \"\"\n");
  EXPECT_EQ(run.host.statusTexts[1], "progress1/1001: Moving file\nC:\\src\\m1");
  EXPECT_EQ(run.host.statusTexts[2], "progress1/1001: Moving file\nC:\\dst\\\\n2");
  EXPECT_FALSE(run.host.hasFile("C:\\src\\m1"));
  EXPECT_EQ(run.host.fileBytes("C:\\dst\\n1"), "1");
  EXPECT_EQ(run.host.fileBytes("C:\\dst\\n2"), "2");
  EXPECT_EQ(run.host.fileBytes("C:\\dst\\m3"), "3");

  FileRun failing;
  failing.runBody("MoveA \"C:\\src\\none\" \"C:\\dst\\n\"\nset After \"1\"\n");
  ASSERT_EQ(failing.host.boxes.size(), 1u);
  EXPECT_EQ(failing.host.boxes[0].title, "Move Error");
  EXPECT_EQ(failing.host.boxes[0].text,
            "Could not move the file C:\\src\\none to C:\\dst\\n. Aborting.");
  EXPECT_EQ(failing.var("After"), "<unset>");
}

TEST(DirectoryCommandsTest, MkDirDeleteAndExist) {
  FileRun run;
  run.host.addFile("C:\\dst\\x.dat", "x");
  run.host.addFile("C:\\dst\\y.dat", "y");
  run.runBody("MkDir \"C:\\dst\" \"sub\"\nMkDir \"C:\\dst\\sub2\"\nDelete \"C:\\dst\\x.dat\" \"\"\n"
              "Delete \"y.dat\" \"C:\\dst\"\nExist \"C:\\dst\\su*\"\n");
  EXPECT_TRUE(run.host.hasDirectory("C:\\dst\\sub"));
  EXPECT_TRUE(run.host.hasDirectory("C:\\dst\\sub2"));
  EXPECT_EQ(run.host.statusTexts[1], "progress1/1001: Creating directory\nC:\\dst\\sub");
  EXPECT_EQ(run.host.statusTexts[2], "progress1/1001: Creating directory\nC:\\dst\\sub2\\");
  EXPECT_FALSE(run.host.hasFile("C:\\dst\\x.dat"));
  EXPECT_FALSE(run.host.hasFile("C:\\dst\\y.dat"));
  EXPECT_EQ(run.in.condition(), 1);
  run.runBody("Exist \"C:\\dst\\*.dat\"\n");
  EXPECT_EQ(run.in.condition(), 0);
}

TEST(TreeCommandsTest, CopyDir2DestCopiesTheWholeTree) {
  FileRun run;
  run.host.addDirectory("C:\\src\\files");
  run.host.addDirectory("C:\\src\\files\\deep");
  run.host.addFile("C:\\src\\files\\one", "1", FakeHost::kReadOnly);
  run.host.addFile("C:\\src\\files\\deep\\two", "2");
  run.runBody("CopyDir2Dest \"files\"\n");
  EXPECT_TRUE(run.host.boxes.empty());
  EXPECT_EQ(run.host.fileBytes("C:\\dst\\files\\one"), "1");
  EXPECT_EQ(run.host.fileAttributes("C:\\dst\\files\\one"), 0u);
  EXPECT_EQ(run.host.fileBytes("C:\\dst\\files\\deep\\two"), "2");
  // Every entry, the dot entries included, shows its name.
  EXPECT_EQ(run.host.statusTexts[1], "progress1/1001: Copying file\n.");
  EXPECT_EQ(run.host.statusTexts[2], "progress1/1001: Copying file\n..");
}

TEST(TreeCommandsTest, CopyDir2DestNeitherDeletesATreeCopiedOntoItselfNorCopiesIntoItselfAgain) {
  FileRun run;
  run.host.addDirectory("C:\\src\\files");
  run.host.addFile("C:\\src\\files\\one", "1");
  // Onto itself, spelt another way: nothing to do, nothing lost.
  run.run("[Setup]\nset SRCDIR \"C:\\src\"\nset DSTDIR \"c:/SRC\\\"\nCopyDir2Dest \"files\"\n");
  EXPECT_TRUE(run.host.boxes.empty());
  EXPECT_EQ(run.host.fileBytes("C:\\src\\files\\one"), "1");
  // Into a folder of the tree copied: one copy, not one inside each.
  run.run("[Setup]\nset SRCDIR \"C:\\src\"\nset DSTDIR \"C:\\src\\files\"\nCopyDir2Dest \"files\"\n");
  EXPECT_TRUE(run.host.boxes.empty());
  EXPECT_EQ(run.host.fileBytes("C:\\src\\files\\files\\one"), "1");
  EXPECT_FALSE(run.host.hasDirectory("C:\\src\\files\\files\\files"));
}

TEST(TreeCommandsTest, DeltreeRemovesATree) {
  FileRun run;
  run.host.addDirectory("C:\\dst\\app");
  run.host.addDirectory("C:\\dst\\app\\bin");
  run.host.addFile("C:\\dst\\app\\bin\\tool.exe", "t");
  run.host.addFile("C:\\dst\\app\\readme", "r");
  run.runBody("Deltree \"C:\\dst\" \"app\"\n");
  EXPECT_FALSE(run.host.hasDirectory("C:\\dst\\app"));
  EXPECT_TRUE(run.host.hasDirectory("C:\\dst"));
}

TEST(TreeCommandsTest, DeltreeNeverWalksTheWholeTreeOfADriveHoweverItIsWritten) {
  // The current directory is C:\src, so "..\.." climbs to C:\.
  for (const char* line : {R"(Deltree "c:")", R"(Deltree "C:\")", R"(Deltree "")", R"(Deltree "C:\.")",
                           R"(Deltree "C:\\")", R"(Deltree "C:/./")", R"(Deltree "C:\...")",
                           R"(Deltree "C:\dst\..")", R"(Deltree "..\..")", R"(Deltree "C:" ".")",
                           R"(Deltree "\\?\C:\")", R"(Deltree "\\server\share\.")"}) {
    FileRun run;
    run.runBody(std::string(line) + "\n");
    EXPECT_EQ(run.host.operations, std::vector<std::string>{}) << line;
  }
}

TEST(TreeCommandsTest, ApplyOnFilesSearchesOnlyFixedDrives) {
  FileRun run;
  run.host.drives = (1u << 2) | (1u << 3) | (1u << 4) | (1u << 5) | (1u << 0);
  run.host.driveTypes = {{'a', kDriveRemovable}, {'e', kDriveCdRom}, {'f', kDriveRemote}};
  for (char drive : {'a', 'e', 'f'}) {
    run.host.addDirectory(std::string(1, drive) + ":");
    run.host.addFile(std::string(1, drive) + ":\\find.me", "");
  }
  run.host.addDirectory("C:\\dst\\found");
  run.host.addFile("C:\\dst\\found\\find.me", "");
  run.host.addFile("C:\\dst\\found\\FIND.ME.not", "");
  run.host.addFile("D:\\find.me", "");
  run.run(
      "[Setup]\nApplyOnFiles \"find.me\" \"Each\"\nset Last DSTDIR\n"
      "[Each]\nAppendFile DSTDIR \"C:\\log.txt\"\n");
  EXPECT_EQ(run.host.fileBytes("C:\\log.txt"), "c:/dst/found\r\nd:\r\n");
  EXPECT_EQ(run.var("Last"), "d:");
  EXPECT_EQ(run.in.condition(), 0);
  EXPECT_EQ(run.host.windowsOpen, 0);
  bool searched = false;
  for (const std::string& text : run.host.statusTexts) {
    searched |= text.find("Searching for files...\nc:/dst/found") != std::string::npos;
    EXPECT_EQ(text.find("Searching for files...\ne:"), std::string::npos);
  }
  EXPECT_TRUE(searched);
}

TEST(TextFileCommandsTest, ParseFileRunsItsSectionForEveryLineOnce) {
  FileRun run;
  run.host.addFile("C:\\list.txt", "first\r\n   second\nthird");
  run.run(
      "[Setup]\nParseFile \"C:\\list.txt\" \"Line\"\nParseFile \"C:\\none\" \"Line\"\n"
      "[Line]\nAppendFile TempLine \"C:\\out.txt\"\nAppendFile TempStripped \"C:\\out.txt\"\n");
  EXPECT_EQ(run.host.fileBytes("C:\\out.txt"),
            "first\r\nfirst\r\n   second\r\nsecond\r\nthird\r\nthird\r\n");
  EXPECT_EQ(run.var("TempLine"), "third");
}

TEST(TreeCommandsTest, AtTheNestingLimitTheWalksGetOneMessageAndEnd) {
  // Each run of Setup starts the walk again, one line or file deeper, until
  // the deepest run's walk meets the limit with four lines or files to go.
  // Then every walk ends: no run opens a window after the message.
  FileRun lines;
  lines.host.addFile("C:\\five.txt", "1\n2\n3\n4\n5\n");
  lines.run("[Setup]\nParseFile \"C:\\five.txt\" \"Setup\"\n");
  EXPECT_EQ(lines.host.boxes.size(), 1u);
  EXPECT_TRUE(lines.in.aborted());
  EXPECT_EQ(lines.host.windowsOpened, Interpreter::kMaxSectionDepth);
  FileRun files;
  for (char n = '1'; n <= '5'; ++n) {
    files.host.addDirectory(std::string("C:\\dst\\d") + n);
    files.host.addFile(std::string("C:\\dst\\d") + n + "\\f", "");
  }
  files.run("[Setup]\nApplyOnFiles \"f\" \"Setup\"\n");
  EXPECT_EQ(files.host.boxes.size(), 1u);
  EXPECT_EQ(files.host.windowsOpened, 2 * Interpreter::kMaxSectionDepth);  // a progress and a search window each
  EXPECT_EQ(files.host.windowsOpen, 0);
}

TEST(TextFileCommandsTest, FindInFileMatchesLineBeginningsWithoutCase) {
  FileRun run;
  run.host.addFile("C:\\f.txt", "alpha\n   Beta=1\n");
  run.run("[Setup]\nFindInFile \"beta\" \"C:\\f.txt\"\n");
  EXPECT_EQ(run.in.condition(), 1);
  run.run("[Setup]\nFindInFile \"gamma\" \"C:\\f.txt\"\n");
  EXPECT_EQ(run.in.condition(), 0);
  run.run("[Setup]\nFindInFile \"\" \"C:\\f.txt\"\n");
  EXPECT_EQ(run.in.condition(), 1);
  run.run("[Setup]\nStrcmp \"a\" \"b\"\nFindInFile \"alpha\" \"C:\\missing.txt\"\n");
  EXPECT_EQ(run.in.condition(), 0);
}

TEST(TextFileCommandsTest, AppendFileAndAddPartition) {
  FileRun run;
  run.host.addFile("C:\\dst\\EktPack.ini", "", FakeHost::kReadOnly);
  run.runBody("AddPartition \"C:\\pkg\"\nAddPartition \"C:\\pkg\"\nAppendFile \"x\" \"C:\\no\\dir\"\n");
  EXPECT_EQ(run.host.fileBytes("C:\\dst\\EktPack.ini"),
            "C:\\pkg\\part2\\ 0\r\nC:\\pkg\\part2\\ 0\r\n");
  EXPECT_EQ(run.in.condition(), 0);

  FileRun missing;
  missing.run("[Setup]\nset DSTDIR \"C:\\gone\"\nAddPartition \"C:\\pkg\"\nset After \"1\"\n");
  ASSERT_EQ(missing.host.boxes.size(), 1u);
  EXPECT_EQ(missing.host.boxes[0].title, "File Error");
  EXPECT_EQ(missing.host.boxes[0].text, "Could not open the file C:\\gone\\EktPack.ini. Aborting.");
  EXPECT_EQ(missing.host.boxes[0].owner, nullptr);
  EXPECT_EQ(missing.var("After"), "1");
}

TEST(TextFileCommandsTest, GetTempFileNameCreatesAFileInTheDestination) {
  FileRun run;
  run.runBody("GetTempFileName T\n");
  EXPECT_EQ(run.var("T"), "C:\\dst\\temp1.tmp");
  EXPECT_TRUE(run.host.hasFile(run.var("T")));
  run.run("[Setup]\nset T \"old\"\nset DSTDIR \"C:\\gone\"\nGetTempFileName T\n");
  EXPECT_EQ(run.var("T"), "<unset>");
}

TEST(MessageBoxCommandsTest, AnswersBecomeTheConditionFlag) {
  ScriptRun run;
  run.host.answers = {kAnswerOk, kAnswerCancel, kAnswerYes};
  run.run("[Setup]\nMsgBoxOK \"t\" \"T\"\nset A \"x\"\nMsgBoxOKCancel \"t\" Unset\n");
  EXPECT_EQ(run.in.condition(), 0);
  EXPECT_EQ(run.host.boxes[0].buttons, Buttons::Ok);
  EXPECT_EQ(run.host.boxes[1].title, "<default>");
  EXPECT_EQ(run.host.nameOf(run.host.boxes[1].owner), "progress1");
  run.run("[Setup]\nMsgBoxYESNO \"q\" \"Q\"\n");
  EXPECT_EQ(run.in.condition(), 1);
  EXPECT_EQ(run.host.boxes[2].buttons, Buttons::YesNo);
}

}  // namespace
}  // namespace setup::testing
