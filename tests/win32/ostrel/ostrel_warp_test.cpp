// ostrel.dll in the test machine: its package, the argument handling of the
// warp primitives, bad input, fault-injected pushes, and views identical to
// those of the portable renderer.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "test_machine.h"
#include "values.h"
#include "warp_render.h"
#include "warp_tables.h"

namespace {

using testvm::TestMachine;

class OstrelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    machine = std::make_unique<TestMachine>();
    ASSERT_TRUE(machine->loadPlugin("ostrel.dll", "VOXAloadWARP")) << machine->lastError();
  }
  void TearDown() override {
    if (machine && !machine->faults().empty()) ADD_FAILURE() << "machine fault: " << machine->faults().front();
  }
  VmValue f(float x) { return machine->makeFloat(x); }
  VmValue call(const std::string& name, const std::vector<VmValue>& args) {
    auto r = machine->call(name, args);
    EXPECT_EQ(r.code, 0) << name;
    return r.value;
  }
  // A bitmap whose pixels are all the given value.
  VmValue filledBitmap(int w, int h, uint16_t value) {
    VmValue b = machine->makeBitmap(w, h);
    std::fill_n(machine->bitmapPixels(b), w * h, value);
    return b;
  }
  std::unique_ptr<TestMachine> machine;
};

const VmValue kNil = vm::kNil;
VmValue intValue(int n) { return vm::makeInt(n); }

TEST_F(OstrelTest, RegistersWarpPackageInOrder) {
  ASSERT_EQ(machine->packages().size(), 1u);
  const auto& package = machine->packages()[0];
  EXPECT_EQ(package.name, "warp.pkg");
  // The machine checks every entry as it registers (names unique, a
  // function, a type string that takes the argument count).
  ASSERT_EQ(package.entries.size(), 7u);
  EXPECT_TRUE(machine->faults().empty()) << machine->faults().front();
  for (const auto& entry : package.entries) EXPECT_FALSE(entry.opaque) << entry.name;
  EXPECT_EQ(package.entries[0].name, "WARPinitialize");
  EXPECT_EQ(package.entries[3].type, "fun [File] [S [I I] I]");
  EXPECT_EQ(package.entries[6].name, "DDRAWdefine");
  EXPECT_EQ(machine->loadResult(), 0);
}

TEST(OstrelLoad, AnswersZeroWhateverTheRegistrationSays) {
  TestMachine machine;
  machine.setRegisterResult(-7);
  ASSERT_TRUE(machine.loadPlugin("ostrel.dll", "VOXAloadWARP")) << machine.lastError();
  EXPECT_EQ(machine.loadResult(), 0);
}

TEST_F(OstrelTest, NilAnglesGiveNil) {
  EXPECT_EQ(call("WARPinitialize", {kNil, f(80)}), kNil);
  EXPECT_EQ(call("WARPinitialize", {f(90), kNil}), kNil);
  EXPECT_EQ(call("WARPcalcul", {kNil, f(0)}), kNil);
  EXPECT_EQ(call("WARPcalcul", {f(0), kNil}), kNil);
  EXPECT_EQ(call("WARPinitialize", {f(90), f(80)}), intValue(0));
  EXPECT_EQ(call("WARPcalcul", {f(10), f(-5)}), intValue(0));
  EXPECT_EQ(machine->stackDepth(), 0u);
}

