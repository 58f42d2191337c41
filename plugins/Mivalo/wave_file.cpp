#include "wave_file.h"

#include "mivalo_machine.h"

namespace mivalo {
namespace {

HMMIO refuse(HMMIO file, const char* message) {
  gVm->vmLog(0, "%s", message);
  mmioClose(file, 0);
  return nullptr;
}

bool readChunkHeader(HMMIO file, ChunkHeader& chunk) {
  uint8_t bytes[kChunkHeaderBytes];
  if (mmioRead(file, reinterpret_cast<HPSTR>(bytes), kChunkHeaderBytes) != kChunkHeaderBytes)
    return false;
  chunk = parseChunkHeader(bytes);
  return true;
}

}  // namespace

HMMIO openWaveFile(const char* path, WaveHeader& header) {
  // Open for reading, buffered; the name is passed unchanged.
  HMMIO file = mmioOpenA(const_cast<LPSTR>(path), nullptr, MMIO_READ | MMIO_ALLOCBUF);
  if (file == nullptr) {
    gVm->vmLog(0, "Cannot open the file %s\n", path);
    return nullptr;
  }
  // Into the first chunk; the RIFF form type is not compared.
  MMCKINFO riff{};
  if (mmioDescend(file, &riff, nullptr, 0) != MMSYSERR_NOERROR) {
    return refuse(file, "This is not a wave file\n");
  }
  // The format chunk's header.
  ChunkHeader chunk{};
  if (!readChunkHeader(file, chunk) || !hasId(chunk, "fmt ")) {
    return refuse(file, "Failled to read format chunk info\n");
  }
  // The 18-byte format record.
  uint8_t record[kFormatRecordBytes];
  if (mmioRead(file, reinterpret_cast<HPSTR>(record), kFormatRecordBytes) != kFormatRecordBytes) {
    return refuse(file, "Failled to read format chunk\n");
  }
  header.format = parseFormatRecord(record);
  // The data chunk's header at byte 36 (one byte more at an odd position).
  const LONG position = mmioSeek(file, kDataChunkOffset, SEEK_SET);
  if (position & 1) mmioSeek(file, 1, SEEK_CUR);
  // The data chunk's header.
  if (!readChunkHeader(file, chunk)) return refuse(file, "Failled to read data chunk info\n");
  if (!hasId(chunk, "data")) return refuse(file, "No data chunk\n");
  // PCM only.
  if (header.format.formatTag != kFormatTagPcm) {
    return refuse(file, "This wave file is not in the PCM format.\n");
  }
  header.dataSize = chunk.size;
  return file;
}

}  // namespace mivalo
