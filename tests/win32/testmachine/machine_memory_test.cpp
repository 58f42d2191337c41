// The machine's memory as plug-ins see it: value encodings and block layout.
#include <gtest/gtest.h>

#include "test_machine.h"
#include "values.h"

namespace testvm {
namespace {

// Data word k of the block a reference names, read the way a plug-in reads
// memory directly.
int32_t rawWord(TestMachine& machine, VmValue ref, int k) {
  return machine.handle()->memory[vm::blockOf(ref) + 3 + k];
}

TEST(MachineMemory, ValueEncodings) {
  TestMachine machine;
  EXPECT_EQ(machine.makeInt(0), 0);
  EXPECT_EQ(machine.makeInt(5), 10);
  EXPECT_EQ(machine.makeInt(-1), -2);  // not nil
  EXPECT_NE(machine.makeInt(-1), vm::kNil);
  EXPECT_EQ(machine.makeInt(-(1 << 30)), INT32_MIN);

  const VmValue f = machine.makeFloat(1.5f);
  EXPECT_EQ(f & 1, 1);
  EXPECT_EQ(rawWord(machine, f, 0), 0x3FC00000);
  EXPECT_EQ(machine.floatOf(f), 1.5f);
  EXPECT_TRUE(machine.faults().empty());
}

TEST(MachineMemory, BlocksAreHeaderedWordOffsets) {
  TestMachine machine;
  const VmValue first = machine.makeRecord({11, 22});
  const VmValue second = machine.makeRecord({33});
  const int32_t a = vm::blockOf(first);
  const int32_t b = vm::blockOf(second);
  EXPECT_GE(a, 0);
  EXPECT_EQ(b, a + 3 + 2);  // header of 3 words, then 2 data words
  EXPECT_EQ(machine.handle()->memory[a + 3], 11);
  EXPECT_EQ(machine.handle()->memory[a + 4], 22);
  EXPECT_EQ(machine.handle()->memory[b + 3], 33);
  EXPECT_EQ(machine.callbacks()->vmBlockData(machine.handle(), a), machine.handle()->memory + a + 3);
}

TEST(MachineMemory, MemoryNeverMoves) {
  TestMachine machine(1 << 16);
  int32_t* memory = machine.handle()->memory;
  for (int i = 0; i < 1000; ++i) machine.makeString("some text to fill memory");
  EXPECT_EQ(machine.handle()->memory, memory);
}

TEST(MachineMemory, StringLayout) {
  TestMachine machine;
  const VmValue s = machine.makeString("abcde");
  EXPECT_EQ(rawWord(machine, s, 0), 5);
  const auto* chars = reinterpret_cast<const char*>(machine.handle()->memory + vm::blockOf(s) + 4);
  EXPECT_STREQ(chars, "abcde");
  EXPECT_EQ(machine.callbacks()->vmStringData(machine.handle(), vm::blockOf(s)), chars);
  EXPECT_EQ(machine.stringOf(s), "abcde");
  EXPECT_EQ(machine.stringOf(machine.makeString("")), "");
}

TEST(MachineMemory, TupleLayoutFirstElementInWordZero) {
  TestMachine machine;
  const VmValue inner = machine.makeTuple({machine.makeInt(7)});
  const VmValue t = machine.makeTuple({machine.makeInt(1), vm::kNil, inner});
  EXPECT_EQ(rawWord(machine, t, 0), 2);
  EXPECT_EQ(rawWord(machine, t, 1), -1);
  EXPECT_EQ(rawWord(machine, t, 2), inner);
  EXPECT_EQ(machine.tupleOf(t), (std::vector<VmValue>{2, -1, inner}));
}

TEST(MachineMemory, BitmapObjectLayout) {
  TestMachine machine;
  const VmValue bitmap = machine.makeBitmap(4, 3);
  EXPECT_EQ(rawWord(machine, bitmap, 0), 22);
  const VmValue record = rawWord(machine, bitmap, 2);
  EXPECT_EQ(rawWord(machine, record, 2), 4);
  EXPECT_EQ(rawWord(machine, record, 3), 3);
  auto* pixels = reinterpret_cast<uint16_t*>(static_cast<uintptr_t>(rawWord(machine, record, 9)));
  EXPECT_EQ(pixels, machine.bitmapPixels(bitmap));
  for (int i = 0; i < 12; ++i) EXPECT_EQ(pixels[i], 0);
  EXPECT_EQ(machine.bitmapWidth(bitmap), 4);
  EXPECT_EQ(machine.bitmapHeight(bitmap), 3);
  EXPECT_EQ(vm::bitmapPixels(*machine.callbacks(), machine.handle(), bitmap, 4, 3), pixels);
  EXPECT_EQ(vm::bitmapPixels(*machine.callbacks(), machine.handle(), bitmap, 3, 4), nullptr);
}

TEST(MachineMemory, WindowAndFileObjects) {
  TestMachine machine;
  const VmValue window = machine.makeWindow();
  ASSERT_TRUE(vm::isRef(window));
  EXPECT_EQ(rawWord(machine, window, 0), 2);
  const auto hwnd = reinterpret_cast<HWND>(
      static_cast<uintptr_t>(rawWord(machine, rawWord(machine, window, 2), 5)));
  EXPECT_TRUE(IsWindow(hwnd));

  const VmValue file = machine.makeFile(reinterpret_cast<HANDLE>(0x1234));
  EXPECT_EQ(rawWord(machine, file, 0), 0x1234);

  const VmValue odd = machine.makeObject(99, machine.makeRecord({0, 0, 4, 4}));
  EXPECT_EQ(rawWord(machine, odd, 0), 99);
  EXPECT_FALSE(machine.isBitmap(odd));
  EXPECT_TRUE(machine.faults().empty());
}

TEST(MachineMemory, MakersReportFullMemory) {
  TestMachine machine(64);
  VmValue last = 0;
  for (int i = 0; i < 20 && last != vm::kNil; ++i) last = machine.makeRecord({1, 2, 3, 4});
  EXPECT_EQ(last, vm::kNil);
  EXPECT_FALSE(machine.faults().empty());
}

TEST(MachineMemory, ReadersFaultOnWrongValues) {
  TestMachine machine;
  const VmValue s = machine.makeString("text");
  EXPECT_EQ(machine.floatOf(machine.makeInt(3)), 0.0f);
  EXPECT_EQ(machine.floatOf(s), 0.0f);
  EXPECT_TRUE(machine.tupleOf(s).empty());
  EXPECT_EQ(machine.bitmapPixels(s), nullptr);
  EXPECT_EQ(machine.word(s, 9), 0);
  EXPECT_EQ(machine.stringOf(vm::makeRef(1)), "");
  EXPECT_EQ(machine.faults().size(), 6u);
}

}  // namespace
}  // namespace testvm
