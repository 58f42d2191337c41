// The file and directory commands of setup.exe on real files.
#include <gtest/gtest.h>

#include "scratch.h"
#include "setup_robot.h"

namespace setup::testing {
namespace {

using robot::Answers;
using robot::runSetup;
using robot::SetupResult;

// A package folder: setup.ini beside the files it installs. DSTDIR is set
// to the folder's "out" subfolder.
struct Package {
  std::string folder;
  std::string out;

  explicit Package(const std::string& name) : folder(freshFolder(name)), out(folder + "\\out") {}

  SetupResult run(const std::string& body, Answers answers = {}, DWORD timeoutMs = 60000) {
    writeFile(folder + "\\setup.ini", "[Setup]\r\nGetSystemVars\r\nset DSTDIR \"" + out +
                                          "\"\r\nMkDir DSTDIR\r\n" + body);
    return runSetup("", folder, std::move(answers), timeoutMs);
  }
  std::string log() const { return readFile(folder + "\\log.txt"); }
};

bool plain(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN)) == 0;
}

TEST(SetupFilesTest, InstallsAPackageTwiceOverItself) {
  Package package("files_install");
  makeFolder(package.folder + "\\files\\deep");
  writeFile(package.folder + "\\app.exe", "program");
  writeFile(package.folder + "\\files\\a.txt", "a");
  writeFile(package.folder + "\\files\\deep\\b.txt", "b");
  SetFileAttributesA((package.folder + "\\app.exe").c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesA((package.folder + "\\files\\a.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  const std::string body =
      "Copy \"app.exe\"\r\nCopy \"app.exe\" \"copy.exe\"\r\nCopyDir2Dest \"files\"\r\n"
      "MkDir DSTDIR \"empty\"\r\n";
  for (int round = 0; round < 2; ++round) {
    SetupResult result = package.run(body);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.boxes.empty()) << result.boxes[0].text;
  }
  EXPECT_EQ(readFile(package.out + "\\app.exe"), "program");
  EXPECT_EQ(readFile(package.out + "\\copy.exe"), "program");
  EXPECT_EQ(readFile(package.out + "\\files\\a.txt"), "a");
  EXPECT_EQ(readFile(package.out + "\\files\\deep\\b.txt"), "b");
  EXPECT_TRUE(plain(attributes(package.out + "\\app.exe")));
  EXPECT_TRUE(plain(attributes(package.out + "\\files\\a.txt")));
  EXPECT_NE(attributes(package.out + "\\empty") & FILE_ATTRIBUTE_DIRECTORY, 0u);
  SetFileAttributesA((package.folder + "\\app.exe").c_str(), FILE_ATTRIBUTE_NORMAL);
  SetFileAttributesA((package.folder + "\\files\\a.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(SetupFilesTest, AReadOnlyDestinationEndsEverySection) {
  Package package("files_read_only");
  writeFile(package.folder + "\\one.txt", "new");
  makeFolder(package.out);
  writeFile(package.out + "\\one.txt", "old");
  SetFileAttributesA((package.out + "\\one.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  SetupResult result = package.run(
      "goto \"Files\"\r\nAppendFile \"after goto\" \"log.txt\"\r\n"
      "[Files]\r\nCopy \"one.txt\"\r\nAppendFile \"after copy\" \"log.txt\"\r\n");
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0);
  ASSERT_EQ(result.boxes.size(), 1u);
  EXPECT_EQ(result.boxes[0].title, "Copy Error");
  EXPECT_EQ(result.boxes[0].text, "Could not copy the file " + package.folder + "\\one.txt to " +
                                      package.out + "\\one.txt. Aborting.");
  EXPECT_EQ(result.boxes[0].owner, "background");
  EXPECT_EQ(readFile(package.out + "\\one.txt"), "old");
  EXPECT_EQ(package.log(), "");
  SetFileAttributesA((package.out + "\\one.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(SetupFilesTest, MovesShowTheirFilesInTheStatusLine) {
  Package package("files_move");
  writeFile(package.folder + "\\m1.txt", "1");
  writeFile(package.folder + "\\m2.txt", "2");
  SetupResult result = package.run(
      "MoveA \"" + package.folder + "\\m1.txt\" \"" + package.out + "\\n1.txt\"\r\n"
      "MsgBoxOK \"moved\" \"MoveA\"\r\n"
      "Move \"m2.txt\" \"n2.txt\"\r\nMsgBoxOK \"moved\" \"Move\"\r\n"
      "MoveA \"" + package.folder + "\\none.txt\" \"" + package.out + "\\x.txt\"\r\n");
  ASSERT_TRUE(result.finished);
  ASSERT_EQ(result.boxes.size(), 3u);
  EXPECT_EQ(result.boxes[0].ownerStatus, "Moving file\n" + package.folder + "\\m1.txt");
  EXPECT_EQ(result.boxes[1].ownerStatus, "Moving file\n" + package.out + "\\n2.txt");
  EXPECT_EQ(result.boxes[2].title, "Move Error");
  EXPECT_EQ(result.boxes[2].text, "Could not move the file " + package.folder + "\\none.txt to " +
                                      package.out + "\\x.txt. Aborting.");
  EXPECT_FALSE(exists(package.folder + "\\m1.txt"));
  EXPECT_EQ(readFile(package.out + "\\n1.txt"), "1");
  EXPECT_EQ(readFile(package.out + "\\n2.txt"), "2");
}

TEST(SetupFilesTest, DeleteExistDeltreeAndTempFiles) {
  Package package("files_delete");
  makeFolder(package.out + "\\tree\\deep");
  writeFile(package.out + "\\gone.txt", "x");
  writeFile(package.out + "\\kept.dat", "x");
  writeFile(package.out + "\\tree\\deep\\f.txt", "x");
  SetupResult result = package.run(
      "Delete \"" + package.out + "\\gone.txt\" \"\"\r\n"
      "Exist \"" + package.out + "\\*.dat\"\r\nIf\r\nAppendFile \"dat found\" \"log.txt\"\r\nEndif\r\n"
      "Exist \"" + package.out + "\\*.txt\"\r\nIf\r\nAppendFile \"txt found\" \"log.txt\"\r\nEndif\r\n"
      "Deltree DSTDIR \"tree\"\r\n"
      "GetTempFileName TEMP\r\nAppendFile TEMP \"log.txt\"\r\n");
  ASSERT_TRUE(result.finished);
  EXPECT_TRUE(result.boxes.empty());
  EXPECT_FALSE(exists(package.out + "\\gone.txt"));
  EXPECT_FALSE(exists(package.out + "\\tree"));
  std::string log = package.log();
  ASSERT_EQ(log.rfind("dat found\r\n", 0), 0u) << log;
  std::string temp = log.substr(11, log.size() - 13);
  // The system takes the prefix's first three letters.
  EXPECT_EQ(temp.rfind(package.out + "\\tem", 0), 0u) << temp;
  EXPECT_TRUE(exists(temp));
}

TEST(SetupFilesTest, TextFilesParsedSearchedAndAppended) {
  Package package("files_text");
  writeFile(package.folder + "\\list.txt", "first\r\n   second\r\nlast without end");
  SetupResult result = package.run(
      "ParseFile \"list.txt\" \"Line\"\r\n"
      "FindInFile \"SECOND\" \"list.txt\"\r\nIf\r\nAppendFile \"found\" \"log.txt\"\r\nEndif\r\n"
      "AddPartition \"C:\\pkg\"\r\nAddPartition \"C:\\pkg\"\r\n"
      "AppendFile \"x\" \"no\\such\\folder\\f.txt\"\r\nIf\r\nAppendFile \"wrong\" \"log.txt\"\r\nEndif\r\n"
      "[Line]\r\nAppendFile TempStripped \"log.txt\"\r\n");
  ASSERT_TRUE(result.finished);
  EXPECT_TRUE(result.boxes.empty());
  EXPECT_EQ(package.log(), "first\r\nsecond\r\nlast without end\r\nfound\r\n");
  EXPECT_EQ(readFile(package.out + "\\EktPack.ini"), "C:\\pkg\\part2\\ 0\r\nC:\\pkg\\part2\\ 0\r\n");
}

TEST(SetupFilesTest, ApplyOnFilesSearchesTheFixedDrivesOnly) {
  Package package("files_apply");
  const std::string marker = "apply.marker";
  makeFolder("C:\\setuptests-apply\\inner");
  writeFile("C:\\setuptests-apply\\inner\\" + marker, "");
  makeFolder(package.folder + "\\sub");
  writeFile(package.folder + "\\sub\\" + marker, "");
  writeFile(package.folder + "\\sub\\Apply.Marker.txt", "");
  writeFile("E:\\" + marker, "");
  writeFile("F:\\" + marker, "");
  ASSERT_TRUE(exists("E:\\" + marker));
  ASSERT_TRUE(exists("F:\\" + marker));
  ASSERT_EQ(GetDriveTypeA("E:\\"), static_cast<UINT>(DRIVE_CDROM));
  ASSERT_EQ(GetDriveTypeA("F:\\"), static_cast<UINT>(DRIVE_REMOTE));

  SetupResult result = package.run(
      "set LOG \"" + package.folder + "\\log.txt\"\r\n"
      "ApplyOnFiles \"" + marker + "\" \"Found\"\r\nAppendFile DSTDIR LOG\r\n"
      "[Found]\r\nAppendFile DSTDIR LOG\r\n", {}, 180000);
  ASSERT_TRUE(result.finished);
  EXPECT_TRUE(result.boxes.empty());
  std::string inner = "c:/setuptests-apply/inner";
  std::string sub = "d:/setuptests/files_apply/sub";
  // Every match on C: and D:, then DSTDIR as the last match left it.
  EXPECT_EQ(package.log(), inner + "\r\n" + sub + "\r\n" + sub + "\r\n");
  DeleteFileA(("C:\\setuptests-apply\\inner\\" + marker).c_str());
  RemoveDirectoryA("C:\\setuptests-apply\\inner");
  RemoveDirectoryA("C:\\setuptests-apply");
}

}  // namespace
}  // namespace setup::testing