TEST_F(OstrelTest, WrongBitmapsGiveMinusOneAndAreLeftUntouched) {
  const VmValue view = filledBitmap(640, 480, 0x1111);
  const VmValue pano = filledBitmap(2048, 768, 0x2222);
  call("WARPinitialize", {f(90), f(80)});
  call("WARPcalcul", {f(0), f(0)});
  EXPECT_EQ(call("WARPrender", {pano, view}), intValue(-1));  // swapped
  const VmValue tall = filledBitmap(2048, 769, 0x3333);
  EXPECT_EQ(call("WARPrender", {view, tall}), intValue(-1));
  EXPECT_EQ(call("WARPrender", {kNil, pano}), intValue(-1));
  EXPECT_EQ(call("WARPrender", {view, kNil}), intValue(-1));
  const VmValue window = machine->makeObject(vmlayout::kWindowKind, machine->makeRecord({0, 0, 2048, 768, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(call("WARPrender", {view, window}), intValue(-1));
  const VmValue noRecord = machine->makeObject(vmlayout::kBitmapKind, intValue(5));
  EXPECT_EQ(call("WARPrender", {view, noRecord}), intValue(-1));
  for (int i = 0; i < 640 * 480; ++i) ASSERT_EQ(machine->bitmapPixels(view)[i], 0x1111);
  for (int i = 0; i < 2048 * 768; ++i) ASSERT_EQ(machine->bitmapPixels(pano)[i], 0x2222);
  for (int i = 0; i < 2048 * 769; ++i) ASSERT_EQ(machine->bitmapPixels(tall)[i], 0x3333);
  EXPECT_EQ(call("WARPrender", {view, pano}), intValue(0));
  EXPECT_EQ(machine->bitmapPixels(view)[0], 0x2222);
}

TEST_F(OstrelTest, CalculBeforeInitializeReadsColumnZeroRow384) {
  const VmValue view = machine->makeBitmap(640, 480);
  const VmValue pano = filledBitmap(2048, 768, 0);
  machine->bitmapPixels(pano)[384 * 2048] = 0x7FFF;
  call("WARPcalcul", {f(45), f(10)});
  EXPECT_EQ(call("WARPrender", {view, pano}), intValue(0));
  for (int i = 0; i < 640 * 480; ++i) ASSERT_EQ(machine->bitmapPixels(view)[i], 0x7FFF) << i;
}

// Views through the plug-in are those of the portable renderer, with the
// arguments in their declared order.
TEST_F(OstrelTest, ViewsMatchThePortableRenderer) {
  const VmValue view = machine->makeBitmap(640, 480);
  const VmValue pano = machine->makeBitmap(2048, 768);
  uint16_t* source = machine->bitmapPixels(pano);
  for (int i = 0; i < 2048 * 768; ++i) source[i] = static_cast<uint16_t>((i * 2654435761u) >> 17);
  struct View {
    float fov, limit, yaw, pitch;
  };
  auto expected = std::make_unique<warp::WarpTables>();
  std::vector<uint16_t> reference(640 * 480);
  for (View v : {View{90, 80, 0, 0}, View{60, 80, 30, -5}, View{110, 50, 540, 40}, View{75, 30, -200, -60}}) {
    call("WARPinitialize", {f(v.fov), f(v.limit)});
    call("WARPcalcul", {f(v.yaw), f(v.pitch)});
    ASSERT_EQ(call("WARPrender", {view, pano}), intValue(0));
    warp::warpInitialize(*expected, v.fov, v.limit);
    warp::warpCalcul(*expected, warp::degreesToRadians(v.yaw), warp::degreesToRadians(v.pitch));
    warp::warpRender(expected->sampleGrid, source, reference.data());
    EXPECT_TRUE(std::equal(reference.begin(), reference.end(), machine->bitmapPixels(view)))
        << "fov " << v.fov << " yaw " << v.yaw << " pitch " << v.pitch;
  }
  // Swapping yaw and pitch changes the view: the order is the declared one.
  call("WARPinitialize", {f(90), f(80)});
  call("WARPcalcul", {f(5), f(30)});
  call("WARPrender", {view, pano});
  warp::warpInitialize(*expected, 90, 80);
  warp::warpCalcul(*expected, warp::degreesToRadians(5), warp::degreesToRadians(30));
  warp::warpRender(expected->sampleGrid, source, reference.data());
  EXPECT_TRUE(std::equal(reference.begin(), reference.end(), machine->bitmapPixels(view)));
}

TEST_F(OstrelTest, FailedPushesAreReturned) {
  for (const char* name : {"WARPinitialize", "WARPcalcul"}) {
    machine->failPushAt(1);
    const auto r = machine->call(name, {f(90), f(80)});
    EXPECT_EQ(r.code, testvm::kPushFailed) << name;
    EXPECT_EQ(r.value, kNil);
  }
  machine->failPushAt(1);
  EXPECT_EQ(machine->call("WARPrender", {kNil, kNil}).code, testvm::kPushFailed);
  machine->failPushAt(1);
  EXPECT_EQ(machine->call("ZKV6header", {kNil}).code, testvm::kPushFailed);
  EXPECT_EQ(machine->stackDepth(), 0u);
}

TEST_F(OstrelTest, VideoPrimitivesAnswerNilUntilTheDecoderExists) {
  const VmValue bitmap = machine->makeBitmap(640, 480);
  EXPECT_EQ(call("ZKV6header", {kNil}), kNil);
  EXPECT_EQ(call("ZKV6readWarp", {kNil, bitmap}), kNil);
  EXPECT_EQ(call("ZKV6readIX", {kNil, bitmap, bitmap}), kNil);
}

TEST_F(OstrelTest, DisplayModeNeedsAWindowObject) {
  EXPECT_EQ(call("DDRAWdefine", {kNil, intValue(640), intValue(480)}), kNil);
  const VmValue bitmap = machine->makeBitmap(640, 480);
  EXPECT_EQ(call("DDRAWdefine", {bitmap, intValue(640), intValue(480)}), kNil);
  EXPECT_EQ(call("DDRAWdefine", {intValue(-1), intValue(640), intValue(480)}), kNil);
  EXPECT_EQ(GetModuleHandleA("ddraw.dll"), nullptr) << "DirectDraw was touched for a bad window";

  const VmValue window = machine->makeWindow();
  const VmValue result = call("DDRAWdefine", {window, intValue(640), intValue(480)});
  EXPECT_TRUE(result == intValue(0) || result == intValue(-1)) << result;
  EXPECT_NE(GetModuleHandleA("ddraw.dll"), nullptr);
  machine->pumpMessages();

  machine->failPushAt(1);
  const auto failed = machine->call("DDRAWdefine", {window, intValue(640), intValue(480)});
  EXPECT_EQ(failed.code, -1);
  EXPECT_EQ(failed.value, kNil);
}

}  // namespace
