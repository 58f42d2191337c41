// Runs a command line with its output going to a file and waits for the
// process itself, for tests and tools that start programs. The output goes
// to a file of its own rather than a pipe: processes the system starts on
// the way (a desktop process, say) may keep inherited handles open long
// after the program ended.
#pragma once

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "common/win32/handles.h"

namespace win {

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
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output.get();
  startup.hStdError = output.get();
  PROCESS_INFORMATION process{};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, workingDirectory,
                      &startup, &process)) {
    run.error = GetLastError();
    return run;
  }
  run.started = true;
  UniqueHandle processHandle(process.hProcess);
  UniqueHandle threadHandle(process.hThread);
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
