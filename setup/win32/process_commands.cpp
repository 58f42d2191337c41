// DetectTCPIP, Run and RunWait.
#include <winsock2.h>
#include <windows.h>
#include <shellapi.h>

#include "argument_text.h"
#include "common/win32/handles.h"
#include "system_commands.h"
#include "system_rules.h"

namespace setup::win32 {

namespace {

bool isFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string environmentPath() {
  DWORD size = GetEnvironmentVariableA("PATH", nullptr, 0);
  if (size == 0) return {};
  std::string path(size, '\0');
  DWORD length = GetEnvironmentVariableA("PATH", path.data(), size);
  path.resize(length < size ? length : 0);
  return path;
}

// Windows Sockets 1.1 exactly, the three protocols known, and a TCP socket.
bool usableTcp() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(1, 1), &data) != 0) return false;
  bool usable = data.wVersion == MAKEWORD(1, 1) && getprotobyname("TCP") != nullptr &&
                getprotobyname("IP") != nullptr && getprotobyname("UDP") != nullptr;
  if (usable) {
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    usable = probe != INVALID_SOCKET;
    if (usable) closesocket(probe);
  }
  WSACleanup();
  return usable;
}

}  // namespace

void DetectTCPIP(Interpreter& in, const CommandCall&) { in.setCondition(usableTcp() ? 1 : 0); }

void Run(Interpreter& in, const CommandCall& call) {
  if (!call.value1) return;
  Value directory = in.variable("DSTDIR");
  ShellExecuteA(nullptr, "open", call.value1->c_str(), call.value2 ? call.value2->c_str() : nullptr,
                directory ? directory->c_str() : nullptr, SW_SHOWDEFAULT);
}

// The program's whole command line is b: its own name is not put first.
void RunWait(Interpreter&, const CommandCall& call) {
  if (!call.value1) return;
  for (const std::string& candidate : spawnCandidates(*call.value1, environmentPath())) {
    if (!isFile(candidate)) continue;
    std::string commandLine = textOf(call.value2);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(candidate.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
      return;
    }
    win::UniqueHandle processHandle(process.hProcess);
    win::UniqueHandle threadHandle(process.hThread);
    WaitForSingleObject(processHandle.get(), INFINITE);
    return;
  }
}

}  // namespace setup::win32
