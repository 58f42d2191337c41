#include "copy_tables.h"

namespace video {

namespace {

// The 512 sources of the IW 2x2 codes, as (dy, dx) relative to the block:
// first the strip left of the block, then the band above it (without row -8).
constexpr void iwPosition(int c, int& dy, int& dx) {
  if (c < 96) {
    dy = 6 - c / 12;
    dx = -2 - c % 12;
    return;
  }
  const int j = c - 96, r = j / 32;
  dy = r <= 5 ? -2 - r : -3 - r;
  dx = 19 - j % 32;
}

constexpr CodeOffsets buildIwPositionTable() {
  CodeOffsets table{};
  for (int k = 0; k < kCodeCount; ++k) {
    const int c = ((k >> 8) & 0xF) | (((k >> 4) & 0xF) << 4) | ((k & 1) << 8);
    int dy = 0, dx = 0;
    iwPosition(c, dy, dx);
    table[k] = dy * kIwWidth + dx;
  }
  return table;
}

template <int First, int Count, int Width>
constexpr std::array<int32_t, Count> buildWrapColumn() {
  std::array<int32_t, Count> table{};
  for (int i = 0; i < Count; ++i) {
    int32_t column = First + i + 128;
    if (column < 0) {
      column += Width;
    } else if (column >= Width) {
      column -= Width;
    }
    table[i] = column;
  }
  return table;
}

// rowsUp and columnsLeft: the offset of code 0; columns: codes per row.
constexpr CodeOffsets buildNearTable(int rowsUp, int columns, int columnsLeft) {
  CodeOffsets table{};
  for (int code = 0; code < kCodeCount; ++code) {
    table[code] = (rowsUp - code / columns) * kIxWidth + (columnsLeft - code % columns);
  }
  return table;
}

}  // namespace

constexpr CodeOffsets spiralTable = buildSpiralTable();
constexpr CodeOffsets nearRefTable = buildNearTable(31, 64, 31);
constexpr CodeOffsets nearCurTable = buildNearTable(6, 128, 63);
constexpr CodeOffsets iwPositionTable = buildIwPositionTable();
constexpr std::array<int32_t, ix::kWrapCount> ix::wrapColumn = buildWrapColumn<ix::kWrapFirst, ix::kWrapCount, kIxWidth>();
constexpr std::array<int32_t, iw::kWrapCount> iw::wrapColumn = buildWrapColumn<iw::kWrapFirst, iw::kWrapCount, kIwWidth>();

}  // namespace video
