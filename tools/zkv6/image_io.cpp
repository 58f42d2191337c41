#include "image_io.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace zkv6 {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openFile(const std::string& path, const char* mode, std::string& error) {
  File f(std::fopen(path.c_str(), mode));
  if (!f) error = "cannot open " + path;
  return f;
}

}  // namespace

bool readPng(const std::string& path, Image16& out, std::string& error) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) {
    error = path + ": " + png.message;
    return false;
  }
  png.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) {
    error = path + ": " + png.message;
    png_image_free(&png);
    return false;
  }
  out.width = static_cast<int>(png.width);
  out.height = static_cast<int>(png.height);
  out.pixels.resize(static_cast<size_t>(out.width) * out.height);
  for (size_t i = 0; i < out.pixels.size(); ++i) {
    out.pixels[i] = pack555(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
  }
  return true;
}

bool writePng(const std::string& path, const Image16& image, std::string& error) {
  std::vector<uint8_t> rgb(image.pixels.size() * 3);
  for (size_t i = 0; i < image.pixels.size(); ++i) {
    rgb[3 * i] = red555(image.pixels[i]);
    rgb[3 * i + 1] = green555(image.pixels[i]);
    rgb[3 * i + 2] = blue555(image.pixels[i]);
  }
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&png, path.c_str(), 0, rgb.data(), 0, nullptr)) {
    error = path + ": " + png.message;
    return false;
  }
  return true;
}

bool readRaw(const std::string& path, int width, int height, Image16& out, std::string& error) {
  File f = openFile(path, "rb", error);
  if (!f) return false;
  const size_t count = static_cast<size_t>(width) * height;
  std::vector<uint8_t> bytes(count * 2 + 1);
  const size_t got = std::fread(bytes.data(), 1, bytes.size(), f.get());
  if (got != count * 2) {
    error = path + ": expected " + std::to_string(count * 2) + " bytes (" + std::to_string(width) + "x" +
            std::to_string(height) + " pixels of 16 bits), found " + (got > count * 2 ? "more" : std::to_string(got));
    return false;
  }
  out.width = width;
  out.height = height;
  out.pixels.resize(count);
  for (size_t i = 0; i < count; ++i) {
    out.pixels[i] = static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  }
  return true;
}

bool writeRaw(const std::string& path, const Image16& image, std::string& error) {
  File f = openFile(path, "wb", error);
  if (!f) return false;
  std::vector<uint8_t> bytes(image.pixels.size() * 2);
  for (size_t i = 0; i < image.pixels.size(); ++i) {
    bytes[2 * i] = static_cast<uint8_t>(image.pixels[i]);
    bytes[2 * i + 1] = static_cast<uint8_t>(image.pixels[i] >> 8);
  }
  if (std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size() || std::fflush(f.get()) != 0) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

void flipRows(Image16& image) {
  for (int top = 0, bottom = image.height - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(image.pixels.begin() + static_cast<ptrdiff_t>(top) * image.width,
                     image.pixels.begin() + static_cast<ptrdiff_t>(top + 1) * image.width,
                     image.pixels.begin() + static_cast<ptrdiff_t>(bottom) * image.width);
  }
}

}  // namespace zkv6
