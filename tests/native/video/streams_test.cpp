#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "streams.h"

namespace {

// Reads a stream one unit at a time: once it says it has ended, every later
// read is zero, and it says so at the latest when its bytes are used up.
void expectEndedOnlyBeforeZeros(const std::function<uint32_t()>& read, const std::function<bool()>& ended,
                                int unitsInBytes) {
  int units = 0;
  while (!ended()) {
    ASSERT_LE(units, unitsInBytes) << "still not ended past its bytes";
    read();
    ++units;
  }
  for (int k = 0; k < 100; ++k) EXPECT_EQ(read(), 0u) << "a read after the end";
}

TEST(Streams, EndedMeansOnlyZerosAreLeft) {
  // Non-zero up to the last byte, and a run of zeros inside.
  for (const std::vector<uint8_t>& bytes :
       {std::vector<uint8_t>{}, {0x80, 0, 0, 0, 0, 0, 0, 0x01}, {0, 0, 0, 0, 0x10, 0xF0, 0x0F}, {0xFF, 0, 0}}) {
    const int n = static_cast<int>(bytes.size());
    video::CodeReader codes(video::ByteCursor(bytes.data(), bytes.size()));
    expectEndedOnlyBeforeZeros([&] { return codes.bit(); }, [&] { return codes.ended(); }, 8 * (n + 3));
    video::VectorReader vectors(video::ByteCursor(bytes.data(), bytes.size()));
    expectEndedOnlyBeforeZeros([&] { return vectors.word(); }, [&] { return vectors.ended(); }, n);
    video::ShortCodeReader pairs(video::ByteCursor(bytes.data(), bytes.size()));
    expectEndedOnlyBeforeZeros([&] { return pairs.pairCode(); }, [&] { return pairs.ended(); }, n + 1);
    video::ShortCodeReader groups(video::ByteCursor(bytes.data(), bytes.size()));
    expectEndedOnlyBeforeZeros(
        [&] {
          uint32_t k[4];
          groups.groupCodes(k);
          return k[0] | k[1] | k[2] | k[3];
        },
        [&] { return groups.ended(); }, n);
    video::NibbleReader nibbles(bytes.data(), bytes.size());
    expectEndedOnlyBeforeZeros([&] { return nibbles.nibble(); }, [&] { return nibbles.ended(); }, 2 * n);
  }
}

TEST(Streams, CodeBitsReadAtOnceAreTheSingleBitsInTurn) {
  std::vector<uint8_t> bytes(64);
  for (size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<uint8_t>(k * 37 + 11);
  video::CodeReader many(video::ByteCursor(bytes.data(), bytes.size()));
  video::CodeReader single(video::ByteCursor(bytes.data(), bytes.size()));
  // Widths from 0 to 32, so that reads start and end at every place in a word.
  for (int n = 0, read = 0; read < 8 * static_cast<int>(bytes.size()) + 64; read += n, n = (n + 7) % 33) {
    uint32_t expected = 0;
    for (int k = 0; k < n; ++k) expected = (expected << 1) | single.bit();
    ASSERT_EQ(many.bits(n), expected) << n << " bits after " << read;
  }
}

}  // namespace
