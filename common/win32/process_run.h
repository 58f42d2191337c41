// Starting programs, for tests and tools: startProcess, the one place that
// calls CreateProcess for them, and runWithOutputFile, which runs a command
// line with its output going to a file and waits for the process itself.
// The output goes to a file of its own rather than a pipe: processes the
// system starts on the way (a desktop process, say) may keep inherited
// handles open long after the program ended.
#pragma once

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "common/win32/handles.h"

namespace win {

struct ProcessStart {
  std::string commandLine;
  std::string application;                // empty: the command line's first word
  const char* workingDirectory = nullptr;  // null: the caller's
  DWORD flags = 0;                         // creation flags
  HANDLE output = nullptr;  // given: standard output and error, inherited
  HANDLE input = nullptr;   // standard input, with output
};

struct StartedProcess {
  UniqueHandle process;
  UniqueHandle thread;
  DWORD id = 0;
  DWORD error = 0;  // why it did not start
  explicit operator bool() const { return static_cast<bool>(process); }
};

inline StartedProcess startProcess(const ProcessStart& start) {
  StartedProcess started;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  const bool redirected = start.output != nullptr;
  if (redirected) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = start.output;
    startup.hStdError = start.output;
    startup.hStdInput = start.input;
  }
  PROCESS_INFORMATION process{};
  std::string line = start.commandLine;
  if (!CreateProcessA(start.application.empty() ? nullptr : start.application.c_str(), line.data(), nullptr,
                      nullptr, redirected ? TRUE : FALSE, start.flags, nullptr, start.workingDirectory, &startup,
                      &process)) {
    started.error = GetLastError();
    return started;
  }
  started.process.reset(process.hProcess);
  started.thread.reset(process.hThread);
  started.id = process.dwProcessId;
  return started;
}

struct ProcessRun {
  bool started = false;
  bool finished = false;  // false: ended by the caller's timeout
  int exitCode = -1;
  std::string output;     // as written, carriage returns included
  DWORD error = 0;        // why it did not start
};

// workingDirectory null: the caller's.
inline ProcessRun runWithOutputFile(const std::string& commandLine, const std::string& outputPath,
                                    const char* workingDirectory, DWORD timeoutMs) {
  ProcessRun run;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  UniqueHandle output = adoptFileHandle(CreateFileA(outputPath.c_str(), GENERIC_WRITE,
      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit, CREATE_ALWAYS,
      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!output) {
    run.error = GetLastError();
    return run;
  }
  StartedProcess started = startProcess({commandLine, {}, workingDirectory, 0, output.get()});
  if (!started) {
    run.error = started.error;
    return run;
  }
  run.started = true;
  UniqueHandle& processHandle = started.process;
  output.reset();
  run.finished = WaitForSingleObject(processHandle.get(), timeoutMs) == WAIT_OBJECT_0;
  if (!run.finished) {
    TerminateProcess(processHandle.get(), 99);
    WaitForSingleObject(processHandle.get(), 5000);
  }
  DWORD code = 0;
  GetExitCodeProcess(processHandle.get(), &code);
  run.exitCode = static_cast<int>(code);
  std::ifstream in(outputPath, std::ios::binary);
  run.output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return run;
}

}  // namespace win
