// IX pictures: 80 x 60 blocks of 8x8 pixels, each copied (from reference or
// from the part of current already decoded) or intra coded, and split
// depth first down to 2x2 pieces. Each coding's partition codes are the
// format's tables (partition_codes.h), one per piece size.
//
// Beyond the streams an encoder writes, the decoder keeps to these rules:
// - every copy's source region is held inside its picture (heldSourceStart),
//   so a vector pointing off the picture copies the nearest region inside
//   it and the streams stay in step;
// - the code 1111 at the 8x8 level of the predicted coding ends the picture:
//   that block and all later ones keep the pixels they had;
// - streams that run out read zeros, and decoding ends after the last block.
#include <array>
#include <cstdint>

#include "block_transform.h"
#include "copy_tables.h"
#include "intra_block.h"
#include "partition_codes.h"
#include "path_counts.h"
#include "picture_header.h"
#include "pictures.h"
#include "vector_word.h"

namespace video {

namespace {

using namespace zkv6::ix;
using zkv6::VectorWord;

constexpr int kStride = kIxWidth;
constexpr int32_t kPixels = kIxWidth * kIxHeight;

// A piece's copy routines, and the row of its long vectors from current
// relative to y0 - Y.
struct PieceKind {
  const PieceCopies* copies;
  int currentRow;
};
constexpr PieceKind kPieces[kPieceCount] = {
    {&pieceCopies<8, 8, kStride>, 0}, {&pieceCopies<8, 4, kStride>, 4}, {&pieceCopies<4, 8, kStride>, 4},
    {&pieceCopies<4, 4, kStride>, 4}, {&pieceCopies<4, 2, kStride>, 0}, {&pieceCopies<2, 4, kStride>, 0},
    {&pieceCopies<2, 2, kStride>, 0},
};

// A table's codes by the bits read so far, (1 << length) | value: the row a
// whole code names, -1 for a prefix of longer codes.
struct CodeIndex {
  int8_t row[2 << kLongestCode];
};
constexpr CodeIndex indexOf(const CodeTable& table) {
  CodeIndex index{};
  for (int8_t& row : index.row) row = -1;
  for (int k = 0; k < table.count; ++k) index.row[(1 << table.row[k].length) | table.row[k].code] = static_cast<int8_t>(k);
  return index;
}
constexpr std::array<CodeIndex, kPieceCount> kPredictedIndex = perPiece(kPredicted, indexOf);
constexpr std::array<CodeIndex, kPieceCount> kSelfContainedIndex = perPiece(kSelfContained, indexOf);

// Every string of kLongestCode bits starts with exactly one code: the
// reading below always ends inside the index.
constexpr bool isCompletePrefixCode(const CodeIndex& index) {
  for (uint32_t bits = 0; bits < (1u << kLongestCode); ++bits) {
    int codes = 0;
    for (int length = 0; length <= kLongestCode; ++length) {
      codes += index.row[(1u << length) | (bits >> (kLongestCode - length))] >= 0;
    }
    if (codes != 1) return false;
  }
  return true;
}
constexpr bool allComplete() {
  for (int p = 0; p < kPieceCount; ++p) {
    if (!isCompletePrefixCode(kPredictedIndex[p]) || !isCompletePrefixCode(kSelfContainedIndex[p])) return false;
  }
  return true;
}
static_assert(allComplete(), "every partition table must be a complete prefix code");

// Reads bits until they spell one of the table's codes.
const CodeRow& readCode(CodeReader& codes, const CodeTable& table, const CodeIndex& index) {
  uint32_t at = 1;
  while (index.row[at] < 0) at = (at << 1) | codes.bit();
  return table.row[index.row[at]];
}

class IxDecoder {
 public:
  IxDecoder(const uint8_t* payload, size_t size, uint16_t* current, const uint16_t* reference)
      : streams_(openStreams(payload, size)), current_(current), reference_(reference) {
    const int32_t q = streams_.quality;
    selfContained_ = q < 0;
    codes_ = selfContained_ ? kSelfContained : kPredicted;
    indexes_ = selfContained_ ? kSelfContainedIndex.data() : kPredictedIndex.data();
    quantTables(quant_, !selfContained_ ? q : q == INT32_MIN ? INT32_MAX : -q);
  }

