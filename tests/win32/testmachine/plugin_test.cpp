// The machine driving a real plug-in: loading, registration records and
// calls, including the faults a misbehaving primitive leaves.
#include <gtest/gtest.h>

#include "test_machine.h"
#include "test_support.h"
#include "values.h"

namespace testvm {
namespace {

class Plugin : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(machine.loadPlugin(testing::kFixturePlugin, "VOXAloadFIXTURE"))
        << machine.lastError();
    machine.clearLog();
  }
  TestMachine machine;
};

TEST(PluginLoading, FindsTheLoadExportByItsPrefix) {
  TestMachine machine;
  machine.setRegisterResult(7);
  ASSERT_TRUE(machine.loadPlugin(testing::kFixturePlugin)) << machine.lastError();
  EXPECT_EQ(machine.loadResult(), 7);
  EXPECT_EQ(machine.logLines(), std::vector<std::string>{"fixture loading"});
}

TEST(PluginLoading, ReportsMissingModulesAndExports) {
  TestMachine machine;
  EXPECT_FALSE(machine.loadPlugin("C:\\no\\such\\plugin.dll"));
  EXPECT_NE(machine.lastError().find("cannot load"), std::string::npos);
  EXPECT_FALSE(machine.loadPlugin(testing::kFixturePlugin, "VOXAloadOTHER"));
  EXPECT_NE(machine.lastError().find("VOXAloadOTHER"), std::string::npos);
  EXPECT_TRUE(machine.packages().empty());
}

TEST_F(Plugin, RegistrationRecords) {
  ASSERT_EQ(machine.packages().size(), 1u);
  const TestMachine::Package& package = machine.packages()[0];
  EXPECT_EQ(package.name, "fixture");
  ASSERT_EQ(package.entries.size(), 12u);
  const TestMachine::Entry& add = package.entries[0];
  EXPECT_EQ(add.name, "fxAdd");
  EXPECT_EQ(add.argCount, 2);
  EXPECT_EQ(add.type, "fun [I I] I");
  EXPECT_NE(add.function, nullptr);
  EXPECT_FALSE(add.opaque);

  const TestMachine::Entry& thing = package.entries.back();
  EXPECT_EQ(thing.name, "FxThing");
  EXPECT_TRUE(thing.opaque);
  EXPECT_EQ(thing.function, nullptr);
  EXPECT_EQ(machine.findPrimitive("FxThing"), nullptr);
  EXPECT_EQ(machine.findPrimitive("fxNest"), &package.entries[1]);
  EXPECT_TRUE(machine.faults().empty());
}

TEST_F(Plugin, BadRegistrationsAreFaults) {
  VmPrimitive add = machine.findPrimitive("fxAdd")->function;
  const char* names[] = {"wrongCount", "noType", "badType", "wrongCount"};
  const VmPrimitive functions[] = {add, add, add, add};
  const int counts[] = {3, 2, 2, 2};
  const char* types[] = {"fun [I I] I", nullptr, "fun [I I", "fun [I I] I"};
  machine.callbacks()->vmRegisterPackage(machine.handle(), "bad", 4, names, functions, counts,
                                         types);
  ASSERT_EQ(machine.faults().size(), 4u);
  EXPECT_NE(machine.faults()[3].find("wrongCount): the name again"), std::string::npos);
}

TEST_F(Plugin, CallsPassArgumentsInOrder) {
  auto sum = machine.call("fxAdd", {machine.makeInt(40), machine.makeInt(2)});
  EXPECT_EQ(sum.code, 0);
  EXPECT_EQ(sum.value, machine.makeInt(42));
  auto difference = machine.call("fxMinus", {machine.makeInt(10), machine.makeInt(3)});
  EXPECT_EQ(difference.value, machine.makeInt(7));
  auto half = machine.call("fxHalf", {machine.makeFloat(5.0f)});
  EXPECT_EQ(machine.floatOf(half.value), 2.5f);
  EXPECT_EQ(machine.stackDepth(), 0u);
  EXPECT_TRUE(machine.faults().empty());
}

TEST_F(Plugin, TupleBuiltBottomUp) {
  auto nest = machine.call("fxNest", {machine.makeInt(2), machine.makeInt(5)});
  ASSERT_EQ(nest.code, 0);
  auto outer = machine.tupleOf(nest.value);
  ASSERT_EQ(outer.size(), 2u);
  EXPECT_EQ(outer[0], machine.makeInt(2));
  EXPECT_EQ(machine.tupleOf(outer[1]), (std::vector<VmValue>{10, 14}));
  EXPECT_TRUE(machine.faults().empty());
}

