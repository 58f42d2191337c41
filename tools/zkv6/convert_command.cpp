#include "convert_command.h"

#include <cstdio>

#include "image_io.h"
#include "options.h"

namespace zkv6 {

namespace {

const char* const kConvertHelp =
    "usage: zkv6 convert IN.png -o OUT.raw [--flip]\n"
    "       zkv6 convert IN.raw --size WxH -o OUT.png [--flip]\n"
    "Converts between PNG (8-bit RGB) and raw pictures (little-endian 16-bit\n"
    "5-5-5 pixels, row-major, memory order). The kind of each file is told by\n"
    "its extension. --flip reverses the rows, as for a warp view, whose rows\n"
    "run upward in memory.\n";

bool isRaw(const std::string& path) { return path.size() > 4 && path.compare(path.size() - 4, 4, ".raw") == 0; }

int fail(const std::string& message) {
  std::fprintf(stderr, "zkv6 convert: %s\n", message.c_str());
  return 1;
}

}  // namespace

int convertCommand(const std::vector<std::string>& args) {
  Options options({"size", "-o"}, {"flip", "help"});
  std::string error;
  if (!options.parse(args, error)) return fail(error + "\n" + kConvertHelp);
  if (options.has("help")) {
    std::fputs(kConvertHelp, stdout);
    return 0;
  }
  if (options.positional().size() != 1 || !options.has("-o")) return fail(std::string("one input and -o OUTPUT are needed\n") + kConvertHelp);
  const std::string input = options.positional()[0], output = options.text("-o");

  Image16 image;
  if (isRaw(input)) {
    int width = 0, height = 0;
    char extra = 0;
    if (std::sscanf(options.text("size").c_str(), "%dx%d%c", &width, &height, &extra) != 2 || width <= 0 ||
        height <= 0 || width > 16384 || height > 16384) {
      return fail("a raw input needs --size WxH (each from 1 to 16384)");
    }
    if (!readRaw(input, width, height, image, error)) return fail(error);
  } else if (!readPng(input, image, error)) {
    return fail(error);
  }
  if (options.has("flip")) flipRows(image);
  if (!(isRaw(output) ? writeRaw(output, image, error) : writePng(output, image, error))) return fail(error);
  return 0;
}

}  // namespace zkv6