  void run() {
    for (y0_ = 0; y0_ < kIxHeight; y0_ += 8) {
      if (kStopWhenStreamsEnd && streams_.ended()) return;
      for (x0_ = 0; x0_ < kIxWidth; x0_ += 8) {
        if (!piece(k8x8, x0_, y0_)) return;
      }
    }
  }

 private:
  // Decodes the piece at (px, py) and the pieces it splits into; false when
  // the picture ends at an invalid code.
  bool piece(Piece p, int px, int py) {
    const CodeRow& code = readCode(streams_.codes, codes_[p], indexes_[p]);
    countPath(selfContained_ ? kIxSelfContainedCodes : kIxPredictedCodes,
              p * 8 + static_cast<int>(&code - codes_[p].row));
    const PieceCopies& copies = *kPieces[p].copies;
    const int32_t at = py * kStride + px;
    uint16_t* destination = current_ + at;
    switch (code.op) {
      case Op::zeroCopy:
        copies.operation[0](destination, reference_ + at);
        return true;
      case Op::shortVector:
        copyHeld(copies, 0, destination, reference_, kPixels, at + spiralTable[streams_.shortCodes.pairCode()]);
        return true;
      case Op::longVector:
        longVector(p, code.transformBits, destination);
        return true;
      case Op::smallWord:
        smallWord(copies, destination);
        return true;
      case Op::intra:
        decodeMacroblock(quant_, streams_.coefficients, destination, kStride);
        return true;
      case Op::split:
        for (int k = 0; k < code.split->count; ++k) {
          if (!piece(code.split->child, px + code.split->dx[k], py + code.split->dy[k])) return false;
        }
        return true;
      case Op::invalid:
        return false;
    }
    return false;
  }

  // Column x0 - X wrapped; row y0 + 64 - Y in reference, y0 - Y (8x8) or
  // y0 + 4 - Y (smaller pieces) in current: all from the 8x8 block's
  // top-left whatever the piece.
  void longVector(Piece p, int transformBits, uint16_t* destination) {
    uint32_t t = streams_.codes.bits(transformBits);
    const VectorWord w{streams_.vectors.word()};
    bool fromCurrent = w.flag() != 0;
    if (selfContained_) {
      t = (t << 1) | w.flag();
      fromCurrent = true;
    }
    countPath(kIxSources, fromCurrent ? 1 : 0);
    const int y = w.rows(), x = w.columns();
    const int32_t column = video::ix::column(x0_ - x);
    const int32_t row = fromCurrent ? y0_ + kPieces[p].currentRow - y : y0_ + 64 - y;
    copyHeld(*kPieces[p].copies, static_cast<int>(t), destination, fromCurrent ? current_ : reference_, kPixels,
             row * kStride + column);
  }

  // A small-piece word: 12-bit code, transform, and (predicted coding only)
  // the source flag; the offset is from the 8x8 block's top-left.
  void smallWord(const PieceCopies& copies, uint16_t* destination) {
    const VectorWord w{streams_.vectors.word()};
    const bool fromCurrent = selfContained_ || w.flag() != 0;
    countPath(kIxSources, fromCurrent ? 3 : 2);
    const int32_t offset = (fromCurrent ? nearCurTable : nearRefTable)[w.nearCode()];
    copyHeld(copies, w.transform(), destination, fromCurrent ? current_ : reference_, kPixels,
             y0_ * kStride + x0_ + offset);
  }

  PictureStreams streams_;
  QuantTables quant_;
  uint16_t* current_;
  const uint16_t* reference_;
  bool selfContained_ = false;
  const CodeTable* codes_ = kPredicted;
  const CodeIndex* indexes_ = kPredictedIndex.data();
  int x0_ = 0, y0_ = 0;
};

}  // namespace

void decodeIXPicture(const uint8_t* payload, size_t size, uint16_t* current, const uint16_t* reference) {
  IxDecoder(payload, size, current, reference).run();
}

}  // namespace video
