// The 3D listener: the DSListener3D value is the
// IDirectSound3DListener pointer itself. Setters are deferred until
// _COMMITSoundSettings.
#include <dsound.h>

#include "com_report.h"
#include "device_holds.h"
#include "handed_out.h"
#include "mivalo_machine.h"
#include "mivalo_primitives.h"
#include "sound_rules.h"

namespace mivalo {
namespace {

using Listener = IDirectSound3DListener;

template <int N>
Listener* listenerOf(const Frame<N>& f) {
  return liveObjectArg<Listener>(f, 0);
}

// A setter (listener, F...) -> listener: a nil F argument gives nil.
template <int N, typename Set>
int floatsSetter(VmMachine* m, Set set) {
  Frame<N> f(m);
  Listener* l = listenerOf(f);
  if (l == nullptr) return 0;
  float v[N - 1];
  for (int k = 1; k < N; ++k) {
    if (!f.floatArg(k, v[k - 1])) return 0;
  }
  if (SUCCEEDED(set(l, v))) f.resultFirst();
  return 0;
}

template <typename Get>
int floatGetter(VmMachine* m, Get get) {
  Frame<1> f(m);
  Listener* l = listenerOf(f);
  if (l == nullptr) return 0;
  float v = 0;
  if (FAILED(get(l, v))) return 0;
  return floatResult(m, v);
}

template <typename Get>
int vectorGetter(VmMachine* m, Get get) {
  Frame<1> f(m);
  Listener* l = listenerOf(f);
  if (l == nullptr) return 0;
  D3DVECTOR v{};
  if (FAILED(get(l, v))) return 0;
  return float3Result(m, {v.x, v.y, v.z});
}

}  // namespace
}  // namespace mivalo

using namespace mivalo;

// _CRListener3D (device): a primary buffer with 3D control asked for its
// listener. The listener keeps the primary buffer; the reference the
// creation took is given back, so that each call leaves none behind.
extern "C" int VMCALL _CRListener3D(VmMachine* m) {
  Frame<1> f(m);
  IDirectSound* device = liveObjectArg<IDirectSound>(f, 0);
  if (device == nullptr) return 0;
  DSBUFFERDESC description{};
  description.dwSize = kBufferDescSize;
  description.dwFlags = kListenerCaps;
  IDirectSoundBuffer* primary = nullptr;
  if (FAILED(COM_REPORT(device->CreateSoundBuffer(&description, &primary, nullptr)))) return 0;
  Listener* listener = nullptr;
  const HRESULT asked = COM_REPORT(
      primary->QueryInterface(IID_IDirectSound3DListener, reinterpret_cast<void**>(&listener)));
  primary->Release();
  if (FAILED(asked)) return 0;
  holdDevice(listener, device);
  handOut(listener);
  f.result(valueOf(listener));
  return 0;
}

// _DSListener3D (listener) -> 1 when that was the last reference, else 0;
// the value is then empty once every listener handed out is given back.
extern "C" int VMCALL _DSListener3D(VmMachine* m) {
  Frame<1> f(m);
  Listener* l = listenerOf(f);
  if (l == nullptr || !giveBack(l)) return 0;
  const ULONG left = l->Release();
  dropDevice(l);
  f.resultInt(left == 0 ? 1 : 0);
  return 0;
}

extern "C" int VMCALL _SETDistanceFactor(VmMachine* m) {
  return floatsSetter<2>(m, [](Listener* l, const float* v) {
    return COM_REPORT(l->SetDistanceFactor(v[0], DS3D_DEFERRED));
  });
}

extern "C" int VMCALL _SETDopplerFactor(VmMachine* m) {
  return floatsSetter<2>(m, [](Listener* l, const float* v) {
    return COM_REPORT(l->SetDopplerFactor(v[0], DS3D_DEFERRED));
  });
}

extern "C" int VMCALL _SETRollOffFactor(VmMachine* m) {
  return floatsSetter<2>(m, [](Listener* l, const float* v) {
    return COM_REPORT(l->SetRolloffFactor(v[0], DS3D_DEFERRED));
  });
}

extern "C" int VMCALL _SETListenerPosition3D(VmMachine* m) {
  return floatsSetter<4>(m, [](Listener* l, const float* v) {
    return COM_REPORT(l->SetPosition(v[0], v[1], v[2], DS3D_DEFERRED));
  });
}

extern "C" int VMCALL _SETListenerVelocity3D(VmMachine* m) {
  return floatsSetter<4>(m, [](Listener* l, const float* v) {
    return COM_REPORT(l->SetVelocity(v[0], v[1], v[2], DS3D_DEFERRED));
  });
}

// _SETListenerOrientation (listener, front x y z, top x y z)
extern "C" int VMCALL _SETListenerOrientation(VmMachine* m) {
  return floatsSetter<7>(m, [](Listener* l, const float* v) {
    return COM_REPORT(l->SetOrientation(v[0], v[1], v[2], v[3], v[4], v[5], DS3D_DEFERRED));
  });
}

extern "C" int VMCALL _GETDistanceFactor(VmMachine* m) {
  return floatGetter(m, [](Listener* l, float& v) { return COM_REPORT(l->GetDistanceFactor(&v)); });
}

extern "C" int VMCALL _GETDopplerFactor(VmMachine* m) {
  return floatGetter(m, [](Listener* l, float& v) { return COM_REPORT(l->GetDopplerFactor(&v)); });
}

extern "C" int VMCALL _GETRollOffFactor(VmMachine* m) {
  return floatGetter(m, [](Listener* l, float& v) { return COM_REPORT(l->GetRolloffFactor(&v)); });
}

extern "C" int VMCALL _GETListenerPosition3D(VmMachine* m) {
  return vectorGetter(m, [](Listener* l, D3DVECTOR& v) { return COM_REPORT(l->GetPosition(&v)); });
}

extern "C" int VMCALL _GETListenerVelocity3D(VmMachine* m) {
  return vectorGetter(m, [](Listener* l, D3DVECTOR& v) { return COM_REPORT(l->GetVelocity(&v)); });
}

// _GETListenerOrientation3D (listener) -> [[front] [top]]
extern "C" int VMCALL _GETListenerOrientation3D(VmMachine* m) {
  Frame<1> f(m);
  Listener* l = listenerOf(f);
  if (l == nullptr) return 0;
  D3DVECTOR front{};
  D3DVECTOR top{};
  if (FAILED(COM_REPORT(l->GetOrientation(&front, &top)))) return 0;
  return float3PairResult(m, {front.x, front.y, front.z}, {top.x, top.y, top.z});
}

// _COMMITSoundSettings (listener) -> 1 on success, 0 on failure
extern "C" int VMCALL _COMMITSoundSettings(VmMachine* m) {
  Frame<1> f(m);
  Listener* l = listenerOf(f);
  if (l == nullptr) return 0;
  f.resultInt(SUCCEEDED(COM_REPORT(l->CommitDeferredSettings())) ? 1 : 0);
  return 0;
}
