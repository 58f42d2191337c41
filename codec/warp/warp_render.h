// The warp renderer: fills the 640x480 view from the 2048x768 panorama by
// walking the sample grid, bilinear within each 16x16 cell.
#pragma once

#include <cstdint>

#include "warp_tables.h"

namespace warp {

// Integer arithmetic only. source: 2048x768 pixels; view: 640x480 pixels.
// Pixels are copied unchanged. Reads stay inside the source whatever the grid:
// a cell whose rows could stray outside it has each row held to the first or
// last. Runs the SSE2 form or the scalar one as codec::codePath() says; both
// give the same pixels.
void warpRender(const GridPoint (&grid)[kGridRows][kGridColumns], const uint16_t* source,
                uint16_t* view);

}  // namespace warp
