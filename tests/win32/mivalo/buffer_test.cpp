// Sound buffers: creation and its refusals, the value's layout,
// duplication, the sound data, playback, positions, volume, pan, frequency,
// release, and fault-injected allocations.
#include "mivalo_fixture.h"

namespace mivalotest {
namespace {

// The bits of the buffer primitives' flags argument, as programs pass them.
constexpr int kStatic = 2;
constexpr int kGlobalFocus = 4;
constexpr int kMuteAtMaxDistance = 16;

class MivaloBuffer : public MivaloTest {
 protected:
  void SetUp() override {
    MivaloTest::SetUp();
    device = openDevice(1);
    ASSERT_NE(device, kNil);
    machine->clearLog();
  }
  void TearDown() override {
    if (device != kNil) {
      EXPECT_EQ(call("_ReleaseDirectSound", {device}), I(1));
    }
    MivaloTest::TearDown();
  }
  VmValue create(int channels, int rate, int bits, int frames, int flags = 0) {
    return call("_CRSoundBuffer", {device, I(channels), I(rate), I(bits), I(frames), I(flags)});
  }
  // The bytes of a whole buffer, read with Lock.
  std::string contents(IDirectSoundBuffer* buffer) {
    void* first = nullptr;
    DWORD bytes = 0;
    EXPECT_EQ(buffer->Lock(0, 0, &first, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    std::string out(static_cast<const char*>(first), bytes);
    buffer->Unlock(first, bytes, nullptr, 0);
    return out;
  }
  DSBCAPS caps(IDirectSoundBuffer* buffer) {
    DSBCAPS c{};
    c.dwSize = sizeof c;
    EXPECT_EQ(buffer->GetCaps(&c), DS_OK);
    return c;
  }
  VmValue device = kNil;
};

TEST_F(MivaloBuffer, RefusesBadFormatsWithoutAskingDirectSound) {
  EXPECT_EQ(create(0, 22050, 16, 100), kNil);
  EXPECT_EQ(create(3, 22050, 16, 100), kNil);
  EXPECT_EQ(create(1, 22050, 12, 100), kNil);
  EXPECT_EQ(create(1, 22050, 0, 100), kNil);
  EXPECT_EQ(create(1, -1, 16, 100), kNil);
  EXPECT_EQ(create(1, 22050, 16, -1), kNil);
  EXPECT_EQ(call("_CRSoundBuffer3D", {device, I(2), I(22050), I(24), I(10), I(0)}), kNil);
  EXPECT_TRUE(log().empty()) << log().front();
}

TEST_F(MivaloBuffer, ZeroFramesAreRefusedByDirectSound) {
  EXPECT_EQ(create(1, 22050, 16, 0), kNil);
  ASSERT_EQ(logLinesStarting("COM ").size(), 1u);
  EXPECT_NE(log()[0].find(systemText(DSERR_INVALIDPARAM)), std::string::npos) << log()[0];
}

TEST_F(MivaloBuffer, ABufferIsATupleOfTwoPointerBlocks) {
  const VmValue buffer = create(2, 44100, 16, 1000, kStatic | kGlobalFocus);
  ASSERT_NE(buffer, kNil);
  const std::vector<VmValue> words = machine->tupleOf(buffer);
  ASSERT_EQ(words.size(), 2u);
  for (VmValue w : words) {
    const auto info = machine->blockInfo(w);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->words, 1);
    EXPECT_EQ(info->kind, kVmRawBlock);
  }
  EXPECT_EQ(buffer3dOf(buffer), nullptr);
  IDirectSoundBuffer* b = bufferOf(buffer);
  ASSERT_NE(b, nullptr);
  const DSBCAPS c = caps(b);
  EXPECT_EQ(c.dwBufferBytes, 4000u);  // frames x block align
  EXPECT_EQ(c.dwFlags & (DSBCAPS_CTRLALL | DSBCAPS_GETCURRENTPOSITION2),
            DSBCAPS_CTRLALL | DSBCAPS_GETCURRENTPOSITION2);
  EXPECT_TRUE(c.dwFlags & DSBCAPS_STATIC);
  EXPECT_TRUE(c.dwFlags & DSBCAPS_GLOBALFOCUS);
  WAVEFORMATEX format{};
  ASSERT_EQ(b->GetFormat(&format, sizeof format, nullptr), DS_OK);
  EXPECT_EQ(format.nChannels, 2);
  EXPECT_EQ(format.nSamplesPerSec, 44100u);
  EXPECT_EQ(format.nBlockAlign, 4);
  EXPECT_EQ(format.nAvgBytesPerSec, 176400u);
  EXPECT_EQ(call("_DSSoundBuffer", {buffer}), I(1));
}

TEST_F(MivaloBuffer, FlagsOfAPlainBufferIgnoreTheThreeDBit) {
  const VmValue buffer = create(1, 22050, 8, 100, kMuteAtMaxDistance);
  ASSERT_NE(buffer, kNil);
  EXPECT_FALSE(caps(bufferOf(buffer)).dwFlags & DSBCAPS_MUTE3DATMAXDISTANCE);
  EXPECT_FALSE(caps(bufferOf(buffer)).dwFlags & DSBCAPS_STATIC);
  const VmValue buffer3d = call("_CRSoundBuffer3D", {device, I(1), I(22050), I(8), I(100), I(kMuteAtMaxDistance)});
  ASSERT_NE(buffer3d, kNil);
  EXPECT_TRUE(caps(bufferOf(buffer3d)).dwFlags & DSBCAPS_MUTE3DATMAXDISTANCE);
  EXPECT_NE(buffer3dOf(buffer3d), nullptr);
  EXPECT_EQ(call("_DSSoundBuffer", {buffer}), I(1));
  EXPECT_EQ(call("_DSSoundBuffer", {buffer3d}), I(1));
}

TEST_F(MivaloBuffer, DuplicatesShareTheDataAndKeepThreeDControl) {
  const VmValue plain = create(1, 22050, 8, 64);
  const VmValue spatial = call("_CRSoundBuffer3D", {device, I(1), I(22050), I(8), I(64), I(0)});
  ASSERT_NE(plain, kNil);
  ASSERT_NE(spatial, kNil);
  EXPECT_EQ(call("_SETSoundBuffer", {plain, S(std::string(64, 'p')), I(0)}), plain);

  const VmValue copy = call("_DUPSoundBuffer", {device, plain});
  ASSERT_NE(copy, kNil);
  EXPECT_NE(bufferOf(copy), bufferOf(plain));
  EXPECT_EQ(buffer3dOf(copy), nullptr);
  EXPECT_EQ(contents(bufferOf(copy)), std::string(64, 'p'));

  const VmValue copy3d = call("_DUPSoundBuffer", {device, spatial});
  ASSERT_NE(copy3d, kNil);
  EXPECT_NE(buffer3dOf(copy3d), nullptr);
  EXPECT_NE(buffer3dOf(copy3d), buffer3dOf(spatial));

  EXPECT_EQ(call("_DUPSoundBuffer", {device, kNil}), kNil);
  for (VmValue b : {plain, spatial, copy, copy3d}) EXPECT_EQ(call("_DSSoundBuffer", {b}), I(1));
}

TEST_F(MivaloBuffer, WritesNearTheEndWrapToTheStart) {
  const VmValue buffer = create(1, 22050, 8, 1000);
  ASSERT_NE(buffer, kNil);
  std::string data;
  for (int k = 0; k < 100; ++k) data += static_cast<char>(k + 1);
  EXPECT_EQ(call("_SETSoundBuffer", {buffer, S(data), I(950)}), buffer);
  const std::string bytes = contents(bufferOf(buffer));
  ASSERT_EQ(bytes.size(), 1000u);
  EXPECT_EQ(bytes.substr(950), data.substr(0, 50));
  EXPECT_EQ(bytes.substr(0, 50), data.substr(50));
  EXPECT_EQ(bytes[50], bytes[500]);  // untouched between

  // A nil offset is 0; a nil string, an empty one or one longer than the
  // buffer gives nil.
  EXPECT_EQ(call("_SETSoundBuffer", {buffer, S("abc"), kNil}), buffer);
  EXPECT_EQ(contents(bufferOf(buffer)).substr(0, 3), "abc");
  EXPECT_EQ(call("_SETSoundBuffer", {buffer, kNil, I(0)}), kNil);
  EXPECT_EQ(call("_SETSoundBuffer", {buffer, S(std::string(1001, 'x')), I(0)}), kNil);
  EXPECT_EQ(call("_DSSoundBuffer", {buffer}), I(1));
}

TEST_F(MivaloBuffer, PlaysStopsAndMovesItsCursors) {
  const VmValue buffer = create(1, 22050, 16, 22050);
  ASSERT_NE(buffer, kNil);
  EXPECT_EQ(call("_SETPlayPosition", {buffer, I(1000)}), buffer);
  EXPECT_EQ(call("_GETPlayPosition", {buffer}), I(1000));
  EXPECT_EQ(call("_PLAYSoundBuffer", {buffer, I(1)}), buffer);
  DWORD status = 0;
  ASSERT_EQ(bufferOf(buffer)->GetStatus(&status), DS_OK);
  EXPECT_TRUE(status & DSBSTATUS_PLAYING);
  EXPECT_TRUE(status & DSBSTATUS_LOOPING);
  Sleep(200);
  const int play = intOf(call("_GETPlayPosition", {buffer}));
  const int write = intOf(call("_GETWritePosition", {buffer}));
  EXPECT_NE(play, 1000);
  EXPECT_GE(play, 0);
  EXPECT_LT(play, 44100);
  EXPECT_NE(write, play);  // the write cursor leads while playing
  EXPECT_EQ(call("_STOPSoundBuffer", {buffer}), buffer);
  ASSERT_EQ(bufferOf(buffer)->GetStatus(&status), DS_OK);
  EXPECT_FALSE(status & DSBSTATUS_PLAYING);
  EXPECT_EQ(call("_PLAYSoundBuffer", {buffer, I(0)}), buffer);
  ASSERT_EQ(bufferOf(buffer)->GetStatus(&status), DS_OK);
  EXPECT_FALSE(status & DSBSTATUS_LOOPING);
  EXPECT_EQ(call("_STOPSoundBuffer", {buffer}), buffer);
  EXPECT_EQ(call("_DSSoundBuffer", {buffer}), I(1));
}

TEST_F(MivaloBuffer, VolumeIsAlwaysAnAttenuation) {
  const VmValue buffer = create(1, 22050, 16, 100);
  ASSERT_NE(buffer, kNil);
  EXPECT_EQ(call("_SETVolume", {buffer, I(0)}), buffer);
  EXPECT_EQ(call("_GETVolume", {buffer}), I(0));
  EXPECT_EQ(call("_SETVolume", {buffer, I(10000)}), buffer);
  EXPECT_EQ(call("_GETVolume", {buffer}), I(-10000));
  LONG volume = 0;
  ASSERT_EQ(bufferOf(buffer)->GetVolume(&volume), DS_OK);
  EXPECT_EQ(volume, DSBVOLUME_MIN);
  EXPECT_EQ(call("_SETVolume", {buffer, I(2500)}), buffer);
  EXPECT_EQ(call("_GETVolume", {buffer}), I(-2500));
  EXPECT_EQ(call("_SETVolume", {buffer, I(-1200)}), buffer);
  EXPECT_EQ(call("_GETVolume", {buffer}), I(-1200));
  EXPECT_EQ(call("_SETVolume", {buffer, I(-10001)}), kNil);  // below DSBVOLUME_MIN
  EXPECT_EQ(call("_GETVolume", {buffer}), I(-1200));
  EXPECT_EQ(call("_DSSoundBuffer", {buffer}), I(1));
}

TEST_F(MivaloBuffer, PanAndFrequencyRoundTrip) {
  const VmValue buffer = create(2, 22050, 16, 100);
  ASSERT_NE(buffer, kNil);
  for (int pan : {-10000, -3000, 0, 2500, 10000}) {
    EXPECT_EQ(call("_SETPan", {buffer, I(pan)}), buffer);
    EXPECT_EQ(call("_GETPan", {buffer}), I(pan));
  }
  EXPECT_EQ(call("_SETPan", {buffer, I(10001)}), kNil);
  for (int hertz : {11025, 44100, 8000}) {
    EXPECT_EQ(call("_SETFrequency", {buffer, I(hertz)}), buffer);
    EXPECT_EQ(call("_GETFrequency", {buffer}), I(hertz));
  }
  EXPECT_EQ(call("_DSSoundBuffer", {buffer}), I(1));
}

TEST_F(MivaloBuffer, AReleasedBufferValueIsEmpty) {
  const VmValue buffer = call("_CRSoundBuffer3D", {device, I(1), I(22050), I(16), I(100), I(0)});
  ASSERT_NE(buffer, kNil);
  // The 3D interface goes with the buffer: the release is the last one.
  EXPECT_EQ(call("_DSSoundBuffer", {buffer}), I(1));
  EXPECT_EQ(bufferOf(buffer), nullptr);
  EXPECT_EQ(buffer3dOf(buffer), nullptr);
  machine->clearLog();
  EXPECT_EQ(call("_DSSoundBuffer", {buffer}), kNil);
  EXPECT_EQ(call("_PLAYSoundBuffer", {buffer, I(0)}), kNil);
  EXPECT_EQ(call("_GETVolume", {buffer}), kNil);
  EXPECT_EQ(call("_SETMinDistance", {buffer, F(1)}), kNil);
  EXPECT_TRUE(log().empty());
}

TEST_F(MivaloBuffer, ThreeDSettersOnAPlainBufferGiveNilAndCallNothing) {
  const VmValue buffer = create(1, 22050, 16, 100);
  ASSERT_NE(buffer, kNil);
  machine->clearLog();
  EXPECT_EQ(call("_SETMinDistance", {buffer, F(2)}), kNil);
  EXPECT_EQ(call("_SETMaxDistance", {buffer, F(20)}), kNil);
  EXPECT_EQ(call("_SETOperationMode", {buffer, I(1)}), kNil);
  EXPECT_EQ(call("_SETPosition3D", {buffer, F(1), F(2), F(3)}), kNil);
  EXPECT_EQ(call("_SETVelocity3D", {buffer, F(1), F(2), F(3)}), kNil);
  EXPECT_EQ(call("_SETConeAngles", {buffer, I(10), I(20)}), kNil);
  EXPECT_EQ(call("_SETConeOrientation", {buffer, F(0), F(0), F(1)}), kNil);
  EXPECT_EQ(call("_SETConeOutsideVolume", {buffer, I(-100)}), kNil);
  EXPECT_EQ(call("_GETMinDistance", {buffer}), kNil);
  EXPECT_EQ(call("_GETOperationMode", {buffer}), kNil);
  EXPECT_EQ(call("_GETPosition3D", {buffer}), kNil);
  EXPECT_EQ(call("_GETConeAngles", {buffer}), kNil);
  EXPECT_EQ(call("_GETConeOutsideVolume", {buffer}), kNil);
  EXPECT_TRUE(log().empty()) << log().front();
  EXPECT_EQ(call("_DSSoundBuffer", {buffer}), I(1));
}

TEST_F(MivaloBuffer, FailedAllocationsLeaveNilAndTheirCode) {
  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE(::testing::Message() << "allocation " << n);
    machine->failAllocAt(n);
    const size_t depth = machine->stackDepth();
    const TestMachine::CallResult r =
        machine->call("_CRSoundBuffer", {device, I(1), I(22050), I(16), I(100), I(0)});
    EXPECT_EQ(r.code, testvm::kAllocFailed);
    EXPECT_EQ(r.value, kNil);
    EXPECT_EQ(machine->stackDepth(), depth);
  }
  for (int n = 1; n <= 2; ++n) {
    SCOPED_TRACE(::testing::Message() << "push " << n);
    machine->failPushAt(n);
    const TestMachine::CallResult r =
        machine->call("_CRSoundBuffer3D", {device, I(1), I(22050), I(16), I(100), I(0)});
    EXPECT_EQ(r.code, testvm::kPushFailed);
    EXPECT_EQ(r.value, kNil);
  }
  machine->failPushAt(0);
  // The buffers made for those values were released with them: the device's
  // release is its last.
  EXPECT_EQ(call("_ReleaseDirectSound", {device}), I(1));
  device = kNil;
}

}  // namespace
}  // namespace mivalotest
