// The callback table used directly: stack slots, honesty checks and the
// fault injection plug-ins use to test their failure paths.
#include <gtest/gtest.h>

#include "test_machine.h"
#include "values.h"

namespace testvm {
namespace {

class MachineSlots : public ::testing::Test {
 protected:
  TestMachine machine;
  VmMachine* m = machine.handle();
  VmCallbacks& cb = *machine.callbacks();
};

TEST_F(MachineSlots, StackPushPopPeekPoke) {
  EXPECT_EQ(cb.vmPush(m, 10), 0);
  EXPECT_EQ(cb.vmPush(m, 20), 0);
  EXPECT_EQ(cb.vmPeek(m, 0), 20);
  EXPECT_EQ(cb.vmPeek(m, 1), 10);
  cb.vmPoke(m, 1, 30);
  EXPECT_EQ(machine.stackDepth(), 2u);
  EXPECT_EQ(cb.vmPop(m), 20);
  EXPECT_EQ(cb.vmPop(m), 30);
  EXPECT_TRUE(machine.faults().empty());
}

TEST_F(MachineSlots, StackMisuseIsAFault) {
  cb.vmPush(m, 4);
  EXPECT_EQ(cb.vmPeek(m, 1), vm::kNil);
  cb.vmPoke(m, 5, 8);
  cb.vmPoke(m, -1, 8);
  EXPECT_EQ(cb.vmPop(m), 4);
  EXPECT_EQ(cb.vmPop(m), vm::kNil);
  EXPECT_EQ(machine.faults().size(), 4u);
  EXPECT_EQ(machine.stackDepth(), 0u);
}

TEST_F(MachineSlots, BadBlockNumbersAreFaultsNotCrashes) {
  const VmValue r = machine.makeRecord({5, 6});
  const int block = vm::blockOf(r);
  EXPECT_EQ(cb.vmGetWord(m, block, 1), 6);
  EXPECT_TRUE(machine.faults().empty());

  EXPECT_EQ(cb.vmGetWord(m, block, 2), 0);        // word past the end
  EXPECT_EQ(cb.vmGetWord(m, block + 1, 0), 0);    // inside, not a start
  EXPECT_EQ(cb.vmGetWord(m, 1 << 28, 0), 0);      // out of range
  EXPECT_EQ(cb.vmGetWord(m, -7, 0), 0);
  cb.vmSetWord(m, block, -1, 99);
  ASSERT_EQ(machine.faults().size(), 5u);
  EXPECT_NE(machine.faults()[1].find("not a block start"), std::string::npos);
  EXPECT_NE(machine.faults()[2].find("out of range"), std::string::npos);
  EXPECT_EQ(machine.handle()->memory[block + 2], TestMachine::kHeaderTag);  // header intact

  int32_t* guard = cb.vmBlockData(m, block + 1);
  ASSERT_NE(guard, nullptr);
  EXPECT_EQ(guard[0], 0);
  const char* chars = cb.vmStringData(m, -3);
  ASSERT_NE(chars, nullptr);
  EXPECT_EQ(chars[0], '\0');
  EXPECT_EQ(machine.faults().size(), 7u);
}

TEST_F(MachineSlots, AllocGivesZeroedRawAndNilTupleBlocks) {
  const int raw = cb.vmAlloc(m, 3, kVmRawBlock);
  const int tuple = cb.vmAlloc(m, 2, kVmTupleBlock);
  ASSERT_GE(raw, 0);
  ASSERT_GE(tuple, 0);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(cb.vmGetWord(m, raw, k), 0);
  for (int k = 0; k < 2; ++k) EXPECT_EQ(cb.vmGetWord(m, tuple, k), vm::kNil);
  EXPECT_EQ(cb.vmAlloc(m, -1, kVmRawBlock), kBadRequest);
  EXPECT_EQ(machine.faults().size(), 1u);
}

TEST_F(MachineSlots, AllocFailsWhenMemoryIsFull) {
  TestMachine small(256);
  EXPECT_EQ(small.callbacks()->vmAlloc(small.handle(), 1000, kVmRawBlock), kAllocFailed);
  EXPECT_TRUE(small.faults().empty());  // a real failure, not a misuse
}

TEST_F(MachineSlots, InjectedFailuresAreOneShotAndCounted) {
  machine.failAllocAt(2);
  EXPECT_GE(cb.vmAlloc(m, 1, kVmRawBlock), 0);
  EXPECT_EQ(cb.vmAlloc(m, 1, kVmRawBlock), kAllocFailed);
  EXPECT_GE(cb.vmAlloc(m, 1, kVmRawBlock), 0);

  machine.failPushAt(1);
  EXPECT_EQ(cb.vmPush(m, 2), kPushFailed);
  EXPECT_EQ(machine.stackDepth(), 0u);
  EXPECT_EQ(cb.vmPush(m, 2), 0);

  machine.failAllocAt(1);
  machine.failAllocAt(0);  // cancelled
  EXPECT_GE(cb.vmAlloc(m, 1, kVmRawBlock), 0);
  EXPECT_TRUE(machine.faults().empty());
}

TEST_F(MachineSlots, PushStringCopiesAndFailsThroughAllocAndPush) {
  char text[] = "hello";
  EXPECT_EQ(cb.vmPushString(m, text), 0);
  text[0] = 'j';
  EXPECT_EQ(machine.stringOf(cb.vmPop(m)), "hello");

  machine.failAllocAt(1);
  EXPECT_EQ(cb.vmPushString(m, "x"), kAllocFailed);
  machine.failPushAt(1);
  EXPECT_EQ(cb.vmPushString(m, "x"), kPushFailed);
  EXPECT_EQ(machine.stackDepth(), 0u);
}

TEST_F(MachineSlots, MakeTupleTakesDeepestValueFirst) {
  cb.vmPush(m, vm::makeInt(1));
  cb.vmPush(m, vm::makeInt(2));
  cb.vmPush(m, vm::makeInt(3));
  cb.vmPush(m, vm::makeInt(3));
  EXPECT_EQ(cb.vmMakeTuple(m), 0);
  ASSERT_EQ(machine.stackDepth(), 1u);
  EXPECT_EQ(machine.tupleOf(cb.vmPop(m)), (std::vector<VmValue>{2, 4, 6}));

  cb.vmPush(m, vm::makeInt(0));
  EXPECT_EQ(cb.vmMakeTuple(m), 0);
  EXPECT_TRUE(machine.tupleOf(cb.vmPop(m)).empty());
  EXPECT_TRUE(machine.faults().empty());
}

TEST_F(MachineSlots, MakeTupleFailures) {
  cb.vmPush(m, vm::makeInt(7));
  cb.vmPush(m, vm::makeInt(1));
  machine.failAllocAt(1);
  EXPECT_EQ(cb.vmMakeTuple(m), kAllocFailed);
  EXPECT_EQ(machine.stackDepth(), 2u);  // nothing taken
  machine.failPushAt(1);
  EXPECT_EQ(cb.vmMakeTuple(m), kPushFailed);
  EXPECT_EQ(machine.stackDepth(), 0u);
  EXPECT_TRUE(machine.faults().empty());

  cb.vmPush(m, vm::makeInt(5));  // more than the stack holds
  EXPECT_EQ(cb.vmMakeTuple(m), kBadRequest);
  EXPECT_EQ(machine.faults().size(), 1u);
}

TEST_F(MachineSlots, LogSplitsLinesAndKeepsAPartialOne) {
  cb.vmLog(0, "one %d\ntwo", 1);
  cb.vmLog(0, " %s\nthree", "more");
  EXPECT_EQ(machine.logLines(), (std::vector<std::string>{"one 1", "two more", "three"}));
  machine.clearLog();
  EXPECT_TRUE(machine.logLines().empty());
}

TEST_F(MachineSlots, LogIsBoundedAndGoesToTheNewestMachine) {
  const std::string big(10000, 'x');
  cb.vmLog(0, "%s", big.c_str());
  ASSERT_EQ(machine.logLines().size(), 1u);
  EXPECT_LT(machine.logLines()[0].size(), big.size());
  {
    TestMachine inner;
    EXPECT_EQ(TestMachine::current(), &inner);
    cb.vmLog(0, "to inner");
    EXPECT_EQ(inner.logLines().size(), 1u);
  }
  EXPECT_EQ(TestMachine::current(), &machine);
}

}  // namespace
}  // namespace testvm
