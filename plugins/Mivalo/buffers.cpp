// Sound buffers: creation, duplication and release.
#include <dsound.h>

#include "buffer_value.h"
#include "com_report.h"
#include "device_holds.h"
#include "handed_out.h"
#include "mivalo_machine.h"
#include "mivalo_primitives.h"
#include "sound_rules.h"

namespace mivalo {
namespace {

// _CRSoundBuffer and _CRSoundBuffer3D (device, channels, rate, bits, frames,
// flags): a secondary buffer of frames x block align bytes.
int createBuffer(VmMachine* m, bool is3D) {
  Frame<6> f(m);
  IDirectSound* device = liveObjectArg<IDirectSound>(f, 0);
  if (device == nullptr) return 0;
  const int channels = f.intArg(1);
  const int rate = f.intArg(2);
  const int bits = f.intArg(3);
  const std::optional<uint32_t> bytes = secondaryBufferBytes(channels, rate, bits, f.intArg(4));
  if (!bytes) return 0;

  const PcmFormat pcm = pcmFormat(channels, rate, bits);
  WAVEFORMATEX format{WAVE_FORMAT_PCM,
                      pcm.channels,
                      pcm.samplesPerSec,
                      pcm.avgBytesPerSec,
                      pcm.blockAlign,
                      pcm.bitsPerSample,
                      0};
  DSBUFFERDESC description{};
  description.dwSize = kBufferDescSize;
  description.dwFlags = bufferCaps(f.intArg(5), is3D);
  description.dwBufferBytes = *bytes;
  description.lpwfxFormat = &format;
  IDirectSoundBuffer* buffer = nullptr;
  if (FAILED(COM_REPORT(device->CreateSoundBuffer(&description, &buffer, nullptr)))) return 0;

  IDirectSound3DBuffer* buffer3d = nullptr;
  // A buffer whose 3D interface is refused never reaches the program.
  if (is3D && FAILED(COM_REPORT(buffer->QueryInterface(IID_IDirectSound3DBuffer,
                                                       reinterpret_cast<void**>(&buffer3d))))) {
    buffer->Release();
    return 0;
  }
  const int code = bufferResult(m, buffer, buffer3d);
  if (code == 0) holdDevice(buffer, device);
  return code;
}

}  // namespace
}  // namespace mivalo

using namespace mivalo;

extern "C" int VMCALL _CRSoundBuffer(VmMachine* m) { return createBuffer(m, false); }

extern "C" int VMCALL _CRSoundBuffer3D(VmMachine* m) { return createBuffer(m, true); }

// _DUPSoundBuffer (device, buffer) -> a new DSBuffer sharing the sound data
extern "C" int VMCALL _DUPSoundBuffer(VmMachine* m) {
  Frame<2> f(m);
  IDirectSound* device = liveObjectArg<IDirectSound>(f, 0);
  if (device == nullptr) return 0;
  const BufferValue source = unpackBuffer(m, f.arg(1));
  if (source.buffer == nullptr) return 0;
  IDirectSoundBuffer* duplicate = nullptr;
  if (FAILED(COM_REPORT(device->DuplicateSoundBuffer(source.buffer, &duplicate)))) return 0;
  IDirectSound3DBuffer* duplicate3d = nullptr;
  if (source.buffer3d != nullptr &&
      FAILED(COM_REPORT(duplicate->QueryInterface(IID_IDirectSound3DBuffer,
                                                  reinterpret_cast<void**>(&duplicate3d))))) {
    duplicate3d = nullptr;  // the duplicate keeps no 3D control
  }
  const int code = bufferResult(m, duplicate, duplicate3d);
  if (code == 0) holdDevice(duplicate, device);
  return code;
}

// _DSSoundBuffer (buffer) -> 1 when that was the last reference, else 0.
// The value owns one reference on each of its interfaces: the 3D one is
// released first, so that the buffer's own release can be its last; then
// the value is emptied and its device hold dropped.
extern "C" int VMCALL _DSSoundBuffer(VmMachine* m) {
  Frame<1> f(m);
  const BufferValue value = unpackBuffer(m, f.arg(0));
  if (value.buffer == nullptr) return 0;
  if (value.buffer3d != nullptr) value.buffer3d->Release();
  const ULONG left = value.buffer->Release();
  clearBuffer(m, value);
  dropDevice(value.buffer);
  f.resultInt(left == 0 ? 1 : 0);
  return 0;
}
