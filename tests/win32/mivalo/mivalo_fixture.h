// What the Mivalo tests share: the test machine with Mivalo.dll loaded and a
// window, calls that expect a clean return, the log, the DirectSound objects
// behind values, wave files in the temporary folder, and the process's
// threads and handles for leak checks.
#pragma once

#include <windows.h>

#include <dsound.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "test_machine.h"
#include "values.h"

namespace mivalotest {

using testvm::TestMachine;

constexpr VmValue kNil = vm::kNil;
inline VmValue I(int n) { return vm::makeInt(n); }

class MivaloTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Calls a primitive that must return 0 and leave one result.
  VmValue call(const std::string& name, const std::vector<VmValue>& args);
  VmValue F(float x) { return machine->makeFloat(x); }
  VmValue S(const std::string& text) { return machine->makeString(text); }
  int intOf(VmValue v);
  float floatOf(VmValue v) { return machine->floatOf(v); }
  std::vector<int> ints(VmValue tuple);
  std::vector<float> floats(VmValue tuple);

  // A device through _InitDirectSound with the machine's window.
  VmValue openDevice(int level = 2, int channels = 2, int rate = 22050, int bits = 16);
  static IDirectSound* deviceOf(VmValue ds) {
    return reinterpret_cast<IDirectSound*>(static_cast<uintptr_t>(static_cast<uint32_t>(ds)));
  }
  // The two pointers of a DSBuffer, read from its blocks.
  IDirectSoundBuffer* bufferOf(VmValue buffer);
  IDirectSound3DBuffer* buffer3dOf(VmValue buffer);

  std::vector<std::string> log() const { return machine->logLines(); }
  // Log lines that start with prefix.
  std::vector<std::string> logLinesStarting(const std::string& prefix) const;
  int countLog(const std::string& line) const;
  // Waits until line has been logged count times; false after timeoutMs.
  bool waitForLog(const std::string& line, int count = 1, int timeoutMs = 5000) const;

  // A file in the temporary folder holding bytes; removed at TearDown.
  std::string tempFile(const std::string& bytes, const std::string& suffix = ".wav");

  std::unique_ptr<TestMachine> machine;
  VmValue window = kNil;

 private:
  std::vector<std::string> files_;
  HWND hiddenWindow_ = nullptr;
};

// The process's threads, for checks that a stream's thread has ended.
int threadCount();
// Handles open in the process, counted by probing handle values.
int openHandleCount();
// Waits until threadCount() is at most n; false after timeoutMs.
bool waitForThreads(int n, int timeoutMs = 3000);

// A COM report line's text for code, as the system gives it.
std::string systemText(HRESULT code);

}  // namespace mivalotest
