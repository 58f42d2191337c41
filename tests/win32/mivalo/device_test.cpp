// The sound device: the window, the level's clamping, the primary
// format rules and the release; device and listener values emptied by
// their release, the listener's primary buffer reference, and a 3D buffer
// whose 3D interface is refused.
#include <cstdio>

#include "mivalo_fixture.h"
#include "recording_device.h"

namespace mivalotest {
namespace {

class MivaloDevice : public MivaloTest {
 protected:
  unsigned windowHandle() {
    const VmValue record = machine->word(window, vmlayout::kObjectRecord);
    return static_cast<unsigned>(machine->word(record, vmlayout::kWindowHandle));
  }
  std::string coopLine(int level) {
    char line[160];
    std::snprintf(line, sizeof line,
                  "Setting coop level with window handler %x (hvoxa=0) and level %d...",
                  windowHandle(), level);
    return line;
  }
  // The primary buffer's format, read through a primary buffer of our own.
  WAVEFORMATEX primaryFormat(VmValue device) {
    DSBUFFERDESC description{};
    description.dwSize = sizeof(DSBUFFERDESC1);
    description.dwFlags = DSBCAPS_PRIMARYBUFFER;
    IDirectSoundBuffer* primary = nullptr;
    WAVEFORMATEX format{};
    EXPECT_EQ(deviceOf(device)->CreateSoundBuffer(&description, &primary, nullptr), DS_OK);
    if (primary == nullptr) return format;
    EXPECT_EQ(primary->GetFormat(&format, sizeof format, nullptr), DS_OK);
    primary->Release();
    return format;
  }
  // References on the device's primary buffer other than our own.
  ULONG primaryReferences(VmValue device) {
    DSBUFFERDESC description{};
    description.dwSize = sizeof(DSBUFFERDESC1);
    description.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D;
    IDirectSoundBuffer* primary = nullptr;
    EXPECT_EQ(deviceOf(device)->CreateSoundBuffer(&description, &primary, nullptr), DS_OK);
    return primary == nullptr ? 0 : primary->Release();
  }
};

TEST_F(MivaloDevice, LevelZeroIsNormalAndLeavesThePrimaryBufferAlone) {
  const VmValue device = openDevice(0, 1, 11025, 16);
  ASSERT_NE(device, kNil);
  char good[64];
  std::snprintf(good, sizeof good, "Good window handler (%x)...", windowHandle());
  EXPECT_EQ(countLog(good), 1);
  EXPECT_EQ(countLog(coopLine(1)), 1);
  // CoCreateInstance, Initialize, SetCooperativeLevel; no primary buffer.
  EXPECT_EQ(logLinesStarting("COM ").size(), 3u);
  EXPECT_NE(primaryFormat(device).nSamplesPerSec, 11025u);
  EXPECT_EQ(call("_ReleaseDirectSound", {device}), I(1));
}

TEST_F(MivaloDevice, LevelSevenIsExclusiveAndSetsThePrimaryFormat) {
  const VmValue device = openDevice(7, 1, 11025, 16);
  ASSERT_NE(device, kNil);
  EXPECT_EQ(countLog(coopLine(3)), 1);
  // ... then the primary buffer and its format.
  EXPECT_EQ(logLinesStarting("COM ").size(), 5u);
  const WAVEFORMATEX format = primaryFormat(device);
  EXPECT_EQ(format.wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(format.nChannels, 1);
  EXPECT_EQ(format.nSamplesPerSec, 11025u);
  EXPECT_EQ(format.wBitsPerSample, 16);
  EXPECT_EQ(format.nBlockAlign, 2);
  EXPECT_EQ(format.nAvgBytesPerSec, 22050u);
  EXPECT_EQ(call("_ReleaseDirectSound", {device}), I(1));
}

TEST_F(MivaloDevice, ThreeChannelsBecomeStereo) {
  const VmValue device = openDevice(2, 3, 11025, 8);
  ASSERT_NE(device, kNil);
  EXPECT_EQ(countLog(coopLine(2)), 1);
  const WAVEFORMATEX format = primaryFormat(device);
  EXPECT_EQ(format.nChannels, 2);
  EXPECT_EQ(format.nSamplesPerSec, 11025u);
  EXPECT_EQ(format.wBitsPerSample, 8);
  EXPECT_EQ(format.nBlockAlign, 2);
  EXPECT_EQ(call("_ReleaseDirectSound", {device}), I(1));
}

TEST_F(MivaloDevice, TwelveBitsSetNoFormatButGiveTheDevice) {
  const VmValue device = openDevice(2, 1, 11025, 12);
  ASSERT_NE(device, kNil);
  EXPECT_EQ(logLinesStarting("COM ").size(), 3u);
  const WAVEFORMATEX format = primaryFormat(device);
  EXPECT_NE(format.nSamplesPerSec, 11025u);
  EXPECT_NE(format.wBitsPerSample, 12);
  EXPECT_EQ(call("_ReleaseDirectSound", {device}), I(1));
}

TEST_F(MivaloDevice, ANegativeRateSetsNoFormat) {
  const VmValue device = openDevice(3, 2, -5, 16);
  ASSERT_NE(device, kNil);
  EXPECT_EQ(logLinesStarting("COM ").size(), 3u);
  EXPECT_EQ(call("_ReleaseDirectSound", {device}), I(1));
}

TEST_F(MivaloDevice, ReleasingADeviceWithALiveBufferIsNotTheLastReference) {
  const VmValue device = openDevice(1);
  ASSERT_NE(device, kNil);
  const VmValue buffer = call("_CRSoundBuffer", {device, I(1), I(22050), I(16), I(1000), I(0)});
  ASSERT_NE(buffer, kNil);
  EXPECT_EQ(call("_ReleaseDirectSound", {device}), I(0));
  // The buffer still works, and its release lets the device go.
  EXPECT_EQ(call("_SETVolume", {buffer, I(100)}), buffer);
  EXPECT_EQ(call("_GETVolume", {buffer}), I(-100));
  EXPECT_EQ(call("_DSSoundBuffer", {buffer}), I(1));
}

// A released value is empty: a second release or any later use gives nil
// and calls nothing, whether the object is gone or its buffers keep it.
TEST_F(MivaloDevice, ReleasedDeviceAndListenerValuesAreEmpty) {
  const VmValue device = openDevice(1);
  ASSERT_NE(device, kNil);
  const VmValue buffer = call("_CRSoundBuffer", {device, I(1), I(22050), I(16), I(100), I(0)});
  ASSERT_NE(buffer, kNil);
  const ULONG primaryBefore = primaryReferences(device);
  const VmValue listener = call("_CRListener3D", {device});
  ASSERT_NE(listener, kNil);
  const VmValue again = call("_CRListener3D", {device});
  ASSERT_NE(again, kNil);
  EXPECT_EQ(primaryReferences(device), primaryBefore) << "a listener kept a primary buffer reference";
  EXPECT_EQ(call("_DSListener3D", {again}), I(0));
  EXPECT_EQ(call("_DSListener3D", {listener}), I(1));
  EXPECT_EQ(call("_ReleaseDirectSound", {device}), I(0));
  machine->clearLog();
  EXPECT_EQ(call("_DSListener3D", {listener}), kNil);
  EXPECT_EQ(call("_SETDistanceFactor", {listener, F(2)}), kNil);
  EXPECT_EQ(call("_COMMITSoundSettings", {listener}), kNil);
  EXPECT_EQ(call("_ReleaseDirectSound", {device}), kNil);
  EXPECT_EQ(call("_CRSoundBuffer", {device, I(1), I(22050), I(16), I(100), I(0)}), kNil);
  EXPECT_EQ(call("_CRListener3D", {device}), kNil);
  EXPECT_EQ(call("_CRSoundStream", {device, S("x.wav"), I(0)}), kNil);
  EXPECT_TRUE(log().empty());
  // The buffer still holds the device, and lets it go.
  EXPECT_EQ(call("_DSSoundBuffer", {buffer}), I(1));
  EXPECT_EQ(call("_ReleaseDirectSound", {device}), kNil);

  const VmValue alone = openDevice(1);
  ASSERT_NE(alone, kNil);
  EXPECT_EQ(call("_ReleaseDirectSound", {alone}), I(1));
  EXPECT_EQ(call("_ReleaseDirectSound", {alone}), kNil);
}

TEST_F(MivaloDevice, AThreeDBufferWhoseThreeDInterfaceIsRefusedIsReleased) {
  const VmValue device = openDevice(1);
  ASSERT_NE(device, kNil);
  auto* recorder = new RecordingDevice(deviceOf(device));
  recorder->refuse3D = true;
  const VmValue value = static_cast<VmValue>(reinterpret_cast<uintptr_t>(static_cast<IDirectSound*>(recorder)));
  EXPECT_EQ(call("_CRSoundBuffer3D", {value, I(1), I(22050), I(16), I(100), I(0)}), kNil);
  EXPECT_EQ(recorder->liveBuffers(), 0);
  EXPECT_EQ(recorder->references(), 1u);
  recorder->Release();
  EXPECT_EQ(call("_ReleaseDirectSound", {device}), I(1));
}

TEST_F(MivaloDevice, ANilWindowMeansTheHostWindowNullHere) {
  const VmValue device = call("_InitDirectSound", {I(2), I(22050), I(16), I(1), kNil});
  ASSERT_NE(device, kNil);
  EXPECT_EQ(countLog("Setting coop level with window handler 0 (hvoxa=0) and level 1..."), 1);
  EXPECT_TRUE(logLinesStarting("Good window handler").empty());
  EXPECT_EQ(call("_ReleaseDirectSound", {device}), I(1));
}

}  // namespace
}  // namespace mivalotest
