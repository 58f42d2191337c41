// The video primitives of ostrel.dll in the test machine, reading real files:
// the header tuple, frame sizes and results, argument checks that consume
// nothing, and pictures identical to those of the portable decoder.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "frame_walker.h"
#include "pictures.h"
#include "stream_writer.h"
#include "test_machine.h"
#include "values.h"

namespace {

using testvm::TestMachine;
using zkv6enc::frame;
using zkv6enc::rawChunk;
using Bytes = std::vector<uint8_t>;

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A file of the given bytes in the temporary folder, open for reading.
class TempFile {
 public:
  explicit TempFile(const Bytes& bytes) {
    char dir[MAX_PATH], name[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "zkv", 0, name);
    path_ = name;
    HANDLE out = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(out);
    handle_ = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  ~TempFile() {
    CloseHandle(handle_);
    DeleteFileA(path_.c_str());
  }
  HANDLE handle() const { return handle_; }
  DWORD position() const { return SetFilePointer(handle_, 0, nullptr, FILE_CURRENT); }

 private:
  std::string path_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

const VmValue kNil = vm::kNil;
VmValue intValue(int n) { return vm::makeInt(n); }

// A predicted IX picture whose every block is a zero copy of the reference.
Bytes zeroCopyPicture() {
  zkv6enc::StreamWriter w;
  for (int b = 0; b < 80 * 60; ++b) w.bits(0b110, 3);
  return w.chunk("IX", 50);
}

class OstrelVideoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    machine = std::make_unique<TestMachine>();
    ASSERT_TRUE(machine->loadPlugin("ostrel.dll", "VOXAloadWARP")) << machine->lastError();
  }
  void TearDown() override {
    if (!machine->faults().empty()) ADD_FAILURE() << "machine fault: " << machine->faults().front();
  }
  VmValue call(const std::string& name, const std::vector<VmValue>& args) {
    auto r = machine->call(name, args);
    EXPECT_EQ(r.code, 0) << name;
    return r.value;
  }
  VmValue filled(int w, int h, uint16_t value) {
    VmValue b = machine->makeBitmap(w, h);
    std::fill_n(machine->bitmapPixels(b), w * h, value);
    return b;
  }
  std::unique_ptr<TestMachine> machine;
};

TEST_F(OstrelVideoTest, HeaderTupleHoldsSignaturePairAndThird) {
  TempFile file(zkv6enc::fileHeader("ZKV6", -2, 480, 123456));
  const VmValue result = call("ZKV6header", {machine->makeFile(file.handle())});
  const auto top = machine->tupleOf(result);
  ASSERT_EQ(top.size(), 3u);
  EXPECT_EQ(machine->stringOf(top[0]), "ZKV6");
  const auto pair = machine->tupleOf(top[1]);
  ASSERT_EQ(pair.size(), 2u);
  EXPECT_EQ(pair[0], intValue(-2));
  EXPECT_EQ(pair[1], intValue(480));
  EXPECT_EQ(top[2], intValue(123456));
  EXPECT_EQ(file.position(), 64u);
}

TEST_F(OstrelVideoTest, SignatureStopsAtItsFirstZeroByte) {
  TempFile file(zkv6enc::fileHeader("ZK", 0, 0, 0));
  const auto top = machine->tupleOf(call("ZKV6header", {machine->makeFile(file.handle())}));
  ASSERT_EQ(top.size(), 3u);
  EXPECT_EQ(machine->stringOf(top[0]), "ZK");
  // Byte 4 never joins the signature, whatever it holds.
  Bytes header = zkv6enc::fileHeader("ABCD", 0, 0, 0);
  header[4] = 'E';
  TempFile full(header);
  EXPECT_EQ(machine->stringOf(machine->tupleOf(call("ZKV6header", {machine->makeFile(full.handle())}))[0]), "ABCD");
  EXPECT_EQ(call("ZKV6header", {kNil}), kNil);
}

TEST_F(OstrelVideoTest, HeaderFailuresLeaveNilAndTheFailedCode) {
  TempFile file(zkv6enc::fileHeader("ZKV6", 1, 2, 3) + zkv6enc::fileHeader("ZKV6", 1, 2, 3) +
                zkv6enc::fileHeader("ZKV6", 1, 2, 3));
  const VmValue f = machine->makeFile(file.handle());
  machine->failPushAt(1);  // the string
  auto r = machine->call("ZKV6header", {f});
  EXPECT_EQ(r.code, testvm::kPushFailed);
  EXPECT_EQ(r.value, kNil);
  machine->failPushAt(2);  // the first integer of the pair
  r = machine->call("ZKV6header", {f});
  EXPECT_EQ(r.code, -1);
  EXPECT_EQ(r.value, kNil);
  machine->failAllocAt(2);  // the pair's tuple
  r = machine->call("ZKV6header", {f});
  EXPECT_EQ(r.code, testvm::kAllocFailed);
  EXPECT_EQ(r.value, kNil);
  EXPECT_EQ(machine->stackDepth(), 0u);
}

TEST_F(OstrelVideoTest, FrameSizesAndResults) {
  Bytes bytes = frame({rawChunk("AU", {})}, 0x2A);  // 12 bytes, top byte ignored
  bytes = bytes + frame({});                         // 4 bytes: no chunk
  bytes = bytes + Bytes{3, 0, 0, 0};                 // below 4: cannot be allocated
  bytes = bytes + frame({rawChunk("AU", {1, 2, 3}), zeroCopyPicture()});
  TempFile file(bytes);
  const VmValue f = machine->makeFile(file.handle());
  const VmValue current = filled(640, 480, 0x1111), reference = filled(640, 480, 0x2222);

  EXPECT_EQ(call("ZKV6readIX", {f, current, reference}), intValue(-2));
  EXPECT_EQ(file.position(), 12u);
  EXPECT_EQ(call("ZKV6readIX", {f, current, reference}), intValue(-2));
  EXPECT_EQ(file.position(), 16u);
  EXPECT_EQ(machine->bitmapPixels(current)[0], 0x1111) << "a frame without a picture leaves the bitmaps";
  EXPECT_EQ(call("ZKV6readIX", {f, current, reference}), intValue(-1));
  EXPECT_EQ(file.position(), 20u) << "only the frame word is consumed";
  EXPECT_EQ(call("ZKV6readIX", {f, current, reference}), intValue(0));
  EXPECT_EQ(file.position(), bytes.size());
  for (int i = 0; i < 640 * 480; ++i) ASSERT_EQ(machine->bitmapPixels(current)[i], 0x2222);
  // At the end of the file the frame word reads as nothing: size below 4.
  EXPECT_EQ(call("ZKV6readIX", {f, current, reference}), intValue(-1));
}

TEST_F(OstrelVideoTest, WrongArgumentsConsumeNothing) {
  TempFile file(frame({zeroCopyPicture()}));
  const VmValue f = machine->makeFile(file.handle());
  const VmValue small = machine->makeBitmap(640, 480), pano = machine->makeBitmap(2048, 768);
  EXPECT_EQ(call("ZKV6readIX", {f, small, pano}), kNil);
  EXPECT_EQ(call("ZKV6readIX", {f, pano, small}), kNil);
  EXPECT_EQ(call("ZKV6readIX", {kNil, small, small}), kNil);
  EXPECT_EQ(call("ZKV6readWarp", {f, small}), kNil);
  EXPECT_EQ(call("ZKV6readWarp", {kNil, pano}), kNil);
  EXPECT_EQ(file.position(), 0u);
  // The frame can still be read with the right bitmaps.
  EXPECT_EQ(call("ZKV6readIX", {f, small, machine->makeBitmap(640, 480)}), intValue(0));
  EXPECT_EQ(machine->stackDepth(), 0u);
}

TEST_F(OstrelVideoTest, WarpReadsOnlyIwChunks) {
  zkv6enc::StreamWriter w;
  for (int b = 0; b < 256 * 96; ++b) {
    w.bits(0b11, 2);  // intra block: three flat blocks of value 0
    for (int block = 0; block < 3; ++block) {
      w.byteValue(0);
      w.nibble(0);
    }
  }
  TempFile file(frame({zeroCopyPicture()}) + frame({zeroCopyPicture(), w.chunk("IW", 75)}));
  const VmValue f = machine->makeFile(file.handle());
  const VmValue pano = filled(2048, 768, 0x7FFF);
  EXPECT_EQ(call("ZKV6readWarp", {f, pano}), intValue(-2));
  EXPECT_EQ(machine->bitmapPixels(pano)[0], 0x7FFF);
  EXPECT_EQ(call("ZKV6readWarp", {f, pano}), intValue(0));
  for (int i = 0; i < 2048 * 768; ++i) ASSERT_EQ(machine->bitmapPixels(pano)[i], 0x4210) << i;
}

// Pictures of arbitrary bytes (behind a header that places the streams) come
// out exactly as the portable decoder makes them.
TEST_F(OstrelVideoTest, PicturesMatchThePortableDecoder) {
  std::mt19937 random(2024);
  for (int round = 0; round < 4; ++round) {
    Bytes payload(60000);
    for (uint8_t& b : payload) b = static_cast<uint8_t>(random());
    const uint32_t starts[] = {24, 20000, 30000, 40000, 60000};
    const int32_t quality = round % 2 ? -37 : 61;
    for (int k = 0; k < 4; ++k) payload[k] = static_cast<uint8_t>(static_cast<uint32_t>(quality) >> (8 * k));
    for (int s = 0; s < 5; ++s)
      for (int k = 0; k < 4; ++k) payload[4 + 4 * s + k] = static_cast<uint8_t>(starts[s] >> (8 * k));
    const Bytes ix = frame({rawChunk("IX", payload)}), iw = frame({rawChunk("IW", payload)});
    TempFile file(ix + iw);
    const VmValue f = machine->makeFile(file.handle());

    const VmValue current = machine->makeBitmap(640, 480), reference = machine->makeBitmap(640, 480);
    std::vector<uint16_t> expectedCurrent(640 * 480), referencePixels(640 * 480);
    for (size_t i = 0; i < referencePixels.size(); ++i) referencePixels[i] = static_cast<uint16_t>(random() & 0x7FFF);
    std::copy(referencePixels.begin(), referencePixels.end(), machine->bitmapPixels(reference));
    EXPECT_EQ(call("ZKV6readIX", {f, current, reference}), intValue(0));
    video::decodeIXFrame(ix.data() + 4, ix.size() - 4, expectedCurrent.data(), referencePixels.data());
    EXPECT_TRUE(std::equal(expectedCurrent.begin(), expectedCurrent.end(), machine->bitmapPixels(current)))
        << "IX round " << round;

    const VmValue pano = machine->makeBitmap(2048, 768);
    std::vector<uint16_t> expectedPano(2048 * 768);
    EXPECT_EQ(call("ZKV6readWarp", {f, pano}), intValue(0));
    video::decodeIWFrame(iw.data() + 4, iw.size() - 4, expectedPano.data());
    EXPECT_TRUE(std::equal(expectedPano.begin(), expectedPano.end(), machine->bitmapPixels(pano)))
        << "IW round " << round;
  }
}

}  // namespace
