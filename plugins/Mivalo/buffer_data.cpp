// Sound buffers: playback, volume, pan, frequency, positions and
// the sound data. Setters answer the buffer, getters an integer; both nil on
// failure or for a nil buffer.
#include <dsound.h>

#include <algorithm>
#include <cstring>

#include "buffer_value.h"
#include "com_report.h"
#include "mivalo_machine.h"
#include "mivalo_primitives.h"
#include "sound_rules.h"

namespace mivalo {
namespace {

// A primitive (buffer, ...) -> buffer: call is the DirectSound call.
template <int N, typename Call>
int bufferSetter(VmMachine* m, Call&& call) {
  Frame<N> f(m);
  const BufferValue value = unpackBuffer(m, f.arg(0));
  if (value.buffer == nullptr) return 0;
  if (SUCCEEDED(call(f, value.buffer))) f.resultFirst();
  return 0;
}

// A primitive (buffer) -> integer: call reads into its LONG or DWORD.
template <typename Number, typename Call>
int bufferGetter(VmMachine* m, Call&& call) {
  Frame<1> f(m);
  const BufferValue value = unpackBuffer(m, f.arg(0));
  if (value.buffer == nullptr) return 0;
  Number n{};
  if (SUCCEEDED(call(value.buffer, n))) f.resultInt(static_cast<int32_t>(n));
  return 0;
}

}  // namespace
}  // namespace mivalo

using namespace mivalo;

// _PLAYSoundBuffer (buffer, flags): flag 1 is DSBPLAY_LOOPING.
extern "C" int VMCALL _PLAYSoundBuffer(VmMachine* m) {
  return bufferSetter<2>(m, [](const Frame<2>& f, IDirectSoundBuffer* b) {
    return COM_REPORT(b->Play(0, 0, static_cast<DWORD>(f.intArg(1))));
  });
}

extern "C" int VMCALL _STOPSoundBuffer(VmMachine* m) {
  return bufferSetter<1>(
      m, [](const Frame<1>&, IDirectSoundBuffer* b) { return COM_REPORT(b->Stop()); });
}

// _SETVolume (buffer, volume): v and -v both set -v hundredths of a decibel.
extern "C" int VMCALL _SETVolume(VmMachine* m) {
  return bufferSetter<2>(m, [](const Frame<2>& f, IDirectSoundBuffer* b) {
    return COM_REPORT(b->SetVolume(volumeForDirectSound(f.intArg(1))));
  });
}

extern "C" int VMCALL _SETFrequency(VmMachine* m) {
  return bufferSetter<2>(m, [](const Frame<2>& f, IDirectSoundBuffer* b) {
    return COM_REPORT(b->SetFrequency(static_cast<DWORD>(f.intArg(1))));
  });
}

extern "C" int VMCALL _SETPan(VmMachine* m) {
  return bufferSetter<2>(m, [](const Frame<2>& f, IDirectSoundBuffer* b) {
    return COM_REPORT(b->SetPan(f.intArg(1)));
  });
}

// _SETPlayPosition (buffer, byte offset)
extern "C" int VMCALL _SETPlayPosition(VmMachine* m) {
  return bufferSetter<2>(m, [](const Frame<2>& f, IDirectSoundBuffer* b) {
    return COM_REPORT(b->SetCurrentPosition(static_cast<DWORD>(f.intArg(1))));
  });
}

// _SETSoundBuffer (buffer, data, offset): the string's bytes written at the
// offset (nil counts as 0), the rest at the start of the buffer when the
// lock wraps.
extern "C" int VMCALL _SETSoundBuffer(VmMachine* m) {
  return bufferSetter<3>(m, [m](const Frame<3>& f, IDirectSoundBuffer* b) -> HRESULT {
    if (f.isNil(1)) return E_POINTER;  // no string: nil, with no call to report
    const int block = vm::blockOf(f.arg(1));
    const auto length = static_cast<DWORD>(gVm->vmGetWord(m, block, vmlayout::kStringLength));
    const char* chars = gVm->vmStringData(m, block);
    const DWORD offset = f.isNil(2) ? 0 : static_cast<DWORD>(f.intArg(2));
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    HRESULT hr = COM_REPORT(b->Lock(offset, length, &first, &firstBytes, &second, &secondBytes, 0));
    if (FAILED(hr)) return hr;
    const DWORD head = std::min(firstBytes, length);
    std::memcpy(first, chars, head);
    if (second != nullptr) std::memcpy(second, chars + head, std::min(secondBytes, length - head));
    return COM_REPORT(b->Unlock(first, firstBytes, second, secondBytes));
  });
}

// Getters: DirectSound's values unchanged (the volume stays negative).
extern "C" int VMCALL _GETVolume(VmMachine* m) {
  return bufferGetter<LONG>(
      m, [](IDirectSoundBuffer* b, LONG& v) { return COM_REPORT(b->GetVolume(&v)); });
}

extern "C" int VMCALL _GETFrequency(VmMachine* m) {
  return bufferGetter<DWORD>(
      m, [](IDirectSoundBuffer* b, DWORD& v) { return COM_REPORT(b->GetFrequency(&v)); });
}

extern "C" int VMCALL _GETPan(VmMachine* m) {
  return bufferGetter<LONG>(
      m, [](IDirectSoundBuffer* b, LONG& v) { return COM_REPORT(b->GetPan(&v)); });
}

// The play cursor and the write cursor of GetCurrentPosition.
extern "C" int VMCALL _GETPlayPosition(VmMachine* m) {
  return bufferGetter<DWORD>(m, [](IDirectSoundBuffer* b, DWORD& play) {
    DWORD write = 0;
    return COM_REPORT(b->GetCurrentPosition(&play, &write));
  });
}

extern "C" int VMCALL _GETWritePosition(VmMachine* m) {
  return bufferGetter<DWORD>(m, [](IDirectSoundBuffer* b, DWORD& write) {
    DWORD play = 0;
    return COM_REPORT(b->GetCurrentPosition(&play, &write));
  });
}
