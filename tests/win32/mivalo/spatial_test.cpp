// 3D buffers and the listener: deferred settings seen after the
// commit, the cone angles' order, the integer getters' -1, nil arguments,
// and results built bottom-up under fault injection.
#include "mivalo_fixture.h"

namespace mivalotest {
namespace {

class MivaloSpatial : public MivaloTest {
 protected:
  void SetUp() override {
    MivaloTest::SetUp();
    device = openDevice(2, 2, 22050, 16);
    ASSERT_NE(device, kNil);
    buffer = call("_CRSoundBuffer3D", {device, I(1), I(22050), I(16), I(2205), I(0)});
    ASSERT_NE(buffer, kNil);
    listener = call("_CRListener3D", {device});
    ASSERT_NE(listener, kNil);
    machine->clearLog();
  }
  void TearDown() override {
    EXPECT_EQ(call("_DSSoundBuffer", {buffer}), I(1));
    EXPECT_EQ(call("_DSListener3D", {listener}), I(1));
    EXPECT_EQ(call("_ReleaseDirectSound", {device}), I(1));
    MivaloTest::TearDown();
  }
  void commit() { EXPECT_EQ(call("_COMMITSoundSettings", {listener}), I(1)); }
  VmValue device = kNil;
  VmValue buffer = kNil;
  VmValue listener = kNil;
};

TEST_F(MivaloSpatial, BufferSettingsAreSeenAfterTheCommit) {
  EXPECT_EQ(call("_SETMinDistance", {buffer, F(2.5f)}), buffer);
  EXPECT_EQ(call("_SETMaxDistance", {buffer, F(40.0f)}), buffer);
  EXPECT_EQ(call("_SETOperationMode", {buffer, I(1)}), buffer);
  EXPECT_EQ(call("_SETPosition3D", {buffer, F(1), F(-2), F(3.5f)}), buffer);
  EXPECT_EQ(call("_SETVelocity3D", {buffer, F(0.5f), F(0), F(-4)}), buffer);
  EXPECT_EQ(call("_SETConeAngles", {buffer, I(30), I(120)}), buffer);
  EXPECT_EQ(call("_SETConeOrientation", {buffer, F(0), F(1), F(0)}), buffer);
  EXPECT_EQ(call("_SETConeOutsideVolume", {buffer, I(-700)}), buffer);
  commit();

  EXPECT_FLOAT_EQ(floatOf(call("_GETMinDistance", {buffer})), 2.5f);
  EXPECT_FLOAT_EQ(floatOf(call("_GETMaxDistance", {buffer})), 40.0f);
  EXPECT_EQ(call("_GETOperationMode", {buffer}), I(1));
  EXPECT_EQ(floats(call("_GETPosition3D", {buffer})), (std::vector<float>{1, -2, 3.5f}));
  EXPECT_EQ(floats(call("_GETVelocity3D", {buffer})), (std::vector<float>{0.5f, 0, -4}));
  // Outside first, inside second.
  EXPECT_EQ(ints(call("_GETConeAngles", {buffer})), (std::vector<int>{120, 30}));
  EXPECT_EQ(floats(call("_GETConeOrientation", {buffer})), (std::vector<float>{0, 1, 0}));
  // Passed unchanged: no sign rule here.
  EXPECT_EQ(call("_GETConeOutsideVolume", {buffer}), I(-700));

  // The changes went to DirectSound deferred.
  D3DVECTOR position{};
  ASSERT_EQ(buffer3dOf(buffer)->GetPosition(&position), DS_OK);
  EXPECT_FLOAT_EQ(position.z, 3.5f);
  for (const std::string& line : logLinesStarting("COM ")) {
    EXPECT_NE(line.find(systemText(S_OK)), std::string::npos) << line;
  }
}

TEST_F(MivaloSpatial, ANilFloatOrModeGivesNil) {
  EXPECT_EQ(call("_SETMinDistance", {buffer, kNil}), kNil);
  EXPECT_EQ(call("_SETMaxDistance", {buffer, kNil}), kNil);
  EXPECT_EQ(call("_SETPosition3D", {buffer, F(1), kNil, F(3)}), kNil);
  EXPECT_EQ(call("_SETVelocity3D", {buffer, F(1), F(2), kNil}), kNil);
  EXPECT_EQ(call("_SETConeOrientation", {buffer, kNil, F(2), F(3)}), kNil);
  EXPECT_EQ(call("_SETOperationMode", {buffer, kNil}), kNil);
  EXPECT_EQ(call("_SETOperationMode", {buffer, I(-1)}), kNil);
  EXPECT_EQ(call("_SETDistanceFactor", {listener, kNil}), kNil);
  EXPECT_EQ(call("_SETListenerPosition3D", {listener, F(1), F(2), kNil}), kNil);
  EXPECT_EQ(call("_SETListenerOrientation", {listener, F(0), F(0), F(1), F(0), kNil, F(0)}), kNil);
  EXPECT_TRUE(logLinesStarting("COM ").empty());
}

// A 3D interface whose every call fails with the code it is given, put in a
// DSBuffer value by hand: the way to reach the getters' failure answers,
// since Wine's DirectSound refuses nothing here.
class Failing3D final : public IDirectSound3DBuffer {
 public:
  explicit Failing3D(HRESULT code) : code_(code) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetAllParameters(LPDS3DBUFFER) override { return code_; }
  HRESULT STDMETHODCALLTYPE GetConeAngles(LPDWORD, LPDWORD) override { return code_; }
  HRESULT STDMETHODCALLTYPE GetConeOrientation(D3DVECTOR*) override { return code_; }
  HRESULT STDMETHODCALLTYPE GetConeOutsideVolume(LPLONG) override { return code_; }
  HRESULT STDMETHODCALLTYPE GetMaxDistance(D3DVALUE*) override { return code_; }
  HRESULT STDMETHODCALLTYPE GetMinDistance(D3DVALUE*) override { return code_; }
  HRESULT STDMETHODCALLTYPE GetMode(LPDWORD) override { return code_; }
  HRESULT STDMETHODCALLTYPE GetPosition(D3DVECTOR*) override { return code_; }
  HRESULT STDMETHODCALLTYPE GetVelocity(D3DVECTOR*) override { return code_; }
  HRESULT STDMETHODCALLTYPE SetAllParameters(LPCDS3DBUFFER, DWORD) override { return code_; }
  HRESULT STDMETHODCALLTYPE SetConeAngles(DWORD, DWORD, DWORD) override { return code_; }
  HRESULT STDMETHODCALLTYPE SetConeOrientation(D3DVALUE, D3DVALUE, D3DVALUE, DWORD) override {
    return code_;
  }
  HRESULT STDMETHODCALLTYPE SetConeOutsideVolume(LONG, DWORD) override { return code_; }
  HRESULT STDMETHODCALLTYPE SetMaxDistance(D3DVALUE, DWORD) override { return code_; }
  HRESULT STDMETHODCALLTYPE SetMinDistance(D3DVALUE, DWORD) override { return code_; }
  HRESULT STDMETHODCALLTYPE SetMode(DWORD, DWORD) override { return code_; }
  HRESULT STDMETHODCALLTYPE SetPosition(D3DVALUE, D3DVALUE, D3DVALUE, DWORD) override {
    return code_;
  }
  HRESULT STDMETHODCALLTYPE SetVelocity(D3DVALUE, D3DVALUE, D3DVALUE, DWORD) override {
    return code_;
  }

