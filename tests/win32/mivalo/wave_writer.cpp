#include "wave_writer.h"

namespace mivalotest {
namespace {

void put16(std::string& s, uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, uint32_t v) {
  put16(s, v & 0xFFFF);
  put16(s, v >> 16);
}

}  // namespace

std::string chunk(const std::string& id, const std::string& bytes) {
  std::string s = id.substr(0, 4);
  put32(s, static_cast<uint32_t>(bytes.size()));
  return s + bytes;
}

std::string waveBytes(const WaveLayout& layout) {
  const uint16_t blockAlign = layout.blockAlign >= 0
                                  ? static_cast<uint16_t>(layout.blockAlign)
                                  : static_cast<uint16_t>(layout.channels * layout.bitsPerSample / 8);
  std::string format;
  put16(format, layout.formatTag);
  put16(format, layout.channels);
  put32(format, layout.samplesPerSec);
  put32(format, layout.samplesPerSec * blockAlign);
  put16(format, blockAlign);
  put16(format, layout.bitsPerSample);
  if (layout.extraSizeField) put16(format, 0);
  std::string body = layout.formType + chunk("fmt ", format) + layout.chunkBeforeData +
                     chunk("data", layout.data) + layout.trailing;
  std::string file = layout.riffId;
  put32(file, static_cast<uint32_t>(body.size()));
  return file + body;
}

std::string countingSamples(int bytes) {
  std::string s;
  for (int k = 0; static_cast<int>(s.size()) < bytes; ++k)
    put16(s, static_cast<uint32_t>(k) & 0xFFFF);
  s.resize(static_cast<size_t>(bytes));
  return s;
}

}  // namespace mivalotest
