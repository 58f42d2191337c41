// zkv6 encode: pictures to a ZKV6 file. The file header's three values, as
// this encoder writes them: the pictures' width, their height, and the
// number of frames.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "encode_jobs.h"
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
    "                   [--threads T] [--speed S]\n"
    "       zkv6 encode --kind ix INPUT.png -o OUT.zkv6 [--quality Q] [--frames N] [--keyint K]\n"
    "                   [--threads T] [--speed S]\n"
    "INPUT is one PNG, or a numbered sequence such as pano-%04d.png (frames 0, 1,\n"
    "... while they exist, or N of them). One PNG with --frames N makes N frames\n"
    "of it. IW: 2048x768 panoramas, each frame one self-contained picture. IX:\n"
    "640x480 pictures, a self-contained one every K frames (default 10) and\n"
    "predicted ones between. Quality 1..100 (default 75). The header holds the\n"
    "width, the height and the number of frames. Panoramas, and runs of IX\n"
    "pictures from one self-contained picture to the next, are encoded T at a\n"
    "time (default: the machine's processors); the file is the same for any T.\n"
    "Speed 0 searches copies hardest, 1 (the default) nearly as well in half the\n"
    "time, 2 several times faster again for more bytes.\n";

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

// One frame's result: its frame bytes and PSNR, or what went wrong.
struct EncodedFrame {
  std::vector<uint8_t> bytes;
  double psnr = 0;
  std::string error;
};

}  // namespace

int encodeCommand(const std::vector<std::string>& args) {
  Options options({"kind", "quality", "frames", "keyint", "threads", "speed", "-o"}, {"help"});
  std::string error;
  if (!options.parse(args, error)) return fail(error + "\n" + kEncodeHelp);
  if (options.has("help")) {
    std::fputs(kEncodeHelp, stdout);
    return 0;
  }
  if (options.positional().size() != 1 || !options.has("-o")) return fail(std::string("one input and -o OUT are needed\n") + kEncodeHelp);
  const std::string kind = options.text("kind");
  if (kind != "iw" && kind != "ix") return fail("--kind is iw or ix");
  long quality, frames, keyint, threads, speed;
  if (!options.integer("quality", 75, 1, 100, quality, error) || !options.integer("frames", 0, 1, 100000, frames, error) ||
      !options.integer("keyint", 10, 1, 100000, keyint, error) ||
      !options.integer("threads", std::max(1u, std::thread::hardware_concurrency()), 1, 256, threads, error) ||
      !options.integer("speed", 1, 0, 2, speed, error)) {
    return fail(error);
  }
  const std::string pattern = options.positional()[0];
  const bool numbered = pattern.find('%') != std::string::npos;
  if (!numbered && frames == 0) frames = 1;
  int count = static_cast<int>(frames);
  if (count == 0) {
    while (std::filesystem::exists(framePath(pattern, count))) ++count;
    if (count == 0) return fail("no picture found at " + framePath(pattern, 0));
  }
  const bool iw = kind == "iw";
  const int width = iw ? video::kIwWidth : video::kIxWidth, height = iw ? video::kIwHeight : video::kIxHeight;

  // Each panorama stands alone, and so does each run of IX pictures from one
  // self-contained picture to the next: those runs are the jobs, encoded in
  // parallel, each frame exactly as a serial encode makes it.
  const auto search = static_cast<zkv6enc::Speed>(speed);
  const int perJob = iw ? 1 : static_cast<int>(keyint);
  const int jobs = (count + perJob - 1) / perJob;
  std::vector<EncodedFrame> encoded(static_cast<size_t>(count));
  auto encodeJob = [&](int job) {
    std::vector<uint16_t> previous;
    for (int k = job * perJob; k < std::min(count, (job + 1) * perJob); ++k) {
      EncodedFrame& e = encoded[static_cast<size_t>(k)];
      const std::string path = framePath(pattern, k);
      Image16 picture;
      if (!readPng(path, picture, e.error)) return;
      if (picture.width != width || picture.height != height) {
        e.error = path + " is " + std::to_string(picture.width) + "x" + std::to_string(picture.height) + "; " + kind +
                  " pictures are " + std::to_string(width) + "x" + std::to_string(height);
        return;
      }
      zkv6enc::EncodedPicture p =
          iw ? zkv6enc::encodeIWPicture(picture.pixels.data(), static_cast<int>(quality), search)
             : zkv6enc::encodeIXPicture(picture.pixels.data(), previous.empty() ? nullptr : previous.data(),
                                        static_cast<int>(quality), search);
      e.psnr = zkv6enc::psnr(picture.pixels.data(), p.reconstruction.data(), picture.pixels.size());
      e.bytes = zkv6enc::frame({zkv6enc::rawChunk(iw ? "IW" : "IX", p.payload)});
      previous = std::move(p.reconstruction);
    }
  };
  const auto start = std::chrono::steady_clock::now();
  ProgressLine progress(count);
  runJobs(jobs, static_cast<int>(threads), encodeJob, [&](int done) { progress.update(std::min(count, done * perJob)); });
  progress.finish();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::vector<uint8_t> body;
  double psnrSum = 0;
  for (const EncodedFrame& e : encoded) {
    // A job stops at its first failure: the first error in frame order is
    // the one a serial encode would have met.
    if (!e.error.empty()) return fail(e.error);
    body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    psnrSum += e.psnr;
  }

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
