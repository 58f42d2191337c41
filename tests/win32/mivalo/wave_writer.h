// Wave files made by the tests: canonical PCM and every way of leaving the
// canonical layout the package reads.
#pragma once

#include <cstdint>
#include <string>

namespace mivalotest {

struct WaveLayout {
  std::string riffId = "RIFF";
  std::string formType = "WAVE";
  uint16_t formatTag = 1;
  uint16_t channels = 1;
  uint32_t samplesPerSec = 22050;
  uint16_t bitsPerSample = 16;
  int blockAlign = -1;          // -1: channels x bits / 8
  bool extraSizeField = false;  // an 18-byte fmt chunk
  std::string chunkBeforeData;  // a whole chunk put between "fmt " and "data"
  std::string data;
  std::string trailing;  // bytes after the data chunk
};

std::string waveBytes(const WaveLayout& layout);

// A chunk: four-character id, 32-bit little-endian size, the bytes.
std::string chunk(const std::string& id, const std::string& bytes);

// Data whose 16-bit samples are 0, 1, 2, ... (little-endian): every pair of
// bytes tells its position.
std::string countingSamples(int bytes);

}  // namespace mivalotest
