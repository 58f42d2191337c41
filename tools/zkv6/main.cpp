// zkv6: the command-line tool for people who make Voxa panoramas and videos.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "convert_command.h"
#include "video_commands.h"
#include "view_command.h"

namespace {

const char* const kUsage =
    "usage: zkv6 COMMAND [ARGS...]\n"
    "commands:\n"
    "  view      perspective views of a 2048x768 panorama, as the warp plug-in renders them\n"
    "  convert   pictures between PNG and raw 16-bit 5-5-5 pixels\n"
    "  info      the header and the frames of a ZKV6 file\n"
    "  decode    the pictures of a ZKV6 file, frame by frame\n"
    "  encode    pictures to a ZKV6 file (IW panoramas or IX videos)\n"
    "Run 'zkv6 COMMAND --help' for the options of a command.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  const std::string command = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  if (command == "view") return zkv6::viewCommand(args);
  if (command == "convert") return zkv6::convertCommand(args);
  if (command == "info") return zkv6::infoCommand(args);
  if (command == "decode") return zkv6::decodeCommand(args);
  if (command == "encode") return zkv6::encodeCommand(args);
  std::fprintf(stderr, "zkv6: unknown command '%s'\n%s", command.c_str(), kUsage);
  return 2;
}
