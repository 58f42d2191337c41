// The zkv6 tool's option parser and picture files.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "image_io.h"
#include "options.h"
#include "video_commands.h"

namespace {

using zkv6::Options;

TEST(Options, ValuesFlagsAndPositionals) {
  Options o({"fov", "yaw", "-o"}, {"raw"});
  std::string error;
  ASSERT_TRUE(o.parse({"in.png", "--fov", "90", "--yaw", "-30.5", "--raw", "-o", "out.png"}, error)) << error;
  ASSERT_EQ(o.positional().size(), 1u);
  EXPECT_EQ(o.positional()[0], "in.png");
  double yaw = 0;
  ASSERT_TRUE(o.number("yaw", 0, yaw, error));
  EXPECT_DOUBLE_EQ(yaw, -30.5);
  EXPECT_TRUE(o.has("raw"));
  EXPECT_EQ(o.text("-o"), "out.png");
  double pitch = 1;
  ASSERT_TRUE(o.number("pitch", 7, pitch, error));
  EXPECT_EQ(pitch, 7);
}

TEST(Options, ErrorsNameTheOption) {
  std::string error;
  Options unknown({"fov"}, {});
  EXPECT_FALSE(unknown.parse({"--zoom", "2"}, error));
  EXPECT_EQ(error, "unknown option --zoom");
  Options missing({"fov"}, {});
  EXPECT_FALSE(missing.parse({"--fov"}, error));
  EXPECT_EQ(error, "option --fov needs a value");
  Options bad({"fov", "sweep"}, {});
  ASSERT_TRUE(bad.parse({"--fov", "9O", "--sweep", "0"}, error));
  double fov;
  EXPECT_FALSE(bad.number("fov", 90, fov, error));
  EXPECT_EQ(error, "--fov needs a number, not \"9O\"");
  long sweep;
  EXPECT_FALSE(bad.integer("sweep", 1, 1, 100, sweep, error));
}

TEST(Pictures, RawAndPngKeep555PixelsExactly) {
  const auto dir = std::filesystem::temp_directory_path();
  const std::string raw = (dir / "zkv6_cli_test.raw").string(), png = (dir / "zkv6_cli_test.png").string();
  zkv6::Image16 image{37, 5, {}};
  for (int i = 0; i < 37 * 5; ++i) image.pixels.push_back(static_cast<uint16_t>((i * 977) & 0x7FFF));
  std::string error;
  ASSERT_TRUE(zkv6::writeRaw(raw, image, error)) << error;
  ASSERT_TRUE(zkv6::writePng(png, image, error)) << error;
  zkv6::Image16 fromRaw, fromPng;
  ASSERT_TRUE(zkv6::readRaw(raw, 37, 5, fromRaw, error)) << error;
  ASSERT_TRUE(zkv6::readPng(png, fromPng, error)) << error;
  EXPECT_EQ(fromRaw.pixels, image.pixels);
  EXPECT_EQ(fromPng.pixels, image.pixels);
  EXPECT_EQ(fromPng.width, 37);
  // A raw file of the wrong size is refused with its sizes.
  EXPECT_FALSE(zkv6::readRaw(raw, 37, 6, fromRaw, error));
  EXPECT_NE(error.find("expected 444 bytes"), std::string::npos) << error;
  EXPECT_FALSE(zkv6::readRaw(raw, 36, 5, fromRaw, error));
  std::remove(raw.c_str());
  std::remove(png.c_str());
}

TEST(Pictures, FlipReversesRows) {
  zkv6::Image16 image{2, 3, {1, 2, 3, 4, 5, 6}};
  zkv6::flipRows(image);
  EXPECT_EQ(image.pixels, (std::vector<uint16_t>{5, 6, 3, 4, 1, 2}));
}

// Encodes in parallel give the file a serial encode gives: runs of IX
// pictures from one self-contained picture to the next are the jobs. With
// a picture of the wrong size, the error is the first frame's in order.
TEST(Encode, ThreadsChangeNoByteAndErrorsComeInFrameOrder) {
  const auto dir = std::filesystem::temp_directory_path() / "zkv6_threads_test";
  std::filesystem::create_directories(dir);
  std::string error;
  for (int k = 0; k < 3; ++k) {
    zkv6::Image16 image{640, 480, {}};
    for (int i = 0; i < 640 * 480; ++i) image.pixels.push_back(static_cast<uint16_t>(((i % 640 + 3 * k) / 9) * 0x421 & 0x7FFF));
    char name[32];
    std::snprintf(name, sizeof name, "f-%d.png", k);
    ASSERT_TRUE(zkv6::writePng((dir / name).string(), image, error)) << error;
  }
  const std::string pattern = (dir / "f-%d.png").string();
  auto encode = [&](const char* threads, const std::string& out) {
    return zkv6::encodeCommand({"--kind", "ix", pattern, "-o", (dir / out).string(), "--keyint", "2", "--threads", threads});
  };
  ASSERT_EQ(encode("1", "serial.zkv6"), 0);
  ASSERT_EQ(encode("3", "parallel.zkv6"), 0);
  auto bytes = [&](const char* name) {
    std::ifstream in(dir / name, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
  };
  EXPECT_EQ(bytes("serial.zkv6"), bytes("parallel.zkv6"));

  ASSERT_TRUE(zkv6::writePng((dir / "f-1.png").string(), zkv6::Image16{8, 8, std::vector<uint16_t>(64)}, error));
  ASSERT_TRUE(zkv6::writePng((dir / "f-2.png").string(), zkv6::Image16{4, 4, std::vector<uint16_t>(16)}, error));
  testing::internal::CaptureStderr();
  EXPECT_EQ(encode("3", "bad.zkv6"), 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("f-1.png is 8x8"), std::string::npos);
  std::filesystem::remove_all(dir);
}

}  // namespace
