// A stand-in for the outside virtual machine: one word memory that never
// moves, a value stack, the callback table plug-ins receive, and checks that
// record every misuse of the interface as a fault instead of crashing.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "vmapi.h"
#include "common/win32/handles.h"

namespace testvm {

using win::UniqueModule;
using win::UniqueWindow;
using win::Lock;
using win::LockHolder;
using win::UniqueHandle;

// Codes the callbacks return on failure.
constexpr int kAllocFailed = -2;  // vmAlloc (and what allocates through it)
constexpr int kPushFailed = -3;   // vmPush (and what pushes through it)
constexpr int kBadRequest = -4;   // a request the machine refuses, recorded as a fault

class TestMachine {
 public:
  struct Entry {
    std::string name;
    VmPrimitive function = nullptr;
    int argCount = 0;
    std::string type;
    bool opaque = false;
  };
  struct Package {
    std::string name;
    std::vector<Entry> entries;
  };
  struct CallResult {
    int code;
    VmValue value;
  };
  struct BlockInfo {
    int32_t words;
    int kind;
  };

  static constexpr size_t kDefaultMemoryWords = size_t{1} << 22;
  // Word of the block header after the size and the kind.
  static constexpr int32_t kHeaderTag = 0x7E57B10C;
  // Block number of the first allocation; lower numbers are never blocks.
  static constexpr int32_t kFirstBlock = 8;

  // The new machine becomes the process's current machine, the one vmLog
  // writes to.
  explicit TestMachine(size_t memoryWords = kDefaultMemoryWords);
  ~TestMachine();
  TestMachine(const TestMachine&) = delete;
  TestMachine& operator=(const TestMachine&) = delete;

  VmMachine* handle() { return &handle_.vm; }
  VmCallbacks* callbacks() { return &table_; }
  static TestMachine* current();

  // Loads a plug-in and calls its load export, named or (when loadExport is
  // empty) the first export whose name starts with "VOXAload". The module
  // stays loaded until the machine is destroyed.
  bool loadPlugin(const std::string& dllPath, const std::string& loadExport = "");
  int loadResult() const { return loadResult_; }
  std::string lastError() const { return lastError_; }

  const std::vector<Package>& packages() const { return packages_; }
  // A registered primitive (not an opaque type) by name, or nullptr.
  const Entry* findPrimitive(const std::string& name) const;
  void setRegisterResult(int result) { registerResult_ = result; }

  // Makers. They never fail by injection; when memory is full they record a
  // fault and give nil.
  VmValue makeInt(int32_t n);
  VmValue makeFloat(float f);
  VmValue makeString(const std::string& text);
  VmValue makeTuple(const std::vector<VmValue>& elements);
  VmValue makeRecord(const std::vector<int32_t>& words);
  VmValue makeObject(int32_t kind, VmValue record);
  // An ObjBitmap whose zeroed pixels the machine owns at a fixed address.
  VmValue makeBitmap(int width, int height);
  // An ObjWin holding a window the machine creates and destroys.
  VmValue makeWindow(int width = 640, int height = 480);
  VmValue makeWindow(HWND window);
  // A File holding a handle the caller keeps owning.
  VmValue makeFile(HANDLE file);

  // Readers. A value that is not what they read records a fault.
  float floatOf(VmValue v);
  std::string stringOf(VmValue v);
  std::vector<VmValue> tupleOf(VmValue v);
  uint16_t* bitmapPixels(VmValue bitmap);
  int bitmapWidth(VmValue bitmap);
  int bitmapHeight(VmValue bitmap);
  int32_t word(VmValue ref, int k);

  // Silent queries, for code that decides what a value is.
  std::optional<BlockInfo> blockInfo(VmValue ref) const;
  // Data word 0 of the block ref names, or nullptr when it names none.
  const int32_t* blockWords(VmValue ref) const;
  bool isFloat(VmValue v) const;
  bool isBitmap(VmValue v) const;

  // Pushes args in order, calls the primitive and pops its one result; the
  // stack is then as before the call. A primitive that returns 0 must leave
  // exactly one value above the stack it found, and no primitive reaches
  // below its arguments. One that returns a failure code must leave nil
  // alone, or nothing when the push of its result failed; anything else is
  // a fault. Unknown names and wrong argument counts are faults and give
  // {0, nil}.
  CallResult call(const std::string& name, const std::vector<VmValue>& args);

  // The n-th plug-in vmAlloc / vmPush from now fails (1 = the next one);
  // 0 = never. One shot.
  void failAllocAt(int n) { allocFailCountdown_ = n; }
  void failPushAt(int n) { pushFailCountdown_ = n; }
  // The word new raw blocks hold until written (0 by default): a machine's
  // heap need not be cleared, and a plug-in must not rely on it.
  void setRawFill(int32_t word) { rawFill_ = word; }

  const std::vector<std::string>& faults() const { return faults_; }
  void clearFaults();

  std::vector<std::string> logLines() const;
  void clearLog();

  size_t stackDepth() const { return stack_.size(); }
  // Dispatches the window messages waiting for this thread.
  void pumpMessages();

 private:
  friend struct MachineSlots;
  struct Handle {
    VmMachine vm;
    TestMachine* owner;
  };
  struct ClassRegistration {
    ATOM atom = 0;
    ~ClassRegistration();
  };

  int32_t* data(int32_t block) { return memory_.get() + block + vmlayout::kHeaderWords; }
  int allocate(int words, int kind);
  int pluginAlloc(int words, int kind);
  int pluginPush(VmValue v);
  VmValue pop(const char* who);
  // The block record for a callback's block number, or nullptr after a fault.
  const BlockInfo* checkBlock(const char* who, int32_t block);
  bool checkWord(const char* who, int32_t block, int k);
  const BlockInfo* checkRef(const char* who, VmValue v);
  int32_t* guard();
  void fault(const std::string& text);
  void appendLog(const char* text);
  int registerPackage(const char* package, int count, const char* const* names,
                      const VmPrimitive* functions, const int* argCounts, const char* const* types);

  Handle handle_{};
  VmCallbacks table_{};
  std::unique_ptr<int32_t[]> memory_;
  size_t memoryWords_;
  size_t nextFree_ = kFirstBlock;
  std::map<int32_t, BlockInfo> blocks_;
  std::array<int32_t, 64> guard_{};
  std::vector<VmValue> stack_;
  size_t stackFloor_ = 0;
  std::vector<std::unique_ptr<uint16_t[]>> pixelStores_;

  std::vector<Package> packages_;
  int registerResult_ = 0;
  int loadResult_ = 0;
  std::string lastError_;
  int allocFailCountdown_ = 0;
  int pushFailCountdown_ = 0;
  int32_t rawFill_ = 0;
  bool pushFailed_ = false;  // an injected push failure during this call

  mutable Lock lock_;  // guards faults_ and log_, which any thread may reach
  std::vector<std::string> faults_;
  std::string log_;

  // Windows go before the modules: a plug-in may have hooked them.
  std::vector<UniqueModule> modules_;
  ClassRegistration windowClass_;
  std::vector<UniqueWindow> windows_;
  TestMachine* previous_ = nullptr;
};

}  // namespace testvm
