#include "sound_rules.h"

#include <cstdio>

namespace mivalo {

std::optional<uint32_t> secondaryBufferBytes(int channels, int rate, int bits, int frames) {
  if (channels != 1 && channels != 2) return std::nullopt;
  if (bits != 8 && bits != 16) return std::nullopt;
  if (rate < 0 || frames < 0) return std::nullopt;
  const uint64_t bytes = static_cast<uint64_t>(frames) * pcmFormat(channels, rate, bits).blockAlign;
  if (bytes > UINT32_MAX) return std::nullopt;
  return static_cast<uint32_t>(bytes);
}

std::optional<PcmFormat> primaryFormat(int channels, int rate, int bits) {
  if (channels < 1 || channels > 2) channels = 2;
  if ((bits != 8 && bits != 16) || rate < 0) return std::nullopt;
  return pcmFormat(channels, rate, bits);
}

void comFallbackText(uint32_t code, char* text, size_t size) {
  if (code >= 0x80040200u && code <= 0x8004FFFFu) {
    std::snprintf(text, size, "IDispatch error #%d", static_cast<int>((code & 0xFFFFu) - 0x200u));
  } else {
    std::snprintf(text, size, "Unknown error 0x%0lX", static_cast<unsigned long>(code));
  }
}

}  // namespace mivalo
