// Writes the codec comparison picture as a PNG, for timing `zkv6 encode`
// on the same pixels the benchmarks use:
//   write_comparison_picture OUT.png [WIDTH HEIGHT]   (default 2048 768)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "image_io.h"
#include "synthetic_picture.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) {
    std::fprintf(stderr, "usage: write_comparison_picture OUT.png [WIDTH HEIGHT]\n");
    return 2;
  }
  zkv6::Image16 image;
  image.width = argc == 4 ? std::atoi(argv[2]) : 2048;
  image.height = argc == 4 ? std::atoi(argv[3]) : 768;
  if (image.width <= 0 || image.height <= 0 || image.width > 8192 || image.height > 8192) {
    std::fprintf(stderr, "write_comparison_picture: a size from 1 to 8192 is needed\n");
    return 2;
  }
  image.pixels = syntheticPicture(image.width, image.height);
  std::string error;
  if (!zkv6::writePng(argv[1], image, error)) {
    std::fprintf(stderr, "write_comparison_picture: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
