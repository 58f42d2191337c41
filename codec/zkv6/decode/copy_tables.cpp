#include "copy_tables.h"

#include "pictures.h"

namespace video {

int32_t spiralTable[kCodeCount];
int32_t nearRefTable[kCodeCount];
int32_t nearCurTable[kCodeCount];
int32_t iwPositionTable[kCodeCount];
int32_t ix::wrapColumn[ix::kWrapCount];
int32_t iw::wrapColumn[iw::kWrapCount];

namespace {

// The 512 sources of the IW 2x2 codes, as (dy, dx) relative to the block:
// first the strip left of the block, then the band above it (without row -8).
void iwPosition(int c, int& dy, int& dx) {
  if (c < 96) {
    dy = 6 - c / 12;
    dx = -2 - c % 12;
    return;
  }
  const int j = c - 96, r = j / 32;
  dy = r <= 5 ? -2 - r : -3 - r;
  dx = 19 - j % 32;
}

void buildIwPositionTable() {
  for (int k = 0; k < kCodeCount; ++k) {
    const int c = ((k >> 8) & 0xF) | (((k >> 4) & 0xF) << 4) | ((k & 1) << 8);
    int dy = 0, dx = 0;
    iwPosition(c, dy, dx);
    iwPositionTable[k] = dy * kIwWidth + dx;
  }
}

void buildWrapColumn(int32_t* table, int first, int count, int width) {
  for (int i = 0; i < count; ++i) {
    int32_t column = first + i + 128;
    if (column < 0) {
      column += width;
    } else if (column >= width) {
      column -= width;
    }
    table[i] = column;
  }
}

// Filled from the last code down, walking a square spiral inwards from
// (32, 32): each ring s entries left, s up, s right, s down, then one step
// up-left onto the next ring.
void buildSpiralTable() {
  int dx = 32, dy = 32, k = kCodeCount - 1;
  constexpr int kSteps[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
  for (int s = 63; s >= 1; s -= 2) {
    for (const auto& step : kSteps) {
      for (int n = 0; n < s; ++n) {
        spiralTable[k--] = dy * kIxWidth + dx;
        dx += step[0];
        dy += step[1];
      }
    }
    --dx;
    --dy;
  }
}

void buildNearTables() {
  for (int code = 0; code < kCodeCount; ++code) {
    nearRefTable[code] = (31 - (code >> 6)) * kIxWidth + (31 - (code & 63));
    nearCurTable[code] = (6 - (code >> 7)) * kIxWidth + (63 - (code & 127));
  }
}

}  // namespace

void initCopyTables() {
  buildIwPositionTable();
  buildWrapColumn(iw::wrapColumn, iw::kWrapFirst, iw::kWrapCount, kIwWidth);
  buildSpiralTable();
  buildNearTables();
  buildWrapColumn(ix::wrapColumn, ix::kWrapFirst, ix::kWrapCount, kIxWidth);
}

}  // namespace video