 private:
  HRESULT code_;
};

TEST_F(MivaloSpatial, FailuresGiveNilOrMinusOneAndAreReported) {
  Failing3D failing(DSERR_BUFFERLOST);
  const auto pointer = [](const void* p) {
    return static_cast<int32_t>(reinterpret_cast<uintptr_t>(p));
  };
  const VmValue broken = machine->makeTuple(
      {machine->makeRecord({pointer(bufferOf(buffer))}), machine->makeRecord({pointer(&failing)})});
  EXPECT_EQ(call("_SETMinDistance", {broken, F(1)}), kNil);
  EXPECT_EQ(call("_SETConeAngles", {broken, I(1), I(2)}), kNil);
  EXPECT_EQ(call("_GETMinDistance", {broken}), kNil);
  EXPECT_EQ(call("_GETPosition3D", {broken}), kNil);
  EXPECT_EQ(call("_GETConeAngles", {broken}), kNil);
  // The integer getters answer integer -1, not nil.
  EXPECT_EQ(call("_GETOperationMode", {broken}), I(-1));
  EXPECT_EQ(call("_GETConeOutsideVolume", {broken}), I(-1));
  // The system has no text for DirectSound's own codes.
  const std::vector<std::string> reports = logLinesStarting("COM ");
  ASSERT_EQ(reports.size(), 7u);
  for (const std::string& line : reports) {
    EXPECT_NE(line.find("buffer3d.cpp ("), std::string::npos) << line;
    EXPECT_EQ(line.substr(line.find("): ") + 3), "Unknown error 0x88780096");
  }
  // An IDispatch range code gets its number.
  Failing3D dispatch(static_cast<HRESULT>(0x80040205));
  const VmValue odd =
      machine->makeTuple({machine->makeRecord({0}), machine->makeRecord({pointer(&dispatch)})});
  machine->clearLog();
  EXPECT_EQ(call("_GETMaxDistance", {odd}), kNil);
  ASSERT_EQ(log().size(), 1u);
  EXPECT_EQ(log()[0].substr(log()[0].find("): ") + 3), "IDispatch error #5");
}

TEST_F(MivaloSpatial, ListenerSettingsAreSeenAfterTheCommit) {
  EXPECT_EQ(call("_SETDistanceFactor", {listener, F(2.0f)}), listener);
  EXPECT_EQ(call("_SETDopplerFactor", {listener, F(1.5f)}), listener);
  EXPECT_EQ(call("_SETRollOffFactor", {listener, F(0.25f)}), listener);
  EXPECT_EQ(call("_SETListenerPosition3D", {listener, F(4), F(5), F(6)}), listener);
  EXPECT_EQ(call("_SETListenerVelocity3D", {listener, F(-1), F(0), F(2)}), listener);
  EXPECT_EQ(call("_SETListenerOrientation", {listener, F(1), F(0), F(0), F(0), F(0), F(1)}),
            listener);
  commit();
  EXPECT_FLOAT_EQ(floatOf(call("_GETDistanceFactor", {listener})), 2.0f);
  EXPECT_FLOAT_EQ(floatOf(call("_GETDopplerFactor", {listener})), 1.5f);
  EXPECT_FLOAT_EQ(floatOf(call("_GETRollOffFactor", {listener})), 0.25f);
  EXPECT_EQ(floats(call("_GETListenerPosition3D", {listener})), (std::vector<float>{4, 5, 6}));
  EXPECT_EQ(floats(call("_GETListenerVelocity3D", {listener})), (std::vector<float>{-1, 0, 2}));
  const std::vector<VmValue> orientation =
      machine->tupleOf(call("_GETListenerOrientation3D", {listener}));
  ASSERT_EQ(orientation.size(), 2u);
  EXPECT_EQ(floats(orientation[0]), (std::vector<float>{1, 0, 0}));  // front
  EXPECT_EQ(floats(orientation[1]), (std::vector<float>{0, 0, 1}));  // top
}

TEST_F(MivaloSpatial, FloatResultsAreOneWordRawBlocks) {
  const VmValue f = call("_GETDistanceFactor", {listener});
  const auto info = machine->blockInfo(f);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->words, 1);
  EXPECT_EQ(info->kind, kVmRawBlock);
  const VmValue triple = call("_GETPosition3D", {buffer});
  ASSERT_EQ(machine->blockInfo(triple)->kind, kVmTupleBlock);
  for (VmValue v : machine->tupleOf(triple)) EXPECT_TRUE(machine->isFloat(v));
}

// Every allocation of a compound result may fail: the primitive answers the
// code with nil, and removes what it pushed.
TEST_F(MivaloSpatial, FailedAllocationsOfCompoundResults) {
  struct Case {
    const char* name;
    VmValue arg;
    int allocations;
  };
  const Case cases[] = {{"_GETPosition3D", buffer, 4},
                        {"_GETConeAngles", buffer, 1},
                        {"_GETMinDistance", buffer, 1},
                        {"_GETListenerVelocity3D", listener, 4},
                        {"_GETListenerOrientation3D", listener, 9},
                        {"_GETRollOffFactor", listener, 1}};
  for (const Case& c : cases) {
    for (int n = 1; n <= c.allocations; ++n) {
      SCOPED_TRACE(::testing::Message() << c.name << " allocation " << n);
      machine->failAllocAt(n);
      const size_t depth = machine->stackDepth();
      const TestMachine::CallResult r = machine->call(c.name, {c.arg});
      EXPECT_EQ(r.code, testvm::kAllocFailed);
      EXPECT_EQ(r.value, kNil);
      EXPECT_EQ(machine->stackDepth(), depth);
    }
    for (int n = 1; n < c.allocations; ++n) {
      SCOPED_TRACE(::testing::Message() << c.name << " push " << n);
      machine->failPushAt(n);
      const TestMachine::CallResult r = machine->call(c.name, {c.arg});
      EXPECT_EQ(r.code, testvm::kPushFailed);
      EXPECT_EQ(r.value, kNil);
    }
    machine->failAllocAt(0);
    machine->failPushAt(0);
    EXPECT_NE(call(c.name, {c.arg}), kNil);
  }
}

}  // namespace
}  // namespace mivalotest
