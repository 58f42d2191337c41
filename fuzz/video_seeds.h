// fuzz_video's seeds, made by the project's encoder and stream writer: IX
// pictures of both codings, IW panoramas, and frames of chunks, at three
// qualities, each already carrying fuzz_video's first byte.
#pragma once

#include <cstdint>
#include <vector>

std::vector<std::vector<uint8_t>> videoSeeds();
