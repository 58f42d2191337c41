// zkv6 encode: pictures to a ZKV6 file. The file header's three values, as
// this encoder writes them: the pictures' width, their height, and the
// number of frames.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "image_io.h"
#include "options.h"
#include "picture_encoders.h"
#include "picture_error.h"
#include "pictures.h"
#include "stream_writer.h"
#include "video_commands.h"

namespace zkv6 {

namespace {

const char* const kEncodeHelp =
    "usage: zkv6 encode --kind iw INPUT.png -o OUT.zkv6 [--quality Q] [--frames N]\n"
    "       zkv6 encode --kind ix INPUT.png -o OUT.zkv6 [--quality Q] [--frames N] [--keyint K]\n"
    "INPUT is one PNG, or a numbered sequence such as pano-%04d.png (frames 0, 1,\n"
    "... while they exist, or N of them). One PNG with --frames N makes N frames\n"
    "of it. IW: 2048x768 panoramas, each frame one self-contained picture. IX:\n"
    "640x480 pictures, a self-contained one every K frames (default 10) and\n"
    "predicted ones between. Quality 1..100 (default 75). The header holds the\n"
    "width, the height and the number of frames.\n";

int fail(const std::string& message) {
  std::fprintf(stderr, "zkv6 encode: %s\n", message.c_str());
  return 1;
}

std::string framePath(const std::string& pattern, int k) {
  if (pattern.find('%') == std::string::npos) return pattern;
  char name[4096];
  std::snprintf(name, sizeof name, pattern.c_str(), k);
  return name;
}

}  // namespace

int encodeCommand(const std::vector<std::string>& args) {
  Options options({"kind", "quality", "frames", "keyint", "-o"}, {"help"});
  std::string error;
  if (!options.parse(args, error)) return fail(error + "\n" + kEncodeHelp);
  if (options.has("help")) {
    std::fputs(kEncodeHelp, stdout);
    return 0;
  }
  if (options.positional().size() != 1 || !options.has("-o")) return fail(std::string("one input and -o OUT are needed\n") + kEncodeHelp);
  const std::string kind = options.text("kind");
  if (kind != "iw" && kind != "ix") return fail("--kind is iw or ix");
  long quality, frames, keyint;
  if (!options.integer("quality", 75, 1, 100, quality, error) || !options.integer("frames", 0, 1, 100000, frames, error) ||
      !options.integer("keyint", 10, 1, 100000, keyint, error)) {
    return fail(error);
  }
  const std::string pattern = options.positional()[0];
  const bool numbered = pattern.find('%') != std::string::npos;
  if (!numbered && frames == 0) frames = 1;
  const bool iw = kind == "iw";
  const int width = iw ? video::kIwWidth : video::kIxWidth, height = iw ? video::kIwHeight : video::kIxHeight;

  std::vector<uint8_t> body;
  std::vector<uint16_t> previous;
  double psnrSum = 0;
  int count = 0;
  const auto start = std::chrono::steady_clock::now();
  for (; frames == 0 || count < frames; ++count) {
    const std::string path = framePath(pattern, count);
    if (numbered && frames == 0 && !std::filesystem::exists(path)) break;
    Image16 picture;
    if (!readPng(path, picture, error)) return fail(error);
    if (picture.width != width || picture.height != height) {
      return fail(path + " is " + std::to_string(picture.width) + "x" + std::to_string(picture.height) + "; " + kind +
                  " pictures are " + std::to_string(width) + "x" + std::to_string(height));
    }
    const bool key = count % keyint == 0;
    zkv6enc::EncodedPicture encoded =
        iw ? zkv6enc::encodeIWPicture(picture.pixels.data(), static_cast<int>(quality))
           : zkv6enc::encodeIXPicture(picture.pixels.data(), key ? nullptr : previous.data(), static_cast<int>(quality));
    psnrSum += zkv6enc::psnr(picture.pixels.data(), encoded.reconstruction.data(), picture.pixels.size());
    const auto f = zkv6enc::frame({zkv6enc::rawChunk(iw ? "IW" : "IX", encoded.payload)});
    body.insert(body.end(), f.begin(), f.end());
    previous = std::move(encoded.reconstruction);
  }
  if (count == 0) return fail("no picture found at " + framePath(pattern, 0));
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  const auto header = zkv6enc::fileHeader("ZKV6", static_cast<int16_t>(width), static_cast<int16_t>(height), count);
  std::ofstream out(options.text("-o"), std::ios::binary);
  out.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
  out.write(reinterpret_cast<const char*>(body.data()), static_cast<std::streamsize>(body.size()));
  if (!out.flush()) return fail("cannot write " + options.text("-o"));
  std::printf("%d %s frame%s, %zu bytes, %.3f bits a pixel, mean PSNR %.2f dB, %.2f frames a second\n", count,
              kind.c_str(), count == 1 ? "" : "s", header.size() + body.size(),
              8.0 * static_cast<double>(body.size()) / (static_cast<double>(width) * height * count), psnrSum / count,
              count / (seconds > 0 ? seconds : 1e-9));
  return 0;
}

}  // namespace zkv6
