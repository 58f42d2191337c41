// The codec comparison picture: what photographs have (smooth shading,
// edges, fine texture and some noise) in 5-5-5 pixels, the same on every
// build for a given size.
#pragma once

#include <cstdint>
#include <vector>

std::vector<uint16_t> syntheticPicture(int width, int height);
