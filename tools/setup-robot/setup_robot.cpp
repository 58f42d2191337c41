#include "setup_robot.h"

#include <set>

#include "common/win32/process_run.h"

namespace setup::robot {

namespace {

constexpr int kMessageBoxText = 0xFFFF;
constexpr int kStatusLine = 1001;
constexpr int kIntroduction = 0;
constexpr int kChangeDestination = 1015;
constexpr int kAgreement = 1016;
constexpr int kChoices = 1019;
constexpr int kTree = 1012;
constexpr int kNewName = 1013;

// WM_GETTEXT, which the system carries across processes (GetWindowText
// would give an edit control's caption, not its text).
std::string windowText(HWND window) {
  static char buffer[65536];
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                           SMTO_ABORTIFHUNG, 2000, &length)) {
    return "";
  }
  return std::string(buffer, length < sizeof buffer ? length : 0);
}

std::string className(HWND window) {
  char buffer[256] = {};
  GetClassNameA(window, buffer, sizeof buffer);
  return buffer;
}

std::string ownerKind(HWND owner) {
  if (owner == nullptr) return "none";
  if (className(owner) == "Install") return "background";
  if (GetDlgItem(owner, 1003) != nullptr) return "progress";
  if (GetDlgItem(owner, kStatusLine) != nullptr) return "search";
  return className(owner);
}

struct Robot {
  DWORD processId = 0;
  Answers answers;
  std::vector<BoxRecord> boxes;
  std::set<HWND> answered;
  win::UniqueHandle stop{CreateEventA(nullptr, TRUE, FALSE, nullptr)};

  void answer(HWND box) {
    BoxRecord record;
    record.title = windowText(box);
    // The program's dialogs are told by their own controls (the welcome
    // dialog's picture has the id of a message box's text).
    bool ownDialog = false;
    for (int control : {kChangeDestination, kAgreement, kChoices, kTree, kNewName}) {
      ownDialog |= GetDlgItem(box, control) != nullptr;
    }
    record.isMessageBox = !ownDialog && GetDlgItem(box, kMessageBoxText) != nullptr;
    if (record.isMessageBox) {
      record.text = windowText(GetDlgItem(box, kMessageBoxText));
    } else if (GetDlgItem(box, kChangeDestination) != nullptr) {
      record.text = windowText(GetDlgItem(box, kIntroduction));
    } else if (HWND agreement = GetDlgItem(box, kAgreement)) {
      record.text = windowText(agreement);
    }
    HWND owner = GetWindow(box, GW_OWNER);
    record.owner = ownerKind(owner);
    if (owner != nullptr && GetDlgItem(owner, kStatusLine) != nullptr) {
      record.ownerStatus = windowText(GetDlgItem(owner, kStatusLine));
    }
    int id = 0;
    while (!answers.empty() && id == 0) {
      if (GetDlgItem(box, answers.front()) != nullptr) id = answers.front();
      answers.pop_front();
    }
    if (id == 0) id = GetDlgItem(box, IDOK) != nullptr ? IDOK : IDYES;
    boxes.push_back(record);
    answered.insert(box);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
  }

  static BOOL CALLBACK visit(HWND window, LPARAM self) {
    auto* robot = reinterpret_cast<Robot*>(self);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    bool answerable = GetDlgItem(window, IDOK) != nullptr || GetDlgItem(window, IDYES) != nullptr;
    if (owner == robot->processId && IsWindowVisible(window) && className(window) == "#32770" &&
        answerable && robot->answered.count(window) == 0) {
      robot->answer(window);
    }
    return TRUE;
  }

  static DWORD WINAPI loop(void* self) {
    auto* robot = static_cast<Robot*>(self);
    while (WaitForSingleObject(robot->stop.get(), 20) == WAIT_TIMEOUT) {
      EnumWindows(visit, reinterpret_cast<LPARAM>(robot));
    }
    return 0;
  }
};

}  // namespace

SetupResult runSetup(const std::string& arguments, const std::string& workingDirectory,
                     Answers answers, DWORD timeoutMs, const std::string& program) {
  SetupResult result;
  std::string commandLine = "\"" + program + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  win::StartedProcess started = win::startProcess({commandLine, {}, workingDirectory.c_str()});
  if (!started) {
    result.exitCode = -1000;
    return result;
  }
  win::UniqueHandle& processHandle = started.process;

  Robot robot;
  robot.processId = started.id;
  robot.answers = std::move(answers);
  win::UniqueHandle thread(CreateThread(nullptr, 0, Robot::loop, &robot, 0, nullptr));
  result.finished = WaitForSingleObject(processHandle.get(), timeoutMs) == WAIT_OBJECT_0;
  if (!result.finished) TerminateProcess(processHandle.get(), 99);
  SetEvent(robot.stop.get());
  WaitForSingleObject(thread.get(), INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(processHandle.get(), &code);
  result.exitCode = static_cast<int>(code);
  result.boxes = robot.boxes;
  return result;
}

}  // namespace setup::robot
