#include "synthetic_picture.h"

#include <algorithm>
#include <cmath>
#include <random>

std::vector<uint16_t> syntheticPicture(int width, int height) {
  std::mt19937 random(7);
  std::vector<uint16_t> p(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = x * 6.2831853 / width, v = y * 3.14159 / height;
      double r = 0.5 + 0.4 * std::sin(u * 3 + v), g = 0.5 + 0.35 * std::cos(u * 2 - v * 3), b = 0.45 + 0.3 * std::sin(v * 5);
      if (((x / 96) + (y / 64)) % 3 == 0) r *= 0.6, g *= 0.8;  // edges
      const double texture = 0.06 * std::sin(x * 0.9) * std::cos(y * 1.3) + 0.02 * ((random() % 100) / 100.0 - 0.5);
      auto level = [&](double c) { return static_cast<uint16_t>(std::clamp((c + texture) * 31.0, 0.0, 31.0)); };
      p[static_cast<size_t>(y) * width + x] = static_cast<uint16_t>((level(r) << 10) | (level(g) << 5) | level(b));
    }
  }
  return p;
}
