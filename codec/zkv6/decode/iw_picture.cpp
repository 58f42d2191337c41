// IW panoramas: 256 x 96 blocks of 8x8 pixels, each intra coded or copied
// from the part of the panorama already decoded, split into 4x4 quadrants
// and those into 2x2 pieces. Long vectors wrap around the panorama's seam.
//
// Codes (codeStream):
//   8x8: 0 four 4x4 quadrants | 10 t t, then W: long vector | 11 intra block
//   4x4: 0 t t, then W: long vector | 1 four 2x2 from the next 2x2 group
// The transform's low bit is the flag of W (vector_word.h).
//
// As in IX pictures, every copy's source region is held inside the panorama
// (heldSourceStart): sources above its first row or past its last pixel copy
// the nearest region inside it, and the streams stay in step.
#include <cstdint>

#include "block_transform.h"
#include "copy_tables.h"
#include "intra_block.h"
#include "path_counts.h"
#include "picture_header.h"
#include "pictures.h"
#include "vector_word.h"

namespace video {

namespace {

constexpr int kStride = kIwWidth;
constexpr int32_t kPixels = kIwWidth * kIwHeight;

constexpr const PieceCopies& kCopies8x8 = pieceCopies<8, 8, kStride>;
constexpr const PieceCopies& kCopies4x4 = pieceCopies<4, 4, kStride>;
constexpr const PieceCopies& kCopies2x2 = pieceCopies<2, 2, kStride>;

// Quadrants of a block, and 2x2 pieces of a quadrant, in decoding order.
constexpr int kQuarterX[4] = {0, 1, 0, 1};
constexpr int kQuarterY[4] = {0, 0, 1, 1};

class IwDecoder {
 public:
  IwDecoder(const uint8_t* payload, size_t size, uint16_t* panorama)
      : streams_(openStreams(payload, size)), panorama_(panorama) {
    quantTables(quant_, streams_.quality);
  }

  void run() {
    for (y0_ = 0; y0_ < kIwHeight; y0_ += 8) {
      if (kStopWhenStreamsEnd && streams_.ended()) return;
      for (x0_ = 0; x0_ < kIwWidth; x0_ += 8) block();
    }
  }

 private:
  void block() {
    uint16_t* destination = panorama_ + y0_ * kStride + x0_;
    if (streams_.codes.bit() == 0) {
      countPath(kIwCodes, 0);
      for (int q = 0; q < 4; ++q) quadrant(4 * kQuarterX[q], 4 * kQuarterY[q]);
    } else if (streams_.codes.bit() == 0) {
      countPath(kIwCodes, 1);
      longVector(kCopies8x8, 0, destination);
    } else {
      countPath(kIwCodes, 2);
      decodeMacroblock(quant_, streams_.coefficients, destination, kStride);
    }
  }

  // The quadrant at (qx, qy) inside the block.
  void quadrant(int qx, int qy) {
    uint16_t* destination = panorama_ + (y0_ + qy) * kStride + x0_ + qx;
    if (streams_.codes.bit() == 0) {
      countPath(kIwCodes, 3);
      longVector(kCopies4x4, 4, destination);
      return;
    }
    countPath(kIwCodes, 4);
    uint32_t k[4];
    streams_.shortCodes.groupCodes(k);
    const int32_t block = y0_ * kStride + x0_;
    for (int n = 0; n < 4; ++n) {
      copyHeld(kCopies2x2, static_cast<int>((k[n] >> 1) & 7),
               destination + 2 * kQuarterY[n] * kStride + 2 * kQuarterX[n], panorama_, kPixels,
               block + iwPositionTable[k[n]]);
    }
  }

  // Column x0 - X wrapped around the seam, row y0 + row - Y: from the 8x8
  // block's top-left, for a quadrant too.
  void longVector(const PieceCopies& copies, int row, uint16_t* destination) {
    const uint32_t tt = streams_.codes.bits(2);
    const zkv6::VectorWord w{streams_.vectors.word()};
    const int t = static_cast<int>((tt << 1) | w.flag());
    const int y = w.rows(), x = w.columns();
    copyHeld(copies, t, destination, panorama_, kPixels, (y0_ + row - y) * kStride + iw::column(x0_ - x));
  }

  PictureStreams streams_;
  QuantTables quant_;
  uint16_t* panorama_;
  int x0_ = 0, y0_ = 0;
};

}  // namespace

void decodeIWPicture(const uint8_t* payload, size_t size, uint16_t* panorama) {
  IwDecoder(payload, size, panorama).run();
}

}  // namespace video
