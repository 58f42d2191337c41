// What a setting of the IW copy search costs and gives on the comparison
// panorama: time, bytes and PSNR at qualities 50 and 90 and their
// neighbours, and the bytes at a reference PSNR, interpolated between the
// neighbouring qualities, against reference bytes.
//
//   iw_search_settings RANGE TRANSFORM_RANGE BEST_POSITIONS GROUPS
//
// The references are the encoder's figures before the copy search was made
// faster (one picture: 131462 bytes at 31.405 dB for q50, 351897 bytes at
// 36.127 dB for q90).
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "iw_encoder.h"
#include "picture_error.h"
#include "pictures.h"
#include "synthetic_picture.h"

namespace {

struct Reference {
  int quality;
  double bytes, psnr;
};
constexpr Reference kReferences[] = {{50, 131462, 31.405}, {90, 351897, 36.127}};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: iw_search_settings RANGE TRANSFORM_RANGE BEST_POSITIONS GROUPS\n");
    return 2;
  }
  const zkv6enc::IwOptions options{std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]) != 0};
  const auto source = syntheticPicture(video::kIwWidth, video::kIwHeight);
  for (const Reference& reference : kReferences) {
    double seconds = 0, bytes[3], psnr[3];
    for (int d = -1; d <= 1; ++d) {
      const auto start = std::chrono::steady_clock::now();
      const auto e = zkv6enc::encodeIWPicture(source.data(), reference.quality + d, options);
      if (d == 0) seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      bytes[d + 1] = static_cast<double>(e.payload.size());
      psnr[d + 1] = zkv6enc::psnr(source.data(), e.reconstruction.data(), source.size());
    }
    const int i = reference.psnr < psnr[1] ? 0 : 1;
    const double atPsnr = bytes[i] + (bytes[i + 1] - bytes[i]) * (reference.psnr - psnr[i]) / (psnr[i + 1] - psnr[i]);
    std::printf("q%d: %.3f s, %.0f bytes, %.3f dB (q%d %.0f / %.3f, q%d %.0f / %.3f); at %.3f dB %.0f bytes, %+.2f %%\n",
                reference.quality, seconds, bytes[1], psnr[1], reference.quality - 1, bytes[0], psnr[0],
                reference.quality + 1, bytes[2], psnr[2], reference.psnr, atPsnr,
                100 * (atPsnr / reference.bytes - 1));
  }
  return 0;
}
