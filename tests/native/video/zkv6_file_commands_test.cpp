// zkv6 info and zkv6 decode on files made by the test writer.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "image_io.h"
#include "stream_writer.h"
#include "video_commands.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class Zkv6FileCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("zkv6_file_commands_" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string write(const std::string& name, const Bytes& bytes) {
    const fs::path path = dir / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path.string();
  }
  fs::path dir;
};

// A self-contained IX picture of flat grey intra blocks.
Bytes greyIxPicture() {
  zkv6enc::StreamWriter w;
  for (int b = 0; b < 80 * 60; ++b) {
    w.bits(0b110, 3);
    for (int block = 0; block < 3; ++block) {
      w.byteValue(0);
      w.nibble(0);
    }
  }
  return w.chunk("IX", -40);
}

Bytes zeroCopyIxPicture() {
  zkv6enc::StreamWriter w;
  for (int b = 0; b < 80 * 60; ++b) w.bits(0b110, 3);
  return w.chunk("IX", 70);
}

TEST_F(Zkv6FileCommands, InfoListsHeaderFramesAndChunks) {
  const std::string path =
      write("video.zkv6", zkv6enc::fileHeader("ZKV6", 640, 480, 3) +
                              zkv6enc::frame({zkv6enc::rawChunk("AU", {1, 2}), greyIxPicture()}, 0x2A) +
                              zkv6enc::frame({}) + zkv6enc::frame({zeroCopyIxPicture()}));
  testing::internal::CaptureStdout();
  EXPECT_EQ(zkv6::infoCommand({path}), 0);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("signature \"ZKV6\", header values 640 480 3"), std::string::npos) << out;
  EXPECT_NE(out.find("frame 0:"), std::string::npos) << out;
  EXPECT_NE(out.find("(top byte 0x2A)"), std::string::npos) << out;
  EXPECT_NE(out.find("chunk AU, 10 bytes"), std::string::npos) << out;
  EXPECT_NE(out.find("IX picture, self-contained coding, quality 40"), std::string::npos) << out;
  EXPECT_NE(out.find("frame 1: 0 bytes of chunks"), std::string::npos) << out;
  EXPECT_NE(out.find("IX picture, predicted coding, quality 70"), std::string::npos) << out;
}

TEST_F(Zkv6FileCommands, DecodeAlternatesTheTwoIxPictures) {
  const std::string path = write("video.zkv6", zkv6enc::fileHeader("ZKV6", 0, 0, 0) +
                                                   zkv6enc::frame({greyIxPicture()}) + zkv6enc::frame({}) +
                                                   zkv6enc::frame({zeroCopyIxPicture()}) + Bytes{2, 0, 0, 0});
  const fs::path out = dir / "frames";
  testing::internal::CaptureStdout();
  EXPECT_EQ(zkv6::decodeCommand({path, "-o", out.string(), "--raw"}), 0);
  const std::string lines = testing::internal::GetCapturedStdout();
  EXPECT_NE(lines.find("frame 0: 0 ->"), std::string::npos) << lines;
  EXPECT_NE(lines.find("frame 1: -2 ->"), std::string::npos) << lines;
  EXPECT_NE(lines.find("frame 2: 0 ->"), std::string::npos) << lines;
  EXPECT_NE(lines.find("frame 3: -1 ->"), std::string::npos) << lines;

  std::string error;
  zkv6::Image16 frames[4];
  for (int k = 0; k < 4; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%04d.raw", k);
    ASSERT_TRUE(zkv6::readRaw((out / name).string(), 640, 480, frames[k], error)) << error;
  }
  for (uint16_t p : frames[0].pixels) ASSERT_EQ(p, 0x4210);  // grey into picture 0
  for (uint16_t p : frames[1].pixels) ASSERT_EQ(p, 0);       // picture 1, untouched
  // Frame 2 goes into picture 0 again, copying picture 1 (all zero).
  for (uint16_t p : frames[2].pixels) ASSERT_EQ(p, 0);
}

TEST_F(Zkv6FileCommands, DecodeRefusesWhatItCannotRead) {
  testing::internal::CaptureStderr();
  EXPECT_NE(zkv6::decodeCommand({(dir / "missing.zkv6").string(), "-o", dir.string()}), 0);
  const std::string path = write("empty.zkv6", zkv6enc::fileHeader("ZKV6", 0, 0, 0) + zkv6enc::frame({}));
  EXPECT_NE(zkv6::decodeCommand({path, "-o", dir.string()}), 0);
  EXPECT_NE(zkv6::decodeCommand({path, "-o", dir.string(), "--kind", "xx"}), 0);
  const std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find("holds no IX or IW picture; say --kind"), std::string::npos) << errors;
  EXPECT_NE(errors.find("--kind is iw or ix"), std::string::npos) << errors;
  EXPECT_NE(errors.find("cannot open"), std::string::npos) << errors;
}

}  // namespace
