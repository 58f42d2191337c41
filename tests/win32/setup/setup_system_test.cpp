// The system commands of setup.exe on the real system: registration, the
// Start menu, the uninstall entry, the machine's file type, TCP/IP and
// programs.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include "in_process_run.h"
#include "scratch.h"
#include "tests/win32/unicode_keys.h"

namespace setup::testing {
namespace {

constexpr int kBoxText = 0xFFFF;

std::string besideTest(const std::string& name) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path);
  // A program started from a Linux folder under Wine has a path of the
  // form unix\...: the file system takes it with the \\?\ prefix.
  if (folder.rfind("unix\\", 0) == 0) folder = "\\\\?\\" + folder;
  return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

// Answers every message box until the script ends, keeping their texts.
std::function<void(Robot&)> answerBoxes(std::vector<std::string>& texts, int count) {
  return [&texts, count](Robot& robot) {
    for (int i = 0; i < count; ++i) {
      HWND box = robot.waitFor(kBoxText);
      texts.push_back(Robot::text(box, kBoxText));
      Robot::click(box, IDOK);
    }
  };
}

TEST(SetupSystemTest, RegisterAndUnregisterCallTheDllsOwnExports) {
  std::string folder = freshFolder("system_register");
  ASSERT_TRUE(CopyFileA(besideTest("self_registering.dll").c_str(), (folder + "\\reg.dll").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(besideTest("not_registering.dll").c_str(), (folder + "\\plain.dll").c_str(), FALSE));
  writeFile(folder + "\\broken.dll", "not a program");
  std::vector<std::string> boxes;
  RunResult result = runInProcess(folder,
      "[Setup]\r\nset DSTDIR \"" + folder + "\"\r\nRegister \"reg.dll\"\r\n"
      "Unregister \"" + folder + "\\reg.dll\" \"\"\r\nUnregister \"reg.dll\" DSTDIR\r\n"
      "Register \"plain.dll\"\r\nUnregister \"plain.dll\" DSTDIR\r\n"
      "Register \"broken.dll\"\r\nUnregister \"missing.dll\" DSTDIR\r\n"
      "AppendFile \"went on\" \"log.txt\"\r\n",
      answerBoxes(boxes, 4));
  EXPECT_EQ(result.failure, "");
  EXPECT_EQ(readFile(folder + "\\registration.log"),
            "DllRegisterServer\r\nDllUnregisterServer\r\nDllUnregisterServer\r\n");
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0], "Unable to register the file " + folder +
                          "\\plain.dll.\n(The DLL cannot be selfregistered.)");
  EXPECT_EQ(boxes[1], "Unable to unregister the file " + folder +
                          "\\plain.dll.\n(The DLL cannot be selfunregistered.)");
  EXPECT_EQ(boxes[2], "Unable to register the file " + folder + "\\broken.dll.\n(Cannot load the DLL.)");
  EXPECT_EQ(boxes[3], "Unable to register the file " + folder + "\\missing.dll.\n(Cannot load the DLL.)");
  EXPECT_EQ(readFile(folder + "\\log.txt"), "went on\r\n");
}

std::string programsFolder() {
  char path[MAX_PATH] = {};
  SHGetSpecialFolderPathA(nullptr, path, CSIDL_PROGRAMS, FALSE);
  return path;
}

struct LinkContents {
  std::string target;
  std::string workingDirectory;
};

// The link's target and working directory, read back through the shell.
std::optional<LinkContents> loadLink(const std::string& path) {
  using Microsoft::WRL::ComPtr;
  struct ComScope {
    ComScope() { CoInitialize(nullptr); }
    ~ComScope() { CoUninitialize(); }
  } com;
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(link.GetAddressOf())))) {
    return std::nullopt;
  }
  ComPtr<IPersistFile> file;
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
  if (FAILED(link.As(&file)) || FAILED(file->Load(wide, STGM_READ))) return std::nullopt;
  char target[MAX_PATH] = {}, directory[MAX_PATH] = {};
  link->GetPath(target, MAX_PATH, nullptr, 0);
  link->GetWorkingDirectory(directory, MAX_PATH);
  return LinkContents{target, directory};
}

