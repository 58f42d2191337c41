// Runs Nandor.exe as a process while a robot thread reads and answers every
// dialog and message box it opens; helpers for the files, folders and
// registry values the tests look at.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/win32/dialog_robot.h"
#include "common/win32/handles.h"

namespace nandor::testing {

constexpr int kBoxText = 0xFFFF;

struct SeenWindow {
  HWND window = nullptr;
  bool messageBox = false;
  std::string title;
  std::string text;  // a message box's text
};

// Decides what to do with a window just seen; answers false to let the
// robot press OK.
using Handler = std::function<bool(const SeenWindow&)>;

struct RunResult {
  int exitCode = -1;
  bool finished = false;  // false when the test had to end the program
  std::vector<SeenWindow> windows;
  std::vector<std::string> boxTexts() const;
};

// Meets every dialog and message box of a process from a thread of its
// own while it lives: records it, lets the handler act, else presses OK.
class WindowRobot {
 public:
  WindowRobot(DWORD processId, Handler handler);
  ~WindowRobot();
  WindowRobot(const WindowRobot&) = delete;
  WindowRobot& operator=(const WindowRobot&) = delete;
  // Stops the robot; answers what it met.
  std::vector<SeenWindow> stop();

 private:
  struct State;
  std::unique_ptr<State> state_;
  std::unique_ptr<win::DialogRobot> robot_;
};

// Runs program (D:\nandortest\Nandor.exe unless named) with arguments.
RunResult runNandor(const std::string& arguments, const Handler& handler = {}, DWORD timeoutMs = 120000,
                    const std::string& program = "");

// The text of a window of any process.
std::string windowText(HWND window);
// A click as the user's: on a button of another process's dialog.
void click(HWND dialog, int control);
void pressCheckbox(HWND dialog, int control);

// Files beside the test program; files and folders on the Windows side.
std::string besideTest(const std::string& name);
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
bool exists(const std::string& path);
bool isFolder(const std::string& path);
// Creates every missing level of folder.
void makeFolders(const std::string& folder);
void removeTree(const std::string& folder);
// The installed Nandor.exe under test: D:\nandortest\Nandor.exe.
std::string installerUnderTest();
std::string windowsFolder();
std::string shellFolder(int csidl);

// HKEY_LOCAL_MACHINE values; "<none>" when missing.
std::string registryText(const std::string& key, const char* name);
DWORD registryNumber(const std::string& key, const char* name);
bool registryKeyExists(const std::string& key);

// A picture of the window as the screen shows it, as a 24-bit BMP file.
bool saveWindowPicture(HWND window, const std::string& path);

}  // namespace nandor::testing
