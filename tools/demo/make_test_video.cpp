// Writes a procedural 640x480 test video as numbered PNGs: a background that
// pans, a bar that turns, a ball that bounces and a frame counter, so that
// the predicted coding has motion of every kind to find.
//   make_test_video --frames N OUT-%04d.png
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "image_io.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr double kPi = 3.14159265358979323846;

zkv6::Image16 drawFrame(int k) {
  using zkv6::pack555;
  zkv6::Image16 f{kWidth, kHeight, std::vector<uint16_t>(static_cast<size_t>(kWidth) * kHeight)};
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      // A soft diagonal pattern panning 3 pixels right and 1 down a frame.
      const int u = x - 3 * k, v = y - k;
      const bool tile = ((u >> 5) + (v >> 5)) & 1;
      const auto shade = static_cast<uint8_t>(90 + 60 * std::sin((u + 2 * v) * 0.05));
      f.pixels[static_cast<size_t>(y) * kWidth + x] =
          tile ? pack555(shade, static_cast<uint8_t>(shade / 2), 60) : pack555(40, static_cast<uint8_t>(shade), 120);
    }
  }
  // A bar turning about the picture's centre.
  const double angle = k * kPi / 24;
  for (double t = -150; t <= 150; t += 0.5)
    for (double w = -6; w <= 6; w += 0.5) {
      const int x = kWidth / 2 + static_cast<int>(t * std::cos(angle) - w * std::sin(angle));
      const int y = kHeight / 2 + static_cast<int>(t * std::sin(angle) + w * std::cos(angle));
      if (x >= 0 && x < kWidth && y >= 0 && y < kHeight) f.pixels[static_cast<size_t>(y) * kWidth + x] = pack555(250, 250, 250);
    }
  // A ball bouncing along the bottom.
  const int bx = 40 + (k * 11) % 560, by = 400 - static_cast<int>(std::fabs(std::sin(k * 0.3)) * 150);
  for (int dy = -24; dy <= 24; ++dy)
    for (int dx = -24; dx <= 24; ++dx)
      if (dx * dx + dy * dy <= 24 * 24 && bx + dx >= 0 && bx + dx < kWidth && by + dy >= 0 && by + dy < kHeight)
        f.pixels[static_cast<size_t>(by + dy) * kWidth + bx + dx] = pack555(230, 40, 40);
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || std::string(argv[1]) != "--frames" || std::atoi(argv[2]) < 1) {
    std::fprintf(stderr, "usage: make_test_video --frames N OUT-%%04d.png\n");
    return 2;
  }
  std::string error;
  for (int k = 0; k < std::atoi(argv[2]); ++k) {
    char name[4096];
    std::snprintf(name, sizeof name, argv[3], k);
    if (!zkv6::writePng(name, drawFrame(k), error)) {
      std::fprintf(stderr, "make_test_video: %s\n", error.c_str());
      return 1;
    }
  }
  return 0;
}
