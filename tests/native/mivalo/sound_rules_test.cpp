// How Voxa values map onto DirectSound's arguments.
#include "sound_rules.h"

#include <gtest/gtest.h>

namespace mivalo {
namespace {

TEST(MivaloRules, LevelsAreClampedToNormalThroughExclusive) {
  EXPECT_EQ(clampLevel(-4), 1);
  EXPECT_EQ(clampLevel(0), 1);
  EXPECT_EQ(clampLevel(1), 1);
  EXPECT_EQ(clampLevel(2), 2);
  EXPECT_EQ(clampLevel(3), 3);
  EXPECT_EQ(clampLevel(7), 3);
}

TEST(MivaloRules, BufferFlagsFromTheFlagsArgument) {
  EXPECT_EQ(bufferCaps(0, false), 0x101F0u);
  EXPECT_EQ(bufferCaps(2, false), 0x101F2u);
  EXPECT_EQ(bufferCaps(4, false), 0x181F0u);
  EXPECT_EQ(bufferCaps(16, false), 0x101F0u);  // 3D buffers only
  EXPECT_EQ(bufferCaps(16, true), 0x301F0u);
  EXPECT_EQ(bufferCaps(1 | 8, true), 0x101F0u);  // other bits mean nothing
  EXPECT_EQ(bufferCaps(-1, true), 0x381F2u);     // nil decodes to -1: every bit
  EXPECT_EQ(kStreamCaps, 0x181F0u);
  EXPECT_EQ(kListenerCaps, 17u);
}

TEST(MivaloRules, SecondaryBufferLengthsAndRefusals) {
  EXPECT_EQ(secondaryBufferBytes(1, 22050, 8, 100), 100u);
  EXPECT_EQ(secondaryBufferBytes(2, 44100, 16, 100), 400u);
  EXPECT_EQ(secondaryBufferBytes(1, 0, 16, 0), 0u);  // DirectSound's to refuse
  EXPECT_FALSE(secondaryBufferBytes(0, 22050, 16, 1));
  EXPECT_FALSE(secondaryBufferBytes(3, 22050, 16, 1));
  EXPECT_FALSE(secondaryBufferBytes(1, 22050, 12, 1));
  EXPECT_FALSE(secondaryBufferBytes(1, -1, 16, 1));
  EXPECT_FALSE(secondaryBufferBytes(1, 22050, 16, -1));
  EXPECT_FALSE(secondaryBufferBytes(2, 22050, 16, 0x40000000));  // 2^32 bytes
  EXPECT_EQ(secondaryBufferBytes(2, 22050, 16, 0x3FFFFFFF), 0xFFFFFFFCu);
}

TEST(MivaloRules, PcmFormats) {
  const PcmFormat f = pcmFormat(2, 44100, 16);
  EXPECT_EQ(f.channels, 2);
  EXPECT_EQ(f.blockAlign, 4);
  EXPECT_EQ(f.avgBytesPerSec, 176400u);
  EXPECT_EQ(f.bitsPerSample, 16);
}

TEST(MivaloRules, PrimaryFormatRules) {
  EXPECT_EQ(primaryFormat(3, 11025, 8)->channels, 2);
  EXPECT_EQ(primaryFormat(0, 11025, 8)->channels, 2);
  EXPECT_EQ(primaryFormat(1, 11025, 16)->channels, 1);
  EXPECT_EQ(primaryFormat(1, 11025, 16)->avgBytesPerSec, 22050u);
  EXPECT_FALSE(primaryFormat(2, 11025, 12));
  EXPECT_FALSE(primaryFormat(2, -1, 16));
  EXPECT_TRUE(primaryFormat(2, 0, 16));
}

TEST(MivaloRules, VolumeIsAnAttenuation) {
  EXPECT_EQ(volumeForDirectSound(0), 0);
  EXPECT_EQ(volumeForDirectSound(10000), -10000);
  EXPECT_EQ(volumeForDirectSound(-10000), -10000);
  EXPECT_EQ(volumeForDirectSound(1), -1);
  EXPECT_EQ(volumeForDirectSound(-1), -1);
}

TEST(MivaloRules, BitsFromTheBlockAlign) {
  EXPECT_EQ(bitsFromBlockAlign(4, 2), 16);
  EXPECT_EQ(bitsFromBlockAlign(2, 2), 8);
  EXPECT_EQ(bitsFromBlockAlign(3, 2), 8);
  EXPECT_EQ(bitsFromBlockAlign(1, 1), 8);
  EXPECT_EQ(bitsFromBlockAlign(1, 2), 0);
  EXPECT_EQ(bitsFromBlockAlign(4, 0), 0);
}

std::string fallback(uint32_t code) {
  char text[40];
  comFallbackText(code, text, sizeof text);
  return text;
}

TEST(MivaloRules, ComFallbackTexts) {
  EXPECT_EQ(fallback(0x80040200u), "IDispatch error #0");
  EXPECT_EQ(fallback(0x80040205u), "IDispatch error #5");
  EXPECT_EQ(fallback(0x8004FFFFu), "IDispatch error #65023");
  EXPECT_EQ(fallback(0x800401FFu), "Unknown error 0x800401FF");
  EXPECT_EQ(fallback(0x80050000u), "Unknown error 0x80050000");
  EXPECT_EQ(fallback(0x887800B4u), "Unknown error 0x887800B4");
  EXPECT_EQ(fallback(1), "Unknown error 0x1");
  char tiny[8];
  comFallbackText(0x887800B4u, tiny, sizeof tiny);
  EXPECT_STREQ(tiny, "Unknown");
}

}  // namespace
}  // namespace mivalo
