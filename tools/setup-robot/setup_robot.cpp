#include "setup_robot.h"

#include <set>

#include "common/win32/dialog_robot.h"
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
  Answers answers;
  std::vector<BoxRecord> boxes;

  // The dialogs with a button to answer; others are passed over.
  bool answer(HWND box) {
    if (GetDlgItem(box, IDOK) == nullptr && GetDlgItem(box, IDYES) == nullptr) return false;
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
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    return true;
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
  robot.answers = std::move(answers);
  win::DialogRobot dialogs(started.id, [&robot](HWND box) { return robot.answer(box); });
  result.finished = WaitForSingleObject(processHandle.get(), timeoutMs) == WAIT_OBJECT_0;
  if (!result.finished) TerminateProcess(processHandle.get(), 99);
  dialogs.stop();
  DWORD code = 0;
  GetExitCodeProcess(processHandle.get(), &code);
  result.exitCode = static_cast<int>(code);
  result.boxes = robot.boxes;
  return result;
}

}  // namespace setup::robot
