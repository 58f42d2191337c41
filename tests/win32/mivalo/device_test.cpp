// The sound device: the window, the level's clamping, the primary
// format rules and the release.
#include <cstdio>

#include "mivalo_fixture.h"

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

TEST_F(MivaloDevice, ANilWindowMeansTheHostWindowNullHere) {
  const VmValue device = call("_InitDirectSound", {I(2), I(22050), I(16), I(1), kNil});
  ASSERT_NE(device, kNil);
  EXPECT_EQ(countLog("Setting coop level with window handler 0 (hvoxa=0) and level 1..."), 1);
  EXPECT_TRUE(logLinesStarting("Good window handler").empty());
  EXPECT_EQ(call("_ReleaseDirectSound", {device}), I(1));
}

}  // namespace
}  // namespace mivalotest
