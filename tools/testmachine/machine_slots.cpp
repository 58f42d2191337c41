// The callback table handed to plug-ins. Every slot is C-callable: nothing
// thrown inside gets past it, and every misuse becomes a recorded fault.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "test_machine.h"
#include "values.h"

namespace testvm {

namespace {
// Runs a slot's body; anything thrown (only std::bad_alloc can be) becomes
// the slot's failure value.
template <typename R, typename Body>
R guarded(R failure, Body&& body) {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}
}  // namespace

struct MachineSlots {
  static TestMachine* owner(VmMachine* m) {
    return m != nullptr ? reinterpret_cast<TestMachine::Handle*>(m)->owner : nullptr;
  }

  // The stack index of depth below the top, or -1 after a fault.
  static long slotOf(TestMachine& t, const char* who, int depth) {
    const size_t usable = t.stack_.size() - t.stackFloor_;
    if (depth < 0 || static_cast<size_t>(depth) >= usable) {
      t.fault(std::string(who) + ": depth " + std::to_string(depth) + " beyond the " +
              std::to_string(usable) + " values within reach");
      return -1;
    }
    return static_cast<long>(t.stack_.size()) - 1 - depth;
  }

  static int VMCALL push(VmMachine* m, VmValue v) {
    TestMachine* t = owner(m);
    if (t == nullptr) return kBadRequest;
    return guarded(kPushFailed, [&] { return t->pluginPush(v); });
  }

  static VmValue VMCALL pop(VmMachine* m) {
    TestMachine* t = owner(m);
    if (t == nullptr) return vm::kNil;
    return guarded(vm::kNil, [&] { return t->pop("vmPop"); });
  }

  static VmValue VMCALL peek(VmMachine* m, int depth) {
    TestMachine* t = owner(m);
    if (t == nullptr) return vm::kNil;
    return guarded(vm::kNil, [&] {
      const long at = slotOf(*t, "vmPeek", depth);
      return at >= 0 ? t->stack_[at] : vm::kNil;
    });
  }

  static void VMCALL poke(VmMachine* m, int depth, VmValue v) {
    TestMachine* t = owner(m);
    if (t == nullptr) return;
    guarded(0, [&] {
      const long at = slotOf(*t, "vmPoke", depth);
      if (at >= 0) t->stack_[at] = v;
      return 0;
    });
  }

  static int32_t VMCALL getWord(VmMachine* m, int block, int k) {
    TestMachine* t = owner(m);
    if (t == nullptr) return 0;
    return guarded(0, [&] { return t->checkWord("vmGetWord", block, k) ? t->data(block)[k] : 0; });
  }

  static void VMCALL setWord(VmMachine* m, int block, int k, int32_t value) {
    TestMachine* t = owner(m);
    if (t == nullptr) return;
    guarded(0, [&] {
      if (t->checkWord("vmSetWord", block, k)) t->data(block)[k] = value;
      return 0;
    });
  }

  static int32_t* VMCALL blockData(VmMachine* m, int block) {
    TestMachine* t = owner(m);
    if (t == nullptr) return nullptr;
    return guarded(t->guard_.data(), [&] {
      return t->checkBlock("vmBlockData", block) != nullptr ? t->data(block) : t->guard();
    });
  }

  static char* VMCALL stringData(VmMachine* m, int block) {
    TestMachine* t = owner(m);
    if (t == nullptr) return nullptr;
    auto* guardChars = reinterpret_cast<char*>(t->guard_.data());
    return guarded(guardChars, [&] {
      const TestMachine::BlockInfo* info = t->checkBlock("vmStringData", block);
      if (info == nullptr) return reinterpret_cast<char*>(t->guard());
      if (info->kind != kVmRawBlock || info->words < 1) {
        t->fault("vmStringData: block " + std::to_string(block) + " is not a string");
        return reinterpret_cast<char*>(t->guard());
      }
      return reinterpret_cast<char*>(t->data(block) + 1);
    });
  }

  static int VMCALL alloc(VmMachine* m, int words, int kind) {
    TestMachine* t = owner(m);
    if (t == nullptr) return kBadRequest;
    return guarded(kAllocFailed, [&] { return t->pluginAlloc(words, kind); });
  }

  static int VMCALL pushString(VmMachine* m, const char* text) {
    TestMachine* t = owner(m);
    if (t == nullptr) return kBadRequest;
    return guarded(kAllocFailed, [&] {
      if (text == nullptr) {
        t->fault("vmPushString: null text");
        return kBadRequest;
      }
      const size_t length = std::strlen(text);
      const int words = 1 + static_cast<int>((length + 1 + 3) / 4);
      const int block = t->pluginAlloc(words, kVmRawBlock);
      if (block < 0) return block;
      t->data(block)[vmlayout::kStringLength] = static_cast<int32_t>(length);
      std::memcpy(t->data(block) + 1, text, length + 1);
      return t->pluginPush(vm::makeRef(block));
    });
  }

  // Pops the count n, then n values; pushes their tuple. Nothing is popped
  // when the count is bad or the allocation fails.
  static int VMCALL makeTuple(VmMachine* m) {
    TestMachine* t = owner(m);
    if (t == nullptr) return kBadRequest;
    return guarded(kAllocFailed, [&] {
      const long at = slotOf(*t, "vmMakeTuple", 0);
      if (at < 0) return kBadRequest;
      const VmValue count = t->stack_[at];
      const size_t usable = t->stack_.size() - t->stackFloor_ - 1;
      if (!vm::isInt(count) || vm::intOf(count) < 0 ||
          static_cast<size_t>(vm::intOf(count)) > usable) {
        t->fault("vmMakeTuple: count word " + std::to_string(count) + " with " +
                 std::to_string(usable) + " values within reach");
        return kBadRequest;
      }
      const int n = vm::intOf(count);
      const int block = t->pluginAlloc(n, kVmTupleBlock);
      if (block < 0) return block;
      t->stack_.pop_back();
      for (int k = n - 1; k >= 0; --k) {
        t->data(block)[k] = t->stack_.back();
        t->stack_.pop_back();
      }
      return t->pluginPush(vm::makeRef(block));
    });
  }

  static int VMCALL registerPackage(VmMachine* m, const char* package, int count,
                                    const char* const* names, const VmPrimitive* functions,
                                    const int* argCounts, const char* const* types) {
    TestMachine* t = owner(m);
    if (t == nullptr) return kBadRequest;
    return guarded(kAllocFailed, [&] {
      return t->registerPackage(package, count, names, functions, argCounts, types);
    });
  }

  static void VMCALL log(int, const char* format, ...) {
    TestMachine* t = TestMachine::current();
    if (t == nullptr || format == nullptr) return;
    char buffer[4096];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    guarded(0, [&] {
      t->appendLog(buffer);
      return 0;
    });
  }
};

void installSlots(VmCallbacks& table) {
  table = VmCallbacks{};
  table.vmPush = &MachineSlots::push;
  table.vmPop = &MachineSlots::pop;
  table.vmPeek = &MachineSlots::peek;
  table.vmPoke = &MachineSlots::poke;
  table.vmGetWord = &MachineSlots::getWord;
  table.vmSetWord = &MachineSlots::setWord;
  table.vmBlockData = &MachineSlots::blockData;
  table.vmStringData = &MachineSlots::stringData;
  table.vmAlloc = &MachineSlots::alloc;
  table.vmPushString = &MachineSlots::pushString;
  table.vmMakeTuple = &MachineSlots::makeTuple;
  table.vmRegisterPackage = &MachineSlots::registerPackage;
  table.vmLog = &MachineSlots::log;
}

}  // namespace testvm
