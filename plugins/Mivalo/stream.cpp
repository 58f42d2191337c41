// Sound streaming: _CRSoundStream and _STOPSoundStream.
#include <dsound.h>

#include <algorithm>
#include <cstdint>

#include "com_report.h"
#include "handed_out.h"
#include "mivalo_machine.h"
#include "mivalo_primitives.h"
#include "sound_rules.h"
#include "stream_cursor.h"
#include "stream_record.h"
#include "stream_thread.h"
#include "wave_file.h"

namespace mivalo {
namespace {

// The stream's 32768-byte looping buffer in the file's format.
IDirectSoundBuffer* createStreamBuffer(IDirectSound* device, const WaveFormat& w) {
  WAVEFORMATEX format{WAVE_FORMAT_PCM,
                      w.channels,
                      w.samplesPerSec,
                      w.avgBytesPerSec,
                      w.blockAlign,
                      static_cast<WORD>(bitsFromBlockAlign(w.blockAlign, w.channels)),
                      0};
  DSBUFFERDESC description{};
  description.dwSize = kBufferDescSize;
  description.dwFlags = kStreamCaps;
  description.dwBufferBytes = kStreamBufferBytes;
  description.lpwfxFormat = &format;
  IDirectSoundBuffer* buffer = nullptr;
  if (FAILED(COM_REPORT(device->CreateSoundBuffer(&description, &buffer, nullptr)))) return nullptr;
  return buffer;
}

}  // namespace
}  // namespace mivalo

using namespace mivalo;

// _CRSoundStream (device, path, loops) -> DSStream, naming the record
extern "C" int VMCALL _CRSoundStream(VmMachine* m) {
  Frame<3> f(m);
  IDirectSound* device = liveObjectArg<IDirectSound>(f, 0);
  if (device == nullptr || f.isNil(1)) return 0;
  StreamRecord* record = takeStreamRecord();
  if (record == nullptr) return 0;

  WaveHeader header;
  record->file = openWaveFile(gVm->vmStringData(m, vm::blockOf(f.arg(1))), header);
  if (record->file == nullptr) {
    freeStreamRecord(record);
    return 0;
  }
  record->format = header.format;
  record->buffer = createStreamBuffer(device, header.format);
  if (record->buffer == nullptr) {
    gVm->vmLog(0, "Could not create the sound buffer.\n");
    mmioClose(record->file, 0);
    freeStreamRecord(record);
    return 0;
  }
  record->loops = f.intArg(2);
  record->stopRequested.store(0);
  // The data ends at its chunk's end, or at the end of a file too short for
  // the size its chunk claims: the position the stream can reach.
  const LONG start = mmioSeek(record->file, 0, SEEK_CUR);
  const LONG fileEnd = mmioSeek(record->file, 0, SEEK_END);
  mmioSeek(record->file, start, SEEK_SET);
  record->dataEnd = static_cast<LONG>(std::min<int64_t>(int64_t{start} + header.dataSize, fileEnd));
  gVm->vmLog(0, "StartPos: %d   EndPos: %d \n", static_cast<int>(start),
             static_cast<int>(record->dataEnd));

  // The thread keeps the device and this DLL for as long as it runs. It is
  // created suspended so that its handle is in the record before it can
  // free the record.
  record->device = device;
  device->AddRef();
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                     reinterpret_cast<LPCSTR>(&streamThread), &record->module);
  record->thread = CreateThread(nullptr, kStreamStackBytes, streamThread, record, CREATE_SUSPENDED,
                                &record->threadId);
  if (record->thread == nullptr) {
    gVm->vmLog(0, "Could not create the thread.\n");
    record->buffer->Release();
    device->Release();
    if (record->module != nullptr) FreeLibrary(record->module);
    mmioClose(record->file, 0);
    freeStreamRecord(record);
    return 0;
  }
  const VmValue stream = streamValue(record);
  ResumeThread(record->thread);
  gVm->vmLog(0, "Stream: %x\n", static_cast<unsigned>(stream));
  f.result(stream);
  return 0;
}

// _STOPSoundStream (stream) -> the stream value itself. A value whose stream
// has ended is left alone.
extern "C" int VMCALL _STOPSoundStream(VmMachine* m) {
  Frame<1> f(m);
  gVm->vmLog(0, "Stream: %x\n", static_cast<unsigned>(f.arg(0)));
  if (StreamRecord* record = liveStreamRecord(f.arg(0))) record->stopRequested.store(1);
  f.resultFirst();
  return 0;
}
