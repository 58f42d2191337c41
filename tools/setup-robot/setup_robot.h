// Runs setup.exe as a process and answers its message boxes and dialogs
// from a robot thread that records each: title, text, owner, and the
// owner's status line at the time. Dialogs get their default button
// (Continue, Agree), message boxes OK or Yes unless told otherwise.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "common/win32/handles.h"

namespace setup::robot {

struct BoxRecord {
  bool isMessageBox = true;  // false for a dialog
  std::string title;
  std::string text;
  std::string owner;        // "background", "progress", "search", "none" or a class name
  std::string ownerStatus;  // control 1001 of the owner, when it has one
};

struct SetupResult {
  int exitCode = 0;
  bool finished = false;  // false when the program had to be ended by the test
  std::vector<BoxRecord> boxes;
};

// Button ids the robot presses, in order, on the windows that have them;
// OK (or Yes) once they run out.
using Answers = std::deque<int>;

// Starts program (setup.exe found beside the caller unless it names another
// copy) with arguments in the folder workingDirectory and waits
// for its end (at most timeoutMs), answering every message box.
SetupResult runSetup(const std::string& arguments, const std::string& workingDirectory,
                     Answers answers = {}, DWORD timeoutMs = 60000,
                     const std::string& program = "setup.exe");

}  // namespace setup::robot
