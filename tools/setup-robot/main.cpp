// setup-robot: runs setup.exe unattended, answering every dialog with its
// default button and every message box with OK (or Yes), and prints what
// each window said.
//   setup-robot.exe [--program PATH] [SETUP_ARGUMENTS]
// setup.exe is taken from the robot's own folder unless --program names
// another copy (an installed one, say); the exit status is setup.exe's.
#include <windows.h>

#include <cstdio>
#include <string>

#include "setup_robot.h"

int main(int argc, char** argv) {
  std::string program = "setup.exe";
  int first = 1;
  if (argc >= 3 && std::string(argv[1]) == "--program") {
    program = argv[2];
    first = 3;
  }
  std::string arguments;
  for (int i = first; i < argc; ++i) {
    if (i > first) arguments += ' ';
    arguments += argv[i];
  }
  char folder[MAX_PATH];
  GetCurrentDirectoryA(sizeof folder, folder);
  setup::robot::SetupResult result = setup::robot::runSetup(arguments, folder, {}, 600000, program);
  for (const setup::robot::BoxRecord& box : result.boxes) {
    std::string text = box.text;
    for (char& c : text) {
      if (c == '\r' || c == '\n') c = ' ';
    }
    if (text.size() > 70) text = text.substr(0, 67) + "...";
    std::printf("%s \"%s\": %s\n", box.isMessageBox ? "message box" : "dialog", box.title.c_str(),
                text.c_str());
  }
  if (!result.finished) std::printf("%s did not end within ten minutes\n", program.c_str());
  std::printf("%s ended with %d\n", program.c_str(), result.exitCode);
  return result.exitCode;
}