TEST(SetupSystemTest, ProgramGroupsAndLinks) {
  std::string folder = freshFolder("system_links");
  makeFolder(folder + "\\app");
  writeFile(folder + "\\app\\app.exe", "");
  writeFile(folder + "\\readme.txt", "");
  const std::string group = "Voxa Setup Test Group";
  std::string groupFolder = programsFolder() + "\\" + group;
  for (const char* name : {"Too early", "Sample App", "Read me", "No destination"}) {
    DeleteFileA((groupFolder + "\\" + name + ".lnk").c_str());
  }
  RemoveDirectoryA(groupFolder.c_str());
  ASSERT_FALSE(exists(groupFolder));
  RunResult result = runInProcess(folder,
      "[Setup]\r\nset SRCDIR \"" + folder + "\"\r\nset DSTDIR \"" + folder + "\\app\"\r\n"
      "set PROGRAMGROUP \"" + group + "\"\r\n"
      "MkLink \"app.exe\" \"Too early\"\r\nMkPgmGroup PROGRAMGROUP\r\n"
      "MkLink \"app.exe\" \"Sample App\"\r\nCreateSourceLink \"readme.txt\" \"Read me\"\r\n"
      "Clr DSTDIR\r\nMkLink \"app.exe\" \"No destination\"\r\n"
      "GetPgmGroup PROGRAMS\r\nAppendFile PROGRAMS \"log.txt\"\r\nDelPgmGroup PROGRAMGROUP\r\n",
      [](Robot&) {});
  EXPECT_EQ(result.failure, "");
  EXPECT_EQ(readFile(folder + "\\log.txt"), programsFolder() + "\r\n");
  EXPECT_FALSE(exists(groupFolder + "\\Too early.lnk"));
  EXPECT_FALSE(exists(groupFolder + "\\No destination.lnk"));
  std::optional<LinkContents> app = loadLink(groupFolder + "\\Sample App.lnk");
  ASSERT_TRUE(app.has_value());
  EXPECT_STRCASEEQ(app->target.c_str(), (folder + "\\app\\app.exe").c_str());
  EXPECT_STRCASEEQ(app->workingDirectory.c_str(), (folder + "\\app").c_str());
  std::optional<LinkContents> readme = loadLink(groupFolder + "\\Read me.lnk");
  ASSERT_TRUE(readme.has_value());
  EXPECT_STRCASEEQ(readme->target.c_str(), (folder + "\\readme.txt").c_str());
  EXPECT_TRUE(exists(groupFolder));  // DelPgmGroup does nothing
  DeleteFileA((groupFolder + "\\Sample App.lnk").c_str());
  DeleteFileA((groupFolder + "\\Read me.lnk").c_str());
  RemoveDirectoryA(groupFolder.c_str());
}

