#include "nandor_run.h"

#include <shlobj.h>

#include "common/win32/handles.h"
#include "common/win32/process_run.h"
#include "common/win32/window_picture.h"

namespace nandor::testing {

struct WindowRobot::State {
  Handler handler;
  std::vector<SeenWindow> windows;

  bool meet(HWND window) {
    // The options dialog's label has the id of a message box's text.
    bool messageBox = GetDlgItem(window, kBoxText) != nullptr && GetDlgItem(window, 1001) == nullptr;
    SeenWindow seenWindow{window, messageBox, windowText(window), ""};
    if (messageBox) seenWindow.text = windowText(GetDlgItem(window, kBoxText));
    // Every box here has a title and a text: an empty one is a read that
    // timed out on a busy machine, tried again on the next pass.
    if (messageBox && (seenWindow.title.empty() || seenWindow.text.empty())) return false;
    windows.push_back(seenWindow);
    if (handler && handler(seenWindow)) return true;
    if (GetDlgItem(window, IDOK) != nullptr) click(window, IDOK);
    return true;
  }
};

WindowRobot::WindowRobot(DWORD processId, Handler handler) : state_(std::make_unique<State>()) {
  state_->handler = std::move(handler);
  robot_ = std::make_unique<win::DialogRobot>(processId, [state = state_.get()](HWND window) {
    return state->meet(window);
  });
}

WindowRobot::~WindowRobot() { stop(); }

std::vector<SeenWindow> WindowRobot::stop() {
  robot_->stop();
  return state_->windows;
}

std::vector<std::string> RunResult::boxTexts() const {
  std::vector<std::string> texts;
  for (const SeenWindow& window : windows) {
    if (window.messageBox) texts.push_back(window.text);
  }
  return texts;
}

RunResult runNandor(const std::string& arguments, const Handler& handler, DWORD timeoutMs,
                    const std::string& program) {
  RunResult result;
  std::string path = program.empty() ? installerUnderTest() : program;
  std::string commandLine = "\"" + path + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  win::StartedProcess started = win::startProcess({commandLine, path, "D:\\"});
  if (!started) return result;
  win::UniqueHandle& processHandle = started.process;
  WindowRobot robot(started.id, handler);
  result.finished = WaitForSingleObject(processHandle.get(), timeoutMs) == WAIT_OBJECT_0;
  if (!result.finished) TerminateProcess(processHandle.get(), 99);
  result.windows = robot.stop();
  DWORD code = 0;
  GetExitCodeProcess(processHandle.get(), &code);
  result.exitCode = static_cast<int>(code);
  return result;
}

std::string windowText(HWND window) {
  static char buffer[4096];
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                           2000, &length)) {
    return "";
  }
  return std::string(buffer, length < sizeof buffer ? length : 0);
}

void click(HWND dialog, int control) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, control)));
}

void pressCheckbox(HWND dialog, int control) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(GetDlgItem(dialog, control), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
}

std::string besideTest(const std::string& name) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path);
  // A program started from a Linux folder under Wine has a path of the
  // form unix\...: the file system takes it with the \\?\ prefix.
  if (folder.rfind("unix\\", 0) == 0) folder = "\\\\?\\" + folder;
  return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

std::string readFile(const std::string& path) {
  win::UniqueHandle file = win::adoptFileHandle(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return "<missing>";
  std::string bytes(GetFileSize(file.get(), nullptr), '\0');
  DWORD read = 0;
  ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  return bytes;
}

void writeFile(const std::string& path, const std::string& bytes) {
  win::UniqueHandle file =
      win::adoptFileHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  if (file) WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool isFolder(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void makeFolders(const std::string& folder) {
  for (size_t i = 3; i <= folder.size(); ++i) {
    if (i == folder.size() || folder[i] == '\\') CreateDirectoryA(folder.substr(0, i).c_str(), nullptr);
  }
}

void removeTree(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  win::UniqueFind listing(FindFirstFileA((folder + "\\*").c_str(), &entry));
  if (listing.get() != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTree(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(listing.get(), &entry));
  }
  listing.reset();
  RemoveDirectoryA(folder.c_str());
}

std::string installerUnderTest() { return "D:\\nandortest\\Nandor.exe"; }

std::string windowsFolder() {
  char path[MAX_PATH] = {};
  GetWindowsDirectoryA(path, sizeof path);
  return path;
}

std::string shellFolder(int csidl) {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

std::string registryText(const std::string& key, const char* name) {
  char value[1024] = {};
  DWORD size = sizeof value - 1;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
    return "<none>";
  }
  return value;
}

DWORD registryNumber(const std::string& key, const char* name) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) {
    return 0xFFFFFFFF;
  }
  return value;
}

bool registryKeyExists(const std::string& key) {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return false;
  RegCloseKey(raw);
  return true;
}

bool saveWindowPicture(HWND window, const std::string& path) {
  std::string bytes = win::windowPictureBmp(window);
  if (bytes.empty()) return false;
  writeFile(path, bytes);
  return true;
}

}  // namespace nandor::testing
