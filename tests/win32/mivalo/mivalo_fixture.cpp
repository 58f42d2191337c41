#include "mivalo_fixture.h"

#include <tlhelp32.h>

#include <fstream>

namespace mivalotest {

void MivaloTest::SetUp() {
  machine = std::make_unique<TestMachine>();
  ASSERT_TRUE(machine->loadPlugin("Mivalo.dll", "VOXAloadMivalo")) << machine->lastError();
  // A window that is never shown: under Xvfb without a window manager,
  // showing and destroying a window waits for X events that never come.
  hiddenWindow_ = CreateWindowExA(0, "STATIC", "mivalo test", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(hiddenWindow_, nullptr);
  window = machine->makeWindow(hiddenWindow_);
  machine->clearLog();
}

void MivaloTest::TearDown() {
  if (machine) {
    for (const std::string& fault : machine->faults()) ADD_FAILURE() << "machine fault: " << fault;
  }
  machine.reset();
  if (hiddenWindow_ != nullptr) DestroyWindow(hiddenWindow_);
  for (const std::string& path : files_) DeleteFileA(path.c_str());
}

VmValue MivaloTest::call(const std::string& name, const std::vector<VmValue>& args) {
  const TestMachine::CallResult r = machine->call(name, args);
  EXPECT_EQ(r.code, 0) << name;
  return r.value;
}

int MivaloTest::intOf(VmValue v) {
  EXPECT_TRUE(vm::isInt(v)) << "value " << v << " is not an integer";
  return vm::intOf(v);
}

std::vector<int> MivaloTest::ints(VmValue tuple) {
  std::vector<int> out;
  for (VmValue v : machine->tupleOf(tuple)) out.push_back(intOf(v));
  return out;
}

std::vector<float> MivaloTest::floats(VmValue tuple) {
  std::vector<float> out;
  for (VmValue v : machine->tupleOf(tuple)) out.push_back(machine->floatOf(v));
  return out;
}

VmValue MivaloTest::openDevice(int level, int channels, int rate, int bits) {
  return call("_InitDirectSound", {I(channels), I(rate), I(bits), I(level), window});
}

IDirectSoundBuffer* MivaloTest::bufferOf(VmValue buffer) {
  const VmValue block = machine->word(buffer, 0);
  return reinterpret_cast<IDirectSoundBuffer*>(
      static_cast<uintptr_t>(static_cast<uint32_t>(machine->word(block, 0))));
}

IDirectSound3DBuffer* MivaloTest::buffer3dOf(VmValue buffer) {
  const VmValue block = machine->word(buffer, 1);
  return reinterpret_cast<IDirectSound3DBuffer*>(
      static_cast<uintptr_t>(static_cast<uint32_t>(machine->word(block, 0))));
}

std::vector<std::string> MivaloTest::logLinesStarting(const std::string& prefix) const {
  std::vector<std::string> lines;
  for (const std::string& line : log()) {
    if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
  }
  return lines;
}

int MivaloTest::countLog(const std::string& line) const {
  int n = 0;
  for (const std::string& l : log()) n += l == line ? 1 : 0;
  return n;
}

bool MivaloTest::waitForLog(const std::string& line, int count, int timeoutMs) const {
  const DWORD start = GetTickCount();
  while (countLog(line) < count) {
    if (static_cast<int>(GetTickCount() - start) > timeoutMs) return false;
    Sleep(10);
  }
  return true;
}

std::string MivaloTest::tempFile(const std::string& bytes, const std::string& suffix) {
  static int counter = 0;
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string path = std::string(folder) + "mivalo" + std::to_string(GetCurrentProcessId()) +
                           "_" + std::to_string(++counter) + suffix;
  std::ofstream(path, std::ios::binary) << bytes;
  files_.push_back(path);
  return path;
}

int threadCount() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int n = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++n;
  }
  CloseHandle(snapshot);
  return n;
}

int openHandleCount() {
  int n = 0;
  for (uintptr_t value = 4; value < 0x10000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++n;
  }
  return n;
}

bool waitForThreads(int n, int timeoutMs) {
  const DWORD start = GetTickCount();
  while (threadCount() > n) {
    if (static_cast<int>(GetTickCount() - start) > timeoutMs) return false;
    Sleep(10);
  }
  return true;
}

std::string systemText(HRESULT code) {
  char text[512] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           static_cast<DWORD>(code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                           text, sizeof text, nullptr);
  while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r')) text[--n] = '\0';
  return text;
}

}  // namespace mivalotest
