// The stream's reading of its data: the half to refill, the first
// fill and the refills for loops 0, positive and negative, the seamless
// joins, silence after the data, the stream position of the play cursor,
// and data shorter than a half, an empty data chunk, a file shorter than
// its data chunk.
#include "stream_cursor.h"

#include <gtest/gtest.h>

#include <string>

namespace mivalo {
namespace {

// The file after its header: the data chunk, then what follows it.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
  uint32_t read(uint8_t* into, uint32_t count) override {
    const size_t n = std::min<size_t>(count, bytes_.size() - position_);
    bytes_.copy(reinterpret_cast<char*>(into), n, position_);
    position_ += n;
    return static_cast<uint32_t>(n);
  }
  void seekToStart() override {
    position_ = 0;
    ++seeks;
  }
  int seeks = 0;

 private:
  std::string bytes_;
  size_t position_ = 0;
};

std::string pattern(size_t n) {
  std::string s;
  for (size_t k = 0; k < n; ++k) s += static_cast<char>('a' + (k * 7 + k / 26) % 26);
  return s;
}

std::string take(StreamCursor& cursor, uint32_t bytes) {
  std::string out(bytes, '?');
  cursor.fill(reinterpret_cast<uint8_t*>(out.data()), bytes);
  return out;
}

std::string repeat(const std::string& data, int times) {
  std::string s;
  for (int k = 0; k < times; ++k) s += data;
  return s;
}

TEST(MivaloStreamCursor, TheHalfToRefillIsTheOneNotPlaying) {
  EXPECT_EQ(refillOffset(0), 16384u);
  EXPECT_EQ(refillOffset(100), 16384u);
  EXPECT_EQ(refillOffset(16384), 16384u);
  EXPECT_EQ(refillOffset(16385), 0u);
  EXPECT_EQ(refillOffset(32767), 0u);
}

TEST(MivaloStreamCursor, AfterTheDataComesSilenceNotWhatFollowsTheChunk) {
  const std::string data = pattern(20000);
  MemorySource file(data + "LIST....");
  StreamCursor cursor(file, 20000, 0, 0x80);
  EXPECT_EQ(take(cursor, kStreamBufferBytes), data + std::string(12768, '\x80'));
  EXPECT_TRUE(cursor.ended());
  EXPECT_EQ(cursor.dataEnd(), 20000u);
  EXPECT_EQ(take(cursor, kStreamHalfBytes), std::string(kStreamHalfBytes, '\x80'));
  EXPECT_EQ(cursor.filled(), 49152u);
  EXPECT_EQ(file.seeks, 0);
}

// The first fill holds stream bytes 0 to 32767; a refill of a half moves it
// to the bytes filled next.
TEST(MivaloStreamCursor, TheHalfMapFollowsThePlayCursorThroughTheStream) {
  HalfMap halves;
  EXPECT_EQ(halves.played(100), 100u);
  EXPECT_EQ(halves.played(20000), 20000u);
  halves.refilling(0, 32768);
  EXPECT_EQ(halves.played(20000), 20000u);
  EXPECT_EQ(halves.played(10), 32778u);
  halves.refilling(16384, 49152);
  EXPECT_EQ(halves.played(16384), 49152u);
}

TEST(MivaloStreamCursor, LongDataEndsInTheRefillThatReachesItsEnd) {
  const std::string data = pattern(70000);
  MemorySource file(data);
  StreamCursor cursor(file, 70000, 0, 0x80);
  EXPECT_EQ(take(cursor, kStreamBufferBytes), data.substr(0, 32768));
  EXPECT_EQ(take(cursor, kStreamHalfBytes), data.substr(32768, 16384));
  EXPECT_FALSE(cursor.ended());
  EXPECT_EQ(take(cursor, kStreamHalfBytes), data.substr(49152, 16384));
  EXPECT_FALSE(cursor.ended());
  // 65536..70000, then 8-bit silence.
  EXPECT_EQ(take(cursor, kStreamHalfBytes), data.substr(65536) + std::string(16384 - 4464, '\x80'));
  EXPECT_TRUE(cursor.ended());
  EXPECT_EQ(cursor.dataEnd(), 70000u);
}

TEST(MivaloStreamCursor, TwoLoopsPlayTheDataThreeTimesSeamlessly) {
  const std::string data = pattern(40000);
  MemorySource file(data + "trailing");
  StreamCursor cursor(file, 40000, 2, 0);
  std::string played = take(cursor, kStreamBufferBytes);
  int refills = 0;
  while (!cursor.ended()) {
    played += take(cursor, kStreamHalfBytes);
    ++refills;
    ASSERT_LT(refills, 20);
  }
  EXPECT_EQ(refills, 6);
  EXPECT_EQ(file.seeks, 2);
  EXPECT_EQ(cursor.loops(), 0);
  EXPECT_EQ(cursor.dataEnd(), 120000u);
  std::string expected = repeat(data, 3);
  expected.resize(played.size(), '\0');
  EXPECT_EQ(played, expected);
}

TEST(MivaloStreamCursor, EndlessLoopsNeverEnd) {
  const std::string data = pattern(30000);
  MemorySource file(data);
  StreamCursor cursor(file, 30000, -1, 0);
  std::string played = take(cursor, kStreamBufferBytes);
  for (int k = 0; k < 40; ++k) {
    played += take(cursor, kStreamHalfBytes);
    EXPECT_FALSE(cursor.ended());
  }
  EXPECT_EQ(cursor.loops(), -1);
  EXPECT_EQ(played, repeat(data, 30).substr(0, played.size()));
}

TEST(MivaloStreamCursor, AHalfEndingExactlyAtTheEndGoesBackAtOnce) {
  const std::string data = pattern(16384);
  MemorySource file(data);
  StreamCursor cursor(file, 16384, 1, 0);
  EXPECT_EQ(take(cursor, kStreamBufferBytes), data + data);
  EXPECT_EQ(cursor.loops(), 0);
  EXPECT_EQ(take(cursor, kStreamHalfBytes), std::string(kStreamHalfBytes, '\0'));
  EXPECT_TRUE(cursor.ended());
}

// A join that kept the first 16384 - over bytes of the half and read over
// bytes from the start would write before the half when the data is shorter
// than a half: the join repeats as often as the part needs.
TEST(MivaloStreamCursor, DataShorterThanAHalfLoopsWithinOnePart) {
  const std::string data = pattern(1000);
  MemorySource file(data);
  StreamCursor cursor(file, 1000, 40, 0);
  EXPECT_EQ(take(cursor, kStreamBufferBytes), repeat(data, 33).substr(0, 32768));
  EXPECT_EQ(cursor.loops(), 8);
  std::string rest = take(cursor, kStreamHalfBytes);
  EXPECT_EQ(rest.substr(0, 8232), (repeat(data, 33) + repeat(data, 8)).substr(32768));
  EXPECT_EQ(rest.substr(8232), std::string(16384 - 8232, '\0'));
  EXPECT_TRUE(cursor.ended());
}

TEST(MivaloStreamCursor, AnEmptyDataChunkCannotLoop) {
  MemorySource file("after");
  StreamCursor cursor(file, 0, -1, 0);
  EXPECT_EQ(cursor.loops(), 0);
  EXPECT_TRUE(cursor.ended());
  EXPECT_EQ(take(cursor, 8), std::string(8, '\0'));
  EXPECT_EQ(cursor.dataEnd(), 0u);
}

TEST(MivaloStreamCursor, AFileShorterThanItsDataChunkLoopsOnSilence) {
  const std::string data = pattern(100);
  MemorySource file(data);  // the chunk claims 200 bytes
  StreamCursor cursor(file, 200, 1, 0);
  EXPECT_EQ(take(cursor, 400), data + std::string(100, '\0') + data + std::string(100, '\0'));
  EXPECT_EQ(file.seeks, 1);
  EXPECT_TRUE(cursor.ended());
}

}  // namespace
}  // namespace mivalo
