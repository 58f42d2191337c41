// Writes a procedural 2048x768 test panorama, as PNG and as raw 16-bit
// pixels, made so that a wrong mapping shows at a glance: compass letters
// every 45 degrees of azimuth (N on the seam at column 0, E at 512, S at 1024,
// W at 1536), their headings in degrees under the horizon, meridians every
// 22.5 degrees, elevation circles every 15 degrees, a sky that lightens upward
// and a chequered ground. With --frames, a sun crosses the sky from frame
// to frame, for a short panorama video.
//   make_test_panorama OUT.png OUT.raw
//   make_test_panorama --frames N OUT-%04d.png
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <string>

#include "image_io.h"

namespace {

constexpr int kWidth = 2048, kHeight = 768;
constexpr double kPi = 3.14159265358979323846;
const double kRowRadius = 384.0 / std::sin(kPi * 31.0 / 72.0);

// 5x7 glyphs, one byte a row, bit 4 the leftmost pixel.
struct Glyph {
  char c;
  unsigned char rows[7];
};
constexpr Glyph kGlyphs[] = {
    {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}}, {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
};

int rowOfElevation(double degrees) {
  return static_cast<int>(std::lround(384.0 - kRowRadius * std::sin(degrees * kPi / 180.0)));
}

void put(zkv6::Image16& image, int x, int y, uint16_t pixel) {
  if (y < 0 || y >= kHeight) return;
  x = ((x % kWidth) + kWidth) % kWidth;  // wraps across the seam
  image.pixels[static_cast<size_t>(y) * kWidth + x] = pixel;
}

// Text centred on column cx, top at row y, each glyph pixel scale x scale.
void drawText(zkv6::Image16& image, const std::string& text, int cx, int y, int scale, uint16_t ink) {
  const int advance = 6 * scale;
  int x = cx - (static_cast<int>(text.size()) * advance - scale) / 2;
  for (char c : text) {
    for (const Glyph& g : kGlyphs) {
      if (g.c != c) continue;
      for (int r = 0; r < 7; ++r)
        for (int b = 0; b < 5; ++b)
          if (g.rows[r] & (0x10 >> b))
            for (int dy = 0; dy < scale; ++dy)
              for (int dx = 0; dx < scale; ++dx) put(image, x + b * scale + dx, y + r * scale + dy, ink);
    }
    x += advance;
  }
}

// The panorama with the sun at the given azimuth (panorama columns).
zkv6::Image16 drawPanorama(double sunColumn) {
  using zkv6::pack555;
  zkv6::Image16 pano{kWidth, kHeight, std::vector<uint16_t>(static_cast<size_t>(kWidth) * kHeight)};
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      uint16_t p;
      if (y < 384) {  // sky: deep blue at the zenith, pale at the horizon
        const int t = y * 255 / 384;
        p = pack555(static_cast<uint8_t>(40 + t / 2), static_cast<uint8_t>(70 + t / 2), 230);
      } else {  // ground: chequered, 64 columns by 32 rows
        const bool dark = ((x / 64) + ((y - 384) / 32)) % 2;
        p = dark ? pack555(60, 110, 40) : pack555(150, 120, 70);
      }
      pano.pixels[static_cast<size_t>(y) * kWidth + x] = p;
    }
  }
  if (sunColumn >= 0) {  // a sun with a halo, 40 degrees up
    const int cy = rowOfElevation(40);
    for (int dy = -40; dy <= 40; ++dy)
      for (int dx = -40; dx <= 40; ++dx) {
        const double r = std::sqrt(dx * dx + dy * dy);
        if (r <= 24) put(pano, static_cast<int>(sunColumn) + dx, cy + dy, pack555(255, 240, 120));
        else if (r <= 40 && (dx + dy) % 2 == 0) put(pano, static_cast<int>(sunColumn) + dx, cy + dy, pack555(255, 200, 90));
      }
  }
  for (int e = -75; e <= 75; e += 15) {  // elevation circles, the horizon in yellow
    const uint16_t ink = e == 0 ? pack555(255, 230, 0) : pack555(235, 235, 235);
    const int row = rowOfElevation(e);
    for (int x = 0; x < kWidth; ++x)
      for (int t = 0; t < (e == 0 ? 3 : 1); ++t) put(pano, x, row - 1 + t, ink);
  }
  for (int m = 0; m < 16; ++m) {  // meridians every 22.5 degrees, red every 90
    const int column = m * 128;
    const bool cardinal = m % 4 == 0;
    for (int y = 0; y < kHeight; ++y)
      for (int t = 0; t < (cardinal ? 3 : 1); ++t)
        put(pano, column - (cardinal ? 1 : 0) + t, y, cardinal ? pack555(220, 30, 30) : pack555(20, 20, 20));
  }
  const char* names[] = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};
  for (int k = 0; k < 8; ++k) {
    const int column = k * 256;
    drawText(pano, names[k], column + 40, rowOfElevation(20) - 42, 6, pack555(255, 255, 255));
    drawText(pano, std::to_string(k * 45), column + 40, rowOfElevation(-8), 4, pack555(20, 20, 20));
  }
  return pano;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  if (argc == 4 && std::string(argv[1]) == "--frames") {
    const int frames = std::atoi(argv[2]);
    if (frames < 1 || frames > 10000) {
      std::fprintf(stderr, "make_test_panorama: --frames needs 1 to 10000\n");
      return 2;
    }
    for (int k = 0; k < frames; ++k) {
      char name[4096];
      std::snprintf(name, sizeof name, argv[3], k);
      // The sun climbs round from east (column 512) a little each frame.
      if (!zkv6::writePng(name, drawPanorama(512 + 24.0 * k), error)) {
        std::fprintf(stderr, "make_test_panorama: %s\n", error.c_str());
        return 1;
      }
    }
    return 0;
  }
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_test_panorama OUT.png OUT.raw\n       make_test_panorama --frames N OUT-%%04d.png\n");
    return 2;
  }
  const zkv6::Image16 pano = drawPanorama(-1);
  if (!zkv6::writePng(argv[1], pano, error) || !zkv6::writeRaw(argv[2], pano, error)) {
    std::fprintf(stderr, "make_test_panorama: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