TEST_F(Plugin, InjectedFailuresReachThePrimitive) {
  const std::vector<VmValue> args{machine.makeInt(1), machine.makeInt(2)};
  machine.failAllocAt(2);  // the outer tuple
  auto nest = machine.call("fxNest", args);
  EXPECT_EQ(nest.code, kAllocFailed);
  machine.failPushAt(1);   // the inner tuple's push
  EXPECT_EQ(machine.call("fxNest", args).code, kPushFailed);

  const std::vector<VmValue> labelArgs{machine.makeString("a"), machine.makeInt(1)};
  machine.failAllocAt(1);
  EXPECT_EQ(machine.call("fxLabel", labelArgs).code, kAllocFailed);
  machine.failPushAt(3);
  EXPECT_EQ(machine.call("fxLabel", labelArgs).code, kPushFailed);
  machine.failAllocAt(2);  // the tuple of vmMakeTuple
  EXPECT_EQ(machine.call("fxLabel", labelArgs).code, kAllocFailed);
  EXPECT_EQ(machine.stackDepth(), 0u);
  EXPECT_EQ(machine.faults(), std::vector<std::string>{}) << "each failure left nil alone";
}

TEST_F(Plugin, PushStringAndMakeTuple) {
  auto label = machine.call("fxLabel", {machine.makeString("item"), machine.makeInt(12)});
  ASSERT_EQ(label.code, 0);
  auto parts = machine.tupleOf(label.value);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(machine.stringOf(parts[0]), "item#12");
  EXPECT_EQ(parts[1], machine.makeInt(7));
}

TEST_F(Plugin, WindowHandleReadFromMemory) {
  HWND window = nullptr;
  const VmValue made = machine.makeWindow();
  window = reinterpret_cast<HWND>(static_cast<uintptr_t>(machine.word(machine.word(made, 2), 5)));
  ASSERT_TRUE(IsWindow(window));
  auto handle = machine.call("fxWindowHandle", {made});
  EXPECT_EQ(handle.value, machine.makeInt(static_cast<int32_t>(reinterpret_cast<uintptr_t>(window))));
  auto wrongKind = machine.call("fxWindowHandle", {machine.makeObject(22, made)});
  EXPECT_EQ(wrongKind.value, vm::kNil);
}

TEST_F(Plugin, LogFromAnotherThread) {
  auto logged = machine.call("fxThreadLog", {machine.makeInt(3)});
  EXPECT_EQ(logged.value, machine.makeInt(0));
  EXPECT_EQ(machine.logLines(), (std::vector<std::string>{"from thread 3", "second line"}));
}

TEST_F(Plugin, UnbalancedPrimitiveIsAFault) {
  auto result = machine.call("fxUnbalanced", {machine.makeInt(1)});
  EXPECT_EQ(result.value, machine.makeInt(2));
  ASSERT_EQ(machine.faults().size(), 1u);
  EXPECT_NE(machine.faults()[0].find("left 2 values"), std::string::npos);
  EXPECT_EQ(machine.stackDepth(), 0u);
  // A failure that leaves what it pushed.
  machine.clearFaults();
  result = machine.call("fxUnbalanced", {machine.makeInt(-5)});
  EXPECT_EQ(result.code, -5);
  EXPECT_EQ(result.value, vm::kNil);
  EXPECT_EQ(machine.faults(), std::vector<std::string>{
                                  "primitive fxUnbalanced returned -5 and left 2 values instead of nil"});
  EXPECT_EQ(machine.stackDepth(), 0u);
}

TEST_F(Plugin, PrimitiveCannotReachBelowItsArguments) {
  machine.callbacks()->vmPush(machine.handle(), machine.makeInt(100));
  auto result = machine.call("fxAdd", {machine.makeInt(1)});  // wrong count: not called
  EXPECT_EQ(result.value, vm::kNil);
  EXPECT_EQ(machine.faults().size(), 1u);
  machine.clearFaults();

  // fxAdd registered again as taking one argument pops one value too many.
  const char* names[] = {"fxAddOne"};
  const VmPrimitive functions[] = {machine.findPrimitive("fxAdd")->function};
  const int counts[] = {1};
  const char* types[] = {"fun [I] I"};
  machine.callbacks()->vmRegisterPackage(machine.handle(), "more", 1, names, functions, counts,
                                         types);
  auto one = machine.call("fxAddOne", {machine.makeInt(1)});
  EXPECT_EQ(one.value, vm::kNil);
  ASSERT_EQ(machine.faults().size(), 1u);
  EXPECT_NE(machine.faults()[0].find("nothing left to pop"), std::string::npos);
  machine.clearFaults();

  auto bad = machine.call("fxBadBlock", {machine.makeInt(3)});
  EXPECT_EQ(bad.value, machine.makeInt(0));
  EXPECT_EQ(machine.faults().size(), 1u);
  EXPECT_EQ(machine.stackDepth(), 1u);  // the value pushed before the calls
}

TEST_F(Plugin, UnknownPrimitive) {
  auto result = machine.call("fxNothing", {});
  EXPECT_EQ(result.value, vm::kNil);
  EXPECT_EQ(machine.faults().size(), 1u);
}

}  // namespace
}  // namespace testvm
