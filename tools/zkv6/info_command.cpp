#include "video_commands.h"

#include <cstdio>

#include "byte_order.h"
#include "frame_walker.h"
#include "options.h"
#include "zkv6_file.h"

namespace zkv6 {

namespace {

const char* const kInfoHelp =
    "usage: zkv6 info FILE.zkv6\n"
    "Prints the file's signature and three header values, then each frame: its\n"
    "size and its chunks (tag and size; for IX and IW pictures the coding and\n"
    "the quality).\n";

bool isPicture(const video::Chunk& c) { return c.tag[0] == 'I' && (c.tag[1] == 'X' || c.tag[1] == 'W'); }

std::string printable(const char tag[2]) {
  std::string s;
  for (int k = 0; k < 2; ++k) {
    const auto c = static_cast<unsigned char>(tag[k]);
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, c >= 32 && c < 127 ? "%c" : "\\x%02X", c);
    s += buffer;
  }
  return s;
}

}  // namespace

int infoCommand(const std::vector<std::string>& args) {
  Options options({}, {"help"});
  std::string error;
  if (!options.parse(args, error) || options.has("help") || options.positional().size() != 1) {
    std::fputs(kInfoHelp, options.has("help") ? stdout : stderr);
    return options.has("help") ? 0 : 2;
  }
  Zkv6Reader reader;
  if (!reader.open(options.positional()[0], error)) {
    std::fprintf(stderr, "zkv6 info: %s\n", error.c_str());
    return 1;
  }
  const FileHeader h = reader.header();
  std::printf("signature \"%s\", header values %d %d %d\n", h.signature.c_str(), h.width, h.height, h.frameCount);
  Frame frame;
  for (int k = 0; reader.nextFrame(frame); ++k) {
    std::printf("frame %d: %lld bytes of chunks", k, static_cast<long long>(frame.size));
    if ((frame.word >> 24) != 0) std::printf(" (top byte 0x%02X)", frame.word >> 24);
    if (frame.size >= 0 && static_cast<int64_t>(frame.bytes.size()) < frame.size) {
      std::printf(", the file ends after %zu", frame.bytes.size());
    }
    std::printf("\n");
    const bool whole = video::forEachChunk(frame.bytes.data(), frame.bytes.size(), [](const video::Chunk& c) {
      std::printf("  chunk %s, %u bytes", printable(c.tag).c_str(), c.size);
      if (isPicture(c)) {
        uint8_t q[4] = {};
        for (size_t i = 0; i < 4 && i < c.payloadSize; ++i) q[i] = c.payload[i];
        const auto quality = static_cast<int32_t>(zkv6::readLe32(q));
        if (c.tag[1] == 'X') {
          std::printf(": IX picture, %s coding, quality %lld", quality >= 0 ? "predicted" : "self-contained",
                      quality >= 0 ? static_cast<long long>(quality) : -static_cast<long long>(quality));
        } else {
          std::printf(": IW panorama, quality %d", quality);
        }
      }
      std::printf("\n");
    });
    if (!whole) std::printf("  (a chunk too short for its header or reaching past the frame ends the walk)\n");
  }
  return 0;
}

}  // namespace zkv6
