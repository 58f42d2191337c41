// Runs setup scripts inside the test process, on the test's thread, with the
// program's own host, system commands and dialogs, while a robot thread
// drives the windows they open.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace setup::testing {

class Robot {
 public:
  // The next visible window of the script's thread that has control id
  // (0xFFFF: a message box's text; 1015: the welcome dialog, ...), not
  // returned before; null after timeoutMs.
  HWND waitFor(int control, DWORD timeoutMs = 10000);
  // Waits until the window is gone.
  bool waitGone(HWND window, DWORD timeoutMs = 10000);
  static std::string text(HWND window);
  static std::string text(HWND dialog, int control);
  // A click on a button, as the user's (BN_CLICKED from the button).
  static void click(HWND dialog, int button);
  // A notification from a control, as the control sends it.
  static void notify(HWND dialog, int control, int code);

  bool failed = false;
  std::string failure;

 private:
  friend std::string runWithRobot(const std::function<void()>&,
                                  const std::function<void(Robot&)>&);
  DWORD scriptThread_ = 0;
  std::vector<HWND> seen_;
};

struct RunResult {
  std::string failure;  // what the robot could not do; empty when all went well
  int condition = 0;
};

// Runs work on the test's thread while robotScript runs on its own, then
// ends every window left open.
std::string runWithRobot(const std::function<void()>& work,
                         const std::function<void(Robot&)>& robotScript);

// Writes setup.ini into folder, makes it the current directory, runs its
// section "Setup" with the program's host and commands while robotScript
// runs on its own thread, then ends every window left open.
RunResult runInProcess(const std::string& folder, const std::string& script,
                       const std::function<void(Robot&)>& robotScript);

}  // namespace setup::testing
