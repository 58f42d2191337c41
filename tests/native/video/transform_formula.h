// The source pixel (sx, sy) that destination pixel (x, y) of a w x h piece
// takes under BlockTransform t, written out plainly for the tests to check
// the decoder's straight-line routines against.
#pragma once

inline void sourceOf(int t, int w, int h, int x, int y, int& sx, int& sy) {
  switch (t) {
    case 0: sx = x, sy = y; break;
    case 1: sx = w - 1 - x, sy = y; break;
    case 2: sx = x, sy = h - 1 - y; break;
    case 3: sx = w - 1 - x, sy = h - 1 - y; break;
    case 4: sx = h - 1 - y, sy = w - 1 - x; break;
    case 5: sx = y, sy = w - 1 - x; break;
    case 6: sx = h - 1 - y, sy = x; break;
    default: sx = y, sy = x; break;
  }
}
