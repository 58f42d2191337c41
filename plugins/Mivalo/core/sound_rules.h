// How Voxa values map onto DirectSound's arguments:
// levels, buffer flags and sizes, the volume sign rule, and the texts of the
// COM report where the system has none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace mivalo {

// Cooperative levels: DSSCL_NORMAL 1, DSSCL_PRIORITY 2, DSSCL_EXCLUSIVE 3.
constexpr int kLevelNormal = 1;
constexpr int kLevelExclusive = 3;
constexpr int clampLevel(int level) {
  return level < kLevelNormal ? kLevelNormal : level > kLevelExclusive ? kLevelExclusive : level;
}

// DirectSound's capability flags, as the package uses them.
constexpr uint32_t kCapsPrimaryBuffer = 0x1;
constexpr uint32_t kCapsStatic = 0x2;
constexpr uint32_t kCapsCtrl3D = 0x10;
constexpr uint32_t kCapsCtrlAll = 0x1F0;
constexpr uint32_t kCapsGetCurrentPosition2 = 0x10000;
constexpr uint32_t kCapsGlobalFocus = 0x8000;
constexpr uint32_t kCapsMute3DAtMaxDistance = 0x20000;
// Every secondary buffer: DSBCAPS_CTRLALL | DSBCAPS_GETCURRENTPOSITION2.
constexpr uint32_t kSecondaryCaps = kCapsCtrlAll | kCapsGetCurrentPosition2;  // 0x101F0
// The stream's buffer adds DSBCAPS_GLOBALFOCUS.
constexpr uint32_t kStreamCaps = kSecondaryCaps | kCapsGlobalFocus;  // 0x181F0
// The listener's primary buffer: DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D.
constexpr uint32_t kListenerCaps = kCapsPrimaryBuffer | kCapsCtrl3D;  // 17
// Size of the buffer description the package passes (DSBUFFERDESC1).
constexpr uint32_t kBufferDescSize = 20;

// The bits of the buffer primitives' flags argument.
constexpr int32_t kBufferStatic = 2;
constexpr int32_t kBufferGlobalFocus = 4;
constexpr int32_t kBufferMuteAtMaxDistance = 16;  // 3D buffers only

// The flags of a secondary buffer from the primitive's flags argument.
constexpr uint32_t bufferCaps(int32_t flags, bool is3D) {
  uint32_t caps = kSecondaryCaps;
  if (flags & kBufferStatic) caps |= kCapsStatic;
  if (flags & kBufferGlobalFocus) caps |= kCapsGlobalFocus;
  if (is3D && (flags & kBufferMuteAtMaxDistance)) caps |= kCapsMute3DAtMaxDistance;
  return caps;
}

// The PCM format of a buffer: block align = channels x bits/8, bytes per
// second = rate x block align.
struct PcmFormat {
  uint16_t channels;
  uint32_t samplesPerSec;
  uint32_t avgBytesPerSec;
  uint16_t blockAlign;
  uint16_t bitsPerSample;
};
constexpr PcmFormat pcmFormat(int channels, int rate, int bits) {
  const auto blockAlign = static_cast<uint16_t>(channels * (bits / 8));
  return {static_cast<uint16_t>(channels), static_cast<uint32_t>(rate),
          static_cast<uint32_t>(rate) * blockAlign, blockAlign, static_cast<uint16_t>(bits)};
}

// The length in bytes of a secondary buffer of _CRSoundBuffer (frames x
// block align), or nothing when the arguments are refused: channels 1 or 2,
// bits 8 or 16, rate and frames 0 or more, and a length DirectSound's 32-bit
// field can carry.
std::optional<uint32_t> secondaryBufferBytes(int channels, int rate, int bits, int frames);

// Primary format (levels 2 and 3): channels outside 1..2 become 2; bits
// other than 8 or 16, or a negative rate, leave the format alone (nothing).
std::optional<PcmFormat> primaryFormat(int channels, int rate, int bits);

// _SETVolume: a positive volume v is passed as -v.
constexpr int32_t volumeForDirectSound(int32_t v) { return v > 0 ? -v : v; }

// Bits per sample as the package computes them from a wave file: (block
// align / channels) x 8; 0 for a file that claims no channel.
constexpr int bitsFromBlockAlign(int blockAlign, int channels) {
  return channels == 0 ? 0 : (blockAlign / channels) * 8;
}

// The byte of silence: 0x80 for unsigned 8-bit samples, 0 otherwise.
constexpr uint8_t silenceByte(int blockAlign, int channels) {
  return bitsFromBlockAlign(blockAlign, channels) == 8 ? 0x80 : 0x00;
}

// The COM report's text where the system has none: "IDispatch error #%d"
// (the low 16 bits of the code minus 0x200) for codes 0x80040200 to
// 0x8004FFFF, else "Unknown error 0x%0lX". Written into text, cut to size.
void comFallbackText(uint32_t code, char* text, size_t size);

}  // namespace mivalo
