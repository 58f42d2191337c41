#include <cstdio>
#include <filesystem>
#include <memory>

#include "frame_walker.h"
#include "image_io.h"
#include "video_commands.h"
#include "options.h"
#include "pictures.h"
#include "zkv6_file.h"

namespace zkv6 {

namespace {

const char* const kDecodeHelp =
    "usage: zkv6 decode FILE.zkv6 -o DIR [--raw] [--kind iw|ix]\n"
    "Decodes frame by frame as a Voxa program reads them. IW: one 2048x768\n"
    "picture, zero at first, that every frame decodes into. IX: two 640x480\n"
    "pictures, zero at first; frame k decodes into picture k mod 2 with the\n"
    "other as its reference. After each frame the picture it decoded into is\n"
    "written as DIR/frame-0000.png, ... (--raw: DIR/frame-0000.raw, little-endian\n"
    "16-bit 5-5-5 pixels in memory order), and one line tells the frame's result:\n"
    "0 a picture was decoded, -2 the frame held none, -1 no memory for the frame.\n"
    "--kind defaults to the kind of the file's first picture chunk.\n";

int fail(const std::string& message) {
  std::fprintf(stderr, "zkv6 decode: %s\n", message.c_str());
  return 1;
}

// The kind of the file's first picture chunk, or 0 when it has none.
char firstPictureKind(const std::string& path) {
  Zkv6Reader reader;
  std::string error;
  if (!reader.open(path, error)) return 0;
  reader.header();
  Frame frame;
  char kind = 0;
  while (!kind && reader.nextFrame(frame)) {
    video::forEachChunk(frame.bytes.data(), frame.bytes.size(), [&](const video::Chunk& c) {
      if (!kind && c.tag[0] == 'I' && (c.tag[1] == 'X' || c.tag[1] == 'W')) kind = c.tag[1];
    });
  }
  return kind;
}

}  // namespace

int decodeCommand(const std::vector<std::string>& args) {
  Options options({"kind", "-o"}, {"raw", "help"});
  std::string error;
  if (!options.parse(args, error)) return fail(error + "\n" + kDecodeHelp);
  if (options.has("help")) {
    std::fputs(kDecodeHelp, stdout);
    return 0;
  }
  if (options.positional().size() != 1 || !options.has("-o")) return fail(std::string("one input and -o DIR are needed\n") + kDecodeHelp);
  const std::string input = options.positional()[0], dir = options.text("-o");
  Zkv6Reader reader;
  if (!reader.open(input, error)) return fail(error);
  char kind = 0;
  if (options.has("kind")) {
    const std::string k = options.text("kind");
    if (k != "iw" && k != "ix") return fail("--kind is iw or ix, not \"" + k + "\"");
    kind = k == "iw" ? 'W' : 'X';
  } else if (!(kind = firstPictureKind(input))) {
    return fail(input + " holds no IX or IW picture; say --kind");
  }

  std::filesystem::create_directories(dir);
  reader.header();

  const int width = kind == 'W' ? video::kIwWidth : video::kIxWidth;
  const int height = kind == 'W' ? video::kIwHeight : video::kIxHeight;
  Image16 pictures[2];
  for (Image16& p : pictures) p = {width, height, std::vector<uint16_t>(static_cast<size_t>(width) * height)};
  const bool raw = options.has("raw");
  Frame frame;
  for (int k = 0; reader.nextFrame(frame); ++k) {
    Image16& target = pictures[kind == 'W' ? 0 : k % 2];
    int result = video::kNoMemory;
    if (frame.size >= 0) {
      result = kind == 'W' ? video::decodeIWFrame(frame.bytes.data(), frame.bytes.size(), target.pixels.data())
                           : video::decodeIXFrame(frame.bytes.data(), frame.bytes.size(), target.pixels.data(),
                                                  pictures[(k + 1) % 2].pixels.data());
    }
    char name[32];
    std::snprintf(name, sizeof name, "frame-%04d.%s", k, raw ? "raw" : "png");
    const std::string path = (std::filesystem::path(dir) / name).string();
    if (!(raw ? writeRaw(path, target, error) : writePng(path, target, error))) return fail(error);
    std::printf("frame %d: %d -> %s\n", k, result, path.c_str());
  }
  return 0;
}

}  // namespace zkv6
