// The robot that answers the dialogs of a program under test: a thread
// that, every 20 ms until stopped, meets each visible dialog (window class
// "#32770") of one process that it has not dealt with yet.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <utility>

#include "common/win32/handles.h"

namespace win {

class DialogRobot {
 public:
  // Runs on the robot's thread; true when the dialog is dealt with, false
  // to meet it again on the next pass.
  using Meet = std::function<bool(HWND dialog)>;

  DialogRobot(DWORD processId, Meet meet)
      : processId_(processId), meet_(std::move(meet)), stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    thread_.reset(CreateThread(nullptr, 0, loop, this, 0, nullptr));
  }
  DialogRobot(const DialogRobot&) = delete;
  DialogRobot& operator=(const DialogRobot&) = delete;
  ~DialogRobot() { stop(); }

  // Waits for the thread's current pass to end; no dialog is met after.
  void stop() {
    if (!thread_) return;
    SetEvent(stop_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
  }

 private:
  static BOOL CALLBACK visit(HWND window, LPARAM self) {
    auto* robot = reinterpret_cast<DialogRobot*>(self);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (owner == robot->processId_ && IsWindowVisible(window) && std::string(name) == "#32770" &&
        robot->dealtWith_.count(window) == 0 && robot->meet_(window)) {
      robot->dealtWith_.insert(window);
    }
    return TRUE;
  }

  static DWORD WINAPI loop(void* self) {
    auto* robot = static_cast<DialogRobot*>(self);
    while (WaitForSingleObject(robot->stop_.get(), 20) == WAIT_TIMEOUT) {
      EnumWindows(visit, reinterpret_cast<LPARAM>(robot));
    }
    return 0;
  }

  DWORD processId_;
  Meet meet_;
  std::set<HWND> dealtWith_;
  UniqueHandle stop_;
  UniqueHandle thread_;
};

}  // namespace win