std::optional<std::string> registryString(HKEY root, const std::string& key, const char* value) {
  char data[1024] = {};
  DWORD size = sizeof data;
  if (RegGetValueA(root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(data);
}

// HKEY_LOCAL_MACHINE of this process only: a key of the current user.
class PrivateMachineKey {
 public:
  PrivateMachineKey() {
    RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, key_);
  }
  ~PrivateMachineKey() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(key_);
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
  }
  void setString(const char* name, DWORD type, const std::string& value) {
    HKEY version = nullptr;
    RegCreateKeyExA(key_, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &version, nullptr);
    RegSetValueExA(version, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(version);
  }

 private:
  static constexpr const char* kKey = "Software\\VoxaSetupTests\\Machine";
  HKEY key_ = nullptr;
};

TEST(SetupSystemTest, TheProgramFilesValueIsExpandedOrPassedOverWhenItDoesNotFit) {
  std::string folder = freshFolder("system_program_files");
  const std::string script = "[Setup]\r\nGetSystemVars\r\nAppendFile DSTDIR \"log.txt\"\r\n";
  SetEnvironmentVariableA("VOXA_TEST_DRIVE", "E:");
  SetEnvironmentVariableA("VOXA_TEST_LONG", std::string(1100, 'x').c_str());
  {
    PrivateMachineKey machine;
    machine.setString("ProgramFilesDir", REG_SZ, "C:\\Fallback");
    machine.setString("ProgramFilesPath", REG_EXPAND_SZ, "%VOXA_TEST_DRIVE%\\Programs");
    EXPECT_EQ(runInProcess(folder, script, [](Robot&) {}).failure, "");
    machine.setString("ProgramFilesPath", REG_EXPAND_SZ, "%VOXA_TEST_LONG%");
    EXPECT_EQ(runInProcess(folder, script, [](Robot&) {}).failure, "");
  }
  SetEnvironmentVariableA("VOXA_TEST_DRIVE", nullptr);
  SetEnvironmentVariableA("VOXA_TEST_LONG", nullptr);
  EXPECT_EQ(readFile(folder + "\\log.txt"), "E:\\Programs\\VOXA\\\r\nC:\\Fallback\\VOXA\\\r\n");
}

TEST(SetupSystemTest, TheUninstallEntryIsWrittenAndDeleted) {
  std::string folder = freshFolder("system_uninstall");
  const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Voxa Setup Test";
  RunResult written = runInProcess(folder,
      "[Setup]\r\nSetUninstall \"Voxa Setup Test\" \"C:\\Voxa\\setup.exe /UNINSTALL\"\r\n", [](Robot&) {});
  EXPECT_EQ(written.failure, "");
  EXPECT_EQ(registryString(HKEY_LOCAL_MACHINE, key, "DisplayName").value_or("<none>"), "Voxa Setup Test");
  EXPECT_EQ(registryString(HKEY_LOCAL_MACHINE, key, "UninstallString").value_or("<none>"),
            "C:\\Voxa\\setup.exe /UNINSTALL");
  std::vector<std::string> boxes;
  RunResult deleted = runInProcess(folder,
      "[Setup]\r\nDelUninstall \"Voxa Setup Test\"\r\nDelUninstall \"Voxa Setup Test\"\r\n"
      "AppendFile \"went on\" \"log.txt\"\r\n", [](Robot&) {});
  EXPECT_FALSE(registryString(HKEY_LOCAL_MACHINE, key, "DisplayName").has_value());
  EXPECT_EQ(readFile(folder + "\\log.txt"), "went on\r\n");
}

void setClassKey(const std::string& key, const std::string& value) {
  HKEY created = nullptr;
  RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr);
  RegSetValueExA(created, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(created);
}

bool classKeyExists(const std::string& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

TEST(SetupSystemTest, DetectVoxaAndCleanRegistry) {
  std::string folder = freshFolder("system_voxa");
  setClassKey(".vxm", "vxm_auto_file");
  setClassKey("vxm_auto_file", "Voxa application");
  setClassKey("vxm_auto_file\\DefaultIcon", "C:\\Tools\\voxa.exe,0");
  setClassKey("vxm_auto_file\\shell\\open\\command", "\"C:\\Tools\\voxa.exe\" \"%1\"");
  setClassKey("vxm_auto_file\\shell\\open\\command\\extra", "below the command");
  ASSERT_TRUE(unicode_keys::createBelow(HKEY_CLASSES_ROOT, "vxm_auto_file\\shell\\open\\command"));
  ASSERT_TRUE(unicode_keys::createBelow(HKEY_CLASSES_ROOT, ".vxm"));
  RunResult result = runInProcess(folder,
      "[Setup]\r\nDetectVOXA\r\nIf\r\nAppendFile VOXApath \"log.txt\"\r\nEndif\r\n"
      "CleanRegistry\r\nDetectVOXA\r\nIf\r\nAppendFile \"still there\" \"log.txt\"\r\nElse\r\n"
      "AppendFile VOXApath \"log.txt\"\r\nEndif\r\nCleanRegistry\r\n", [](Robot&) {});
  EXPECT_EQ(result.failure, "");
  // The second DetectVOXA finds nothing and leaves VOXApath as it was.
  EXPECT_EQ(readFile(folder + "\\log.txt"), "C:\\Tools\r\nC:\\Tools\r\n");
  for (const char* key : {".vxm", "vxm_auto_file", "vxm_auto_file\\shell"}) {
    EXPECT_FALSE(classKeyExists(key)) << key;
  }
}

std::string waitForFile(const std::string& path, DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs && !exists(path); waited += 50) Sleep(50);
  Sleep(100);
  return readFile(path);
}

TEST(SetupSystemTest, TcpIpIsDetectedAndProgramsRun) {
  std::string folder = freshFolder("system_run");
  std::string bin = folder + "\\bin";
  makeFolder(bin);
  ASSERT_TRUE(CopyFileA(besideTest("echo_command_line.exe").c_str(), (bin + "\\echo.exe").c_str(), FALSE));
  char oldPath[8192] = {};
  GetEnvironmentVariableA("PATH", oldPath, sizeof oldPath);
  SetEnvironmentVariableA("PATH", ("C:\\nowhere;" + bin + ";" + oldPath).c_str());
  RunResult waited = runInProcess(folder,
      "[Setup]\r\nDetectTCPIP\r\nIf\r\nAppendFile \"tcp\" \"log.txt\"\r\nEndif\r\n"
      "RunWait \"echo\" \"exactly this\"\r\nAppendFile \"after RunWait\" \"log.txt\"\r\n",
      [](Robot&) {});
  SetEnvironmentVariableA("PATH", oldPath);
  EXPECT_EQ(waited.failure, "");
  // RunWait waited: the program had written before the next line ran.
  EXPECT_EQ(readFile(folder + "\\log.txt"), "tcp\r\nafter RunWait\r\n");
  EXPECT_EQ(readFile(bin + "\\command-line.txt"), "exactly this");

  DeleteFileA((bin + "\\command-line.txt").c_str());
  RunResult started = runInProcess(folder,
      "[Setup]\r\nset DSTDIR \"" + bin + "\"\r\nRun \"" + bin + "\\echo.exe\" \"first second\"\r\n",
      [](Robot&) {});
  EXPECT_EQ(started.failure, "");
  std::string line = waitForFile(bin + "\\command-line.txt", 10000);
  EXPECT_NE(line.find("first second"), std::string::npos) << line;
}

TEST(SetupSystemTest, FontCommandsAreSilent) {
  std::string folder = freshFolder("system_fonts");
  RunResult result = runInProcess(folder,
      "[Setup]\r\nRegisterFont \"" + folder + "\\none.ttf\"\r\nUnregisterFont \"" + folder +
          "\\none.ttf\"\r\nAppendFile \"went on\" \"log.txt\"\r\n",
      [](Robot&) {});
  EXPECT_EQ(result.failure, "");
  EXPECT_EQ(readFile(folder + "\\log.txt"), "went on\r\n");
}

}  // namespace
}  // namespace setup::testing
