// The seven-step header check of a wave file, shared by _GETwaveInfo, _GETwaveData and
// _CRSoundStream: a canonical PCM wave file read with the multimedia file
// functions, its "data" chunk header at byte 36.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include "wave_format.h"

namespace mivalo {

struct WaveHeader {
  WaveFormat format;
  uint32_t dataSize = 0;
};

// Opens path and checks its header, stopping at the first failure with its
// message (through vmLog), the file then closed: null. On success the file
// is positioned at the first sample byte.
HMMIO openWaveFile(const char* path, WaveHeader& header);

}  // namespace mivalo
