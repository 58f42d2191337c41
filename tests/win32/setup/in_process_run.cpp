#include "in_process_run.h"

#include <algorithm>

#include "background_window.h"
#include "common/win32/handles.h"
#include "scratch.h"

namespace setup::testing {

namespace {

struct Finder {
  Robot* robot;
  const std::vector<HWND>* seen;
  int control;
  HWND found = nullptr;
};

BOOL CALLBACK findWindow(HWND window, LPARAM data) {
  auto* finder = reinterpret_cast<Finder*>(data);
  if (IsWindowVisible(window) && GetDlgItem(window, finder->control) != nullptr &&
      std::find(finder->seen->begin(), finder->seen->end(), window) == finder->seen->end()) {
    finder->found = window;
    return FALSE;
  }
  return TRUE;
}

LRESULT CALLBACK plainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND makeBackground() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = plainWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Install";
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RegisterClassA(&windowClass);
    registered = true;
  }
  HWND window = CreateWindowExA(0, "Install", "Setup", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640,
                                480, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  return window;
}

struct RobotThread {
  Robot* robot;
  const std::function<void(Robot&)>* script;
  static DWORD WINAPI main(void* self) {
    auto* thread = static_cast<RobotThread*>(self);
    (*thread->script)(*thread->robot);
    return 0;
  }
};

// After the robot's script: any dialog still open is told to end, so that
// a test that went wrong fails instead of hanging.
BOOL CALLBACK endDialog(HWND window, LPARAM) {
  if (IsWindowVisible(window)) {
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }
  return TRUE;
}

}  // namespace

HWND Robot::waitFor(int control, DWORD timeoutMs) {
  for (DWORD waited = 0; waited <= timeoutMs; waited += 20) {
    Finder finder{this, &seen_, control};
    EnumThreadWindows(scriptThread_, findWindow, reinterpret_cast<LPARAM>(&finder));
    if (finder.found != nullptr) {
      seen_.push_back(finder.found);
      Sleep(50);  // let the dialog finish its start
      return finder.found;
    }
    Sleep(20);
  }
  if (!failed) failure = "no window with control " + std::to_string(control);
  failed = true;
  return nullptr;
}

bool Robot::waitGone(HWND window, DWORD timeoutMs) {
  for (DWORD waited = 0; waited <= timeoutMs; waited += 20) {
    if (!IsWindow(window) || !IsWindowVisible(window)) return true;
    Sleep(20);
  }
  if (!failed) failure = "a window did not close";
  failed = true;
  return false;
}

std::string Robot::text(HWND window) {
  char buffer[8192] = {};
  if (window != nullptr) SendMessageA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

std::string Robot::text(HWND dialog, int control) {
  return dialog != nullptr ? text(GetDlgItem(dialog, control)) : "";
}

void Robot::click(HWND dialog, int button) {
  if (dialog == nullptr) return;
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

void Robot::notify(HWND dialog, int control, int code) {
  if (dialog == nullptr) return;
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(control, code),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, control)));
}

std::string runWithRobot(const std::function<void()>& work,
                         const std::function<void(Robot&)>& robotScript) {
  Robot robot;
  robot.scriptThread_ = GetCurrentThreadId();
  RobotThread thread{&robot, &robotScript};
  win::UniqueHandle handle(CreateThread(nullptr, 0, RobotThread::main, &thread, 0, nullptr));
  work();
  // The robot may still be waiting for a window that never came.
  while (WaitForSingleObject(handle.get(), 20) == WAIT_TIMEOUT) {
    EnumThreadWindows(GetCurrentThreadId(), endDialog, 0);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  return robot.failure;
}

RunResult runInProcess(const std::string& folder, const std::string& script,
                       const std::function<void(Robot&)>& robotScript) {
  writeFile(folder + "\\setup.ini", script);
  char previous[MAX_PATH];
  GetCurrentDirectoryA(sizeof previous, previous);
  SetCurrentDirectoryA(folder.c_str());

  win32::SetupProgram program;
  HWND background = makeBackground();
  program.host.setBackground(background);
  CoInitialize(nullptr);
  ScriptText text(script);
  program.interpreter.setScript(&text);
  std::string failure = runWithRobot(
      [&] { program.interpreter.RunSection(background, "Setup"); }, robotScript);
  program.interpreter.setScript(nullptr);
  CoUninitialize();
  DestroyWindow(background);
  SetCurrentDirectoryA(previous);
  return RunResult{failure, program.interpreter.condition()};
}

}  // namespace setup::testing
