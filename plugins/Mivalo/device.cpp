// The sound device: _InitDirectSound and _ReleaseDirectSound.
#include <dsound.h>

#include "com_report.h"
#include "handed_out.h"
#include "mivalo_machine.h"
#include "mivalo_primitives.h"
#include "sound_rules.h"

namespace mivalo {
namespace {

// The window handle of an ObjWin, read straight from the machine's memory:
// word 5 of the window record named by word 2 of the window object.
HWND windowOfObject(VmMachine* m, VmValue window) {
  const int32_t* memory = m->memory;
  const VmValue record =
      memory[vm::blockOf(window) + vmlayout::kHeaderWords + vmlayout::kObjectRecord];
  if (!vm::isRef(record)) return nullptr;
  const int32_t handle =
      memory[vm::blockOf(record) + vmlayout::kHeaderWords + vmlayout::kWindowHandle];
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(static_cast<uint32_t>(handle)));
}

// Levels 2 and 3: the primary buffer gets the PCM format of channels, rate
// and bits, unless the rules leave it alone. The primary buffer is not
// released. False when a DirectSound call failed.
bool setPrimaryFormat(IDirectSound* device, int channels, int rate, int bits) {
  const std::optional<PcmFormat> pcm = primaryFormat(channels, rate, bits);
  if (!pcm) return true;
  DSBUFFERDESC description{};
  description.dwSize = kBufferDescSize;
  description.dwFlags = DSBCAPS_PRIMARYBUFFER;
  IDirectSoundBuffer* primary = nullptr;
  if (FAILED(COM_REPORT(device->CreateSoundBuffer(&description, &primary, nullptr)))) return false;
  WAVEFORMATEX format{WAVE_FORMAT_PCM,
                      pcm->channels,
                      pcm->samplesPerSec,
                      pcm->avgBytesPerSec,
                      pcm->blockAlign,
                      pcm->bitsPerSample,
                      0};
  return SUCCEEDED(COM_REPORT(primary->SetFormat(&format)));
}

}  // namespace
}  // namespace mivalo

using namespace mivalo;

// _InitDirectSound (channels, rate, bits, level, window) -> DS
extern "C" int VMCALL _InitDirectSound(VmMachine* m) {
  Frame<5> f(m);
  if (f.isNil(0)) return 0;
  const int channels = f.intArg(0);
  const int rate = f.intArg(1);
  const int bits = f.intArg(2);

  HWND window = gHostWindow;
  if (vm::isRef(f.arg(4))) {
    window = windowOfObject(m, f.arg(4));
    gVm->vmLog(0, "Good window handler (%x)...\n", reinterpret_cast<uintptr_t>(window));
  }
  const int level = clampLevel(f.intArg(3));

  IDirectSound* device = nullptr;
  if (FAILED(COM_REPORT(CoCreateInstance(CLSID_DirectSound, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IDirectSound, reinterpret_cast<void**>(&device))))) {
    return 0;
  }
  // On the failure paths the device is not released.
  if (FAILED(COM_REPORT(device->Initialize(nullptr)))) return 0;
  gVm->vmLog(0, "Setting coop level with window handler %x (hvoxa=%x) and level %d...\n",
             reinterpret_cast<uintptr_t>(window), reinterpret_cast<uintptr_t>(gHostWindow), level);
  if (FAILED(COM_REPORT(device->SetCooperativeLevel(window, level)))) return 0;
  if (level != kLevelNormal && !setPrimaryFormat(device, channels, rate, bits)) return 0;
  handOut(device);
  f.result(valueOf(device));
  return 0;
}

// _ReleaseDirectSound (device) -> 1 when that was the last reference, else
// 0; the value is then empty.
extern "C" int VMCALL _ReleaseDirectSound(VmMachine* m) {
  Frame<1> f(m);
  IDirectSound* device = liveObjectArg<IDirectSound>(f, 0);
  if (device == nullptr || !giveBack(device)) return 0;
  const ULONG left = device->Release();
  f.resultInt(left == 0 ? 1 : 0);
  return 0;
}
