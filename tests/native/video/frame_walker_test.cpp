// Frames and their chunks: sizes from the frame word, the walk over chunks,
// and the chunks that end it.
#include <gtest/gtest.h>

#include <vector>

#include "frame_walker.h"
#include "stream_writer.h"

namespace {

using zkv6enc::frame;
using zkv6enc::rawChunk;

struct Seen {
  std::string tag;
  const uint8_t* payload;
  size_t size;
};

std::vector<Seen> walk(const std::vector<uint8_t>& bytes, bool* whole = nullptr) {
  std::vector<Seen> seen;
  const bool ended = video::forEachChunk(bytes.data(), bytes.size(), [&](const video::Chunk& c) {
    seen.push_back({std::string(c.tag, 2), c.payload, c.payloadSize});
  });
  if (whole) *whole = ended;
  return seen;
}

TEST(FrameWord, SizeIsTheLow24BitsLessTheWord) {
  EXPECT_EQ(video::frameDataBytes(0x2A00000C), 8);  // the top byte is no part of the size
  EXPECT_EQ(video::frameDataBytes(4), 0);
  EXPECT_EQ(video::frameDataBytes(3), -1);
  EXPECT_EQ(video::frameDataBytes(0xFF000000), -4);
  EXPECT_EQ(video::frameDataBytes(0xFFFFFFFF), 0xFFFFFF - 4);
}

TEST(ChunkWalk, VisitsEveryChunkInOrderWithItsOwnPayload) {
  const auto first = rawChunk("AU", {1, 2, 3});
  const auto second = rawChunk("IX", {9, 9});
  const auto bytes = frame({first, second});
  const std::vector<uint8_t> chunks(bytes.begin() + 4, bytes.end());
  bool whole = false;
  const auto seen = walk(chunks, &whole);
  EXPECT_TRUE(whole);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].tag, "AU");
  EXPECT_EQ(seen[1].tag, "IX");
  EXPECT_EQ(seen[1].payload, chunks.data() + first.size() + 8);
  EXPECT_EQ(seen[1].size, 2u);
}

TEST(ChunkWalk, AnEmptyFrameHoldsNoChunk) {
  bool whole = false;
  EXPECT_TRUE(walk({}, &whole).empty());
  EXPECT_TRUE(whole);
  uint16_t pixels[1] = {0x1234};
  EXPECT_EQ(video::decodeIXFrame(nullptr, 0, pixels, pixels), video::kNoPicture);
  EXPECT_EQ(video::decodeIWFrame(nullptr, 0, pixels), video::kNoPicture);
  EXPECT_EQ(pixels[0], 0x1234);
}

TEST(ChunkWalk, ImpossibleChunksEndTheWalk) {
  auto sized = [](uint32_t size) {
    std::vector<uint8_t> c = rawChunk("IX", std::vector<uint8_t>(16, 0));
    for (int k = 0; k < 4; ++k) c[k] = static_cast<uint8_t>(size >> (8 * k));
    return c;
  };
  const auto good = rawChunk("AU", {7});
  for (uint32_t size : {0u, 1u, 7u, 25u, 0xFFFFFFFFu}) {  // 24 is the whole chunk
    std::vector<uint8_t> bytes = good;
    const auto bad = sized(size);
    bytes.insert(bytes.end(), bad.begin(), bad.end());
    bool whole = true;
    const auto seen = walk(bytes, &whole);
    EXPECT_FALSE(whole) << "size " << size;
    ASSERT_EQ(seen.size(), 1u) << "size " << size;
    EXPECT_EQ(seen[0].tag, "AU");
  }
  // Fewer bytes left than a chunk header.
  std::vector<uint8_t> bytes = good;
  bytes.insert(bytes.end(), {8, 0, 0, 0, 'I', 'X', 0});
  bool whole = true;
  EXPECT_EQ(walk(bytes, &whole).size(), 1u);
  EXPECT_FALSE(whole);
  // A chunk of exactly its header has an empty payload.
  EXPECT_EQ(walk(sized(8))[0].size, 0u);
}

}  // namespace
