// Pictures for the zkv6 tool: 16-bit 5-5-5 pixel buffers, read from and
// written to PNG files (8-bit RGB) or raw little-endian 16-bit files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zkv6 {

struct Image16 {
  int width = 0;
  int height = 0;
  std::vector<uint16_t> pixels;  // row-major, pixel (x, y) at y * width + x
};

// 5-5-5: red in bits 10..14, green 5..9, blue 0..4, bit 15 clear.
constexpr uint16_t pack555(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
}
constexpr uint8_t expand5(unsigned v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); }
constexpr uint8_t red555(uint16_t p) { return expand5((p >> 10) & 31); }
constexpr uint8_t green555(uint16_t p) { return expand5((p >> 5) & 31); }
constexpr uint8_t blue555(uint16_t p) { return expand5(p & 31); }

// Each returns false and sets error on failure.
bool readPng(const std::string& path, Image16& out, std::string& error);
bool writePng(const std::string& path, const Image16& image, std::string& error);
bool readRaw(const std::string& path, int width, int height, Image16& out, std::string& error);
bool writeRaw(const std::string& path, const Image16& image, std::string& error);

// Reverses the order of the rows.
void flipRows(Image16& image);

}  // namespace zkv6
