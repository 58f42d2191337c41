#include "test_machine.h"

#include <atomic>

#include "pe_exports.h"
#include "type_string.h"
#include "values.h"

namespace testvm {

namespace {
std::atomic<TestMachine*> currentMachine{nullptr};

std::string text(const char* s) { return s != nullptr ? s : ""; }
}  // namespace

void installSlots(VmCallbacks& table);  // machine_slots.cpp

TestMachine::TestMachine(size_t memoryWords)
    : memory_(new int32_t[memoryWords]()), memoryWords_(memoryWords) {
  handle_.vm.memory = memory_.get();
  handle_.owner = this;
  installSlots(table_);
  previous_ = currentMachine.exchange(this);
}

TestMachine::~TestMachine() {
  TestMachine* self = this;
  currentMachine.compare_exchange_strong(self, previous_);
}

TestMachine* TestMachine::current() { return currentMachine.load(); }

bool TestMachine::loadPlugin(const std::string& dllPath, const std::string& loadExport) {
  UniqueModule module(LoadLibraryA(dllPath.c_str()));
  if (!module) {
    lastError_ = "cannot load " + dllPath + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  std::string name = loadExport.empty() ? findExport(module.get(), "VOXAload") : loadExport;
  if (name.empty()) {
    lastError_ = dllPath + " exports no VOXAload function";
    return false;
  }
  FARPROC proc = GetProcAddress(module.get(), name.c_str());
  if (proc == nullptr) {
    lastError_ = dllPath + " does not export " + name;
    return false;
  }
  auto load = reinterpret_cast<VmLoadExport>(reinterpret_cast<void*>(proc));
  modules_.push_back(std::move(module));
  loadResult_ = load(handle(), callbacks());
  lastError_.clear();
  return true;
}

const TestMachine::Entry* TestMachine::findPrimitive(const std::string& name) const {
  for (const Package& package : packages_) {
    for (const Entry& entry : package.entries) {
      if (!entry.opaque && entry.name == name) return &entry;
    }
  }
  return nullptr;
}

int TestMachine::registerPackage(const char* package, int count, const char* const* names,
                                 const VmPrimitive* functions, const int* argCounts,
                                 const char* const* types) {
  Package record{text(package), {}};
  if (package == nullptr) fault("vmRegisterPackage: no package name");
  if (count < 0 || (count > 0 && (names == nullptr || functions == nullptr ||
                                  argCounts == nullptr || types == nullptr))) {
    fault("vmRegisterPackage " + record.name + ": bad count or missing arrays");
    return kBadRequest;
  }
  for (int i = 0; i < count; ++i) {
    Entry entry{text(names[i]), functions[i], argCounts[i], text(types[i]), false};
    std::string where = "vmRegisterPackage " + record.name + " entry " + std::to_string(i);
    if (names[i] == nullptr) fault(where + ": no name");
    for (const Entry& earlier : record.entries) {
      if (names[i] != nullptr && earlier.name == entry.name) fault(where + " (" + entry.name + "): the name again");
    }
    if (entry.argCount == kVmOpaqueType) {
      entry.opaque = true;
      if (functions[i] != nullptr || types[i] != nullptr) {
        fault(where + " (" + entry.name + "): an opaque type has no function and no type");
      }
    } else if (entry.argCount < 0) {
      fault(where + " (" + entry.name + "): argument count " + std::to_string(entry.argCount));
    } else if (functions[i] == nullptr || types[i] == nullptr) {
      fault(where + " (" + entry.name + "): no function or no type");
    } else if (auto signature = parseSignature(entry.type); !signature) {
      fault(where + " (" + entry.name + "): type \"" + entry.type + "\" does not parse");
    } else if (static_cast<int>(signature->params.size()) != entry.argCount) {
      fault(where + " (" + entry.name + "): type \"" + entry.type + "\" does not take " +
            std::to_string(entry.argCount) + " arguments");
    }
    record.entries.push_back(std::move(entry));
  }
  packages_.push_back(std::move(record));
  return registerResult_;
}

TestMachine::CallResult TestMachine::call(const std::string& name,
                                          const std::vector<VmValue>& args) {
  const Entry* entry = findPrimitive(name);
  if (entry == nullptr || entry->function == nullptr) {
    fault("call: unknown primitive " + name);
    return {0, vm::kNil};
  }
  if (static_cast<int>(args.size()) != entry->argCount) {
    fault("call " + name + ": " + std::to_string(args.size()) + " arguments, registered with " +
          std::to_string(entry->argCount));
    return {0, vm::kNil};
  }
  const size_t before = stack_.size();
  const size_t outerFloor = stackFloor_;
  stackFloor_ = before;
  stack_.insert(stack_.end(), args.begin(), args.end());
  pushFailed_ = false;
  const int code = entry->function(handle());
  stackFloor_ = outerFloor;

  const size_t left = stack_.size() - before;
  if (code == 0 && left != 1) {
    fault("primitive " + name + " left " + std::to_string(left) + " values instead of 1");
  }
  // A failure leaves nil as the result and nothing of what was pushed; no
  // value at all only when the push of the result itself failed.
  if (code != 0) {
    const std::string failed = "primitive " + name + " returned " + std::to_string(code);
    if (left > 1) {
      fault(failed + " and left " + std::to_string(left) + " values instead of nil");
    } else if (left == 1 && !vm::isNil(stack_.back())) {
      fault(failed + " and left " + std::to_string(stack_.back()) + " instead of nil");
    } else if (left == 0 && !pushFailed_) {
      fault(failed + " and left no value instead of nil");
    }
  }
  const bool hasResult = code == 0 ? left > 0 : left == 1;
  const VmValue result = hasResult ? stack_.back() : vm::kNil;
  stack_.resize(before);
  return {code, result};
}

int TestMachine::allocate(int words, int kind) {
  const size_t need = static_cast<size_t>(vmlayout::kHeaderWords) + static_cast<size_t>(words);
  if (words < 0 || need > memoryWords_ - nextFree_) return kAllocFailed;
  const auto block = static_cast<int32_t>(nextFree_);
  nextFree_ += need;
  int32_t* header = memory_.get() + block;
  header[0] = words;
  header[1] = kind;
  header[2] = kHeaderTag;
  const int32_t fill = kind == kVmTupleBlock ? vm::kNil : rawFill_;
  for (int k = 0; k < words; ++k) data(block)[k] = fill;
  blocks_[block] = BlockInfo{words, kind};
  return block;
}

int TestMachine::pluginAlloc(int words, int kind) {
  if (words < 0 || (kind != kVmRawBlock && kind != kVmTupleBlock)) {
    fault("vmAlloc: bad request of " + std::to_string(words) + " words of kind " +
          std::to_string(kind));
    return kBadRequest;
  }
  if (allocFailCountdown_ > 0 && --allocFailCountdown_ == 0) return kAllocFailed;
  return allocate(words, kind);
}

int TestMachine::pluginPush(VmValue v) {
  if (pushFailCountdown_ > 0 && --pushFailCountdown_ == 0) {
    pushFailed_ = true;
    return kPushFailed;
  }
  stack_.push_back(v);
  return 0;
}

VmValue TestMachine::pop(const char* who) {
  if (stack_.size() <= stackFloor_) {
    fault(std::string(who) + ": nothing left to pop");
    return vm::kNil;
  }
  VmValue v = stack_.back();
  stack_.pop_back();
  return v;
}

const TestMachine::BlockInfo* TestMachine::checkBlock(const char* who, int32_t block) {
  auto it = blocks_.find(block);
  if (it == blocks_.end()) {
    const bool inside = block >= 0 && static_cast<size_t>(block) < nextFree_;
    fault(std::string(who) + ": block " + std::to_string(block) +
          (inside ? " is not a block start" : " is out of range"));
    return nullptr;
  }
  return &it->second;
}

bool TestMachine::checkWord(const char* who, int32_t block, int k) {
  const BlockInfo* info = checkBlock(who, block);
  if (info == nullptr) return false;
  if (k < 0 || k >= info->words) {
    fault(std::string(who) + ": word " + std::to_string(k) + " outside block " +
          std::to_string(block) + " of " + std::to_string(info->words) + " words");
    return false;
  }
  return true;
}

const TestMachine::BlockInfo* TestMachine::checkRef(const char* who, VmValue v) {
  if (!vm::isRef(v)) {
    fault(std::string(who) + ": value " + std::to_string(v) + " is not a reference");
    return nullptr;
  }
  return checkBlock(who, vm::blockOf(v));
}

std::optional<TestMachine::BlockInfo> TestMachine::blockInfo(VmValue ref) const {
  if (!vm::isRef(ref)) return std::nullopt;
  auto it = blocks_.find(vm::blockOf(ref));
  if (it == blocks_.end()) return std::nullopt;
  return it->second;
}

const int32_t* TestMachine::blockWords(VmValue ref) const {
  if (!blockInfo(ref)) return nullptr;
  return memory_.get() + vm::blockOf(ref) + vmlayout::kHeaderWords;
}

int32_t* TestMachine::guard() {
  guard_.fill(0);
  return guard_.data();
}

void TestMachine::fault(const std::string& text) {
  LockHolder hold(lock_);
  faults_.push_back(text);
}

void TestMachine::clearFaults() {
  LockHolder hold(lock_);
  faults_.clear();
}

void TestMachine::appendLog(const char* text) {
  LockHolder hold(lock_);
  log_ += text;
}

std::vector<std::string> TestMachine::logLines() const {
  LockHolder hold(lock_);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < log_.size()) {
    size_t end = log_.find('\n', start);
    if (end == std::string::npos) end = log_.size();
    lines.push_back(log_.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

void TestMachine::clearLog() {
  LockHolder hold(lock_);
  log_.clear();
}

void TestMachine::pumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace testvm
