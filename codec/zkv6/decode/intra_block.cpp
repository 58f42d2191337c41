#include "intra_block.h"

#include <algorithm>
#include <cstddef>

#include "code_path.h"
#include "idct.h"
#include "intra_sse2.h"
#include "intra_tables.h"
#include "path_counts.h"

namespace video {

namespace {

// The block being decoded. The position k runs in zigzag order and indexes
// the block's own steps directly. The coder works on its own copy of the
// reader and its own mask, which stay in registers; decodeCoefficients
// hands both back when the block ends.
//
// Positions past 63 only come from hostile streams. A skip there holds the
// position at 64 and leaves the block open (as any skip does) until opcode 0
// or a code that writes; a value that would be written at 64 or beyond is
// dropped, the code's operand nibbles are still consumed whole, and the
// block ends after that code, so the next nibble starts the next block.
struct BlockCoder {
  NibbleReader in;
  const int32_t* step;
  const int32_t* negated;
  int32_t* values;
  uint32_t mask;
  int k;

  void skip(int n) { k = std::min(k + n, 64); }
  // The three ways of writing at the current position and moving on: a code
  // value times the step, or the step itself or negated for the +-1 codes.
  void put(int32_t code) {
    if (k < 64) store(code * step[k]);
  }
  void putPlus() {
    if (k < 64) store(step[k]);
  }
  void putMinus() {
    if (k < 64) store(negated[k]);
  }
  void store(int32_t value) {
    const int i = intraTables.zigzag[k++];
    values[i] = value;
    mask |= intraTables.maskBits[i];
  }
  // Two nibbles, the high one signed: -128..127.
  void putByteValue() {
    const int32_t high = static_cast<int32_t>(in.nibble());
    const int32_t low = static_cast<int32_t>(in.nibble());
    put(16 * (high < 8 ? high : high - 16) + low);
  }
  // Whether the block goes on after a code that wrote values.
  bool open() const { return k < 64; }
};

constexpr int32_t kP2[4] = {1, 2, -2, -1};
constexpr int32_t kP4[16] = {1, 2, 3, 4, 5, 6, 7, 8, -8, -7, -6, -5, -4, -3, -2, -1};

uint32_t field(uint32_t nibble, bool high) { return high ? nibble >> 2 : nibble & 3; }

// One handler per opcode; each returns whether the block goes on.
bool endOfBlock(BlockCoder&) { return false; }

// Skips alone make no end test: even at position 64 the block stays open.
template <int Skip>
bool skipOnly(BlockCoder& c) {
  c.skip(Skip);
  return true;
}

template <int Skip, bool Minus>
bool skipAndPutOne(BlockCoder& c) {
  c.skip(Skip);
  if constexpr (Minus) {
    c.putMinus();
  } else {
    c.putPlus();
  }
  return c.open();
}

// a, then (a & 3) + 2 two-bit values, high field of a nibble first.
bool skipAndPutP2(BlockCoder& c) {
  const uint32_t a = c.in.nibble();
  c.skip(static_cast<int>((a >> 2) & 3) + 1);
  uint32_t nibble = 0;
  for (uint32_t n = 0; n < (a & 3) + 2; ++n) {
    const bool high = (n & 1) == 0;
    if (high) nibble = c.in.nibble();
    c.put(kP2[field(nibble, high)]);
  }
  return c.open();
}

// a, then (a & 3) + 1 nibble values.
bool skipAndPutP4(BlockCoder& c) {
  const uint32_t a = c.in.nibble();
  c.skip(static_cast<int>((a >> 2) & 3) + 1);
  for (uint32_t n = 0; n < (a & 3) + 1; ++n) c.put(kP4[c.in.nibble()]);
  return c.open();
}

bool putTwoP2(BlockCoder& c) {
  const uint32_t b = c.in.nibble();
  c.put(kP2[b >> 2]);
  c.put(kP2[b & 3]);
  return c.open();
}

template <int Count>
bool putP4(BlockCoder& c) {
  for (int n = 0; n < Count; ++n) c.put(kP4[c.in.nibble()]);
  return c.open();
}

bool putByte(BlockCoder& c) {
  c.putByteValue();
  return c.open();
}

// The handlers by opcode. A switch rather than a table of pointers, so that
// every handler is inlined with the coder's state in registers.
bool dispatch(uint32_t opcode, BlockCoder& c) {
  switch (opcode & 15) {
    case 0: return endOfBlock(c);
    case 1: return skipOnly<5>(c);
    case 2: return skipAndPutOne<1, false>(c);
    case 3: return skipAndPutOne<1, true>(c);
    case 4: return skipAndPutOne<2, false>(c);
    case 5: return skipAndPutOne<2, true>(c);
    case 6: return skipAndPutOne<3, false>(c);
    case 7: return skipAndPutOne<3, true>(c);
    case 8: return skipAndPutP2(c);
    case 9: return skipAndPutP4(c);
    case 10: return putTwoP2(c);
    case 11: return putP4<1>(c);
    case 12: return putP4<2>(c);
    case 13: return putP4<3>(c);
    case 14: return skipOnly<1>(c);
    default: return putByte(c);
  }
}

}  // namespace

void decodeCoefficients(const QuantTables& tables, int component, NibbleReader& coefficients,
                        CoefficientBlock& block) {
  block = {};
  const int b = std::clamp(component, 0, 2);
  BlockCoder coder{coefficients, tables.step[b], tables.negated[b], block.value, 0, 0};
  coder.putByteValue();
  for (;;) {
    const uint32_t opcode = coder.in.nibble();
    countPath(kOpcodes, static_cast<int>(opcode));
    if (!dispatch(opcode, coder)) break;
  }
  coefficients = coder.in;
  block.mask = coder.mask;
}

void decodeMacroblock(const QuantTables& tables, NibbleReader& coefficients, uint16_t* destination, int stride) {
  const bool sse2 = codec::codePath() == codec::CodePath::kSse2;
  CoefficientBlock blocks[3];
  for (int b = 0; b < 3; ++b) {
    decodeCoefficients(tables, b, coefficients, blocks[b]);
    if (sse2) {
      inverseTransformSse2(blocks[b].value, blocks[b].mask);
    } else {
      inverseTransform(blocks[b].value, blocks[b].mask);
    }
  }
  const int32_t* y = blocks[0].value;
  const int32_t* u = blocks[1].value;
  const int32_t* v = blocks[2].value;
  uint32_t outside = 0;
  for (int i = 0; i < 64; ++i) outside |= outsideWideTables(y[i], u[i], v[i]);
  const bool wide = outside == 0;
  if (wide && sse2) return convertWideBlockSse2(y, u, v, destination, stride);
  for (int row = 0; row < 8; ++row) {
    uint16_t* out = destination + static_cast<ptrdiff_t>(row) * stride;
    if (wide) {
      for (int i = 8 * row; i < 8 * row + 8; ++i) *out++ = convertWidePixel(y[i], u[i], v[i]);
    } else {
      for (int i = 8 * row; i < 8 * row + 8; ++i) *out++ = convertPixel(y[i], u[i], v[i]);
    }
  }
}

}  // namespace video
