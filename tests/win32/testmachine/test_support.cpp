#include "test_support.h"

#include <windows.h>

#include <fstream>
#include <iterator>

#include "common/win32/handles.h"
#include "common/win32/process_run.h"

namespace testvm::testing {

using win::UniqueHandle;

std::string tempFile(const std::string& suffix) {
  static int counter = 0;
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  return std::string(folder) + "tm" + std::to_string(GetCurrentProcessId()) + "_" +
         std::to_string(++counter) + suffix;
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ProcessResult runProcess(const std::string& commandLine) {
  ProcessResult result;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return result;
  UniqueHandle reader(readEnd);
  UniqueHandle writer(writeEnd);
  SetHandleInformation(reader.get(), HANDLE_FLAG_INHERIT, 0);

  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  win::StartedProcess started =
      win::startProcess({commandLine, {}, folder, 0, writer.get(), GetStdHandle(STD_INPUT_HANDLE)});
  if (!started) return result;
  UniqueHandle& processHandle = started.process;
  writer.reset();

  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(reader.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    result.output.append(buffer, got);
  }
  WaitForSingleObject(processHandle.get(), INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(processHandle.get(), &code);
  result.exitCode = static_cast<int>(code);
  // Output read through a text-mode C runtime may carry CRs.
  std::string clean;
  for (char c : result.output) {
    if (c != '\r') clean += c;
  }
  result.output = clean;
  return result;
}

}  // namespace testvm::testing
