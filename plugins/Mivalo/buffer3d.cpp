// The 3D interface of a sound buffer. Every change is deferred
// (DS3D_DEFERRED) until _COMMITSoundSettings; a buffer without 3D control
// gives nil.
#include <dsound.h>

#include "buffer_value.h"
#include "com_report.h"
#include "mivalo_machine.h"
#include "mivalo_primitives.h"

namespace mivalo {
namespace {

using Buffer3D = IDirectSound3DBuffer;

// A setter (buffer, ...) -> buffer.
template <int N, typename Call>
int setter3D(VmMachine* m, Call&& call) {
  Frame<N> f(m);
  Buffer3D* b = unpackBuffer(m, f.arg(0)).buffer3d;
  if (b == nullptr) return 0;
  if (call(f, b)) f.resultFirst();
  return 0;
}

// Setters of one float, or of x, y, z: a nil F argument gives nil.
template <typename Set>
int floatSetter3D(VmMachine* m, Set set) {
  return setter3D<2>(m, [set](const Frame<2>& f, Buffer3D* b) {
    float v;
    return f.floatArg(1, v) && SUCCEEDED(set(b, v));
  });
}

template <typename Set>
int vectorSetter3D(VmMachine* m, Set set) {
  return setter3D<4>(m, [set](const Frame<4>& f, Buffer3D* b) {
    float x, y, z;
    return f.floatArg(1, x) && f.floatArg(2, y) && f.floatArg(3, z) && SUCCEEDED(set(b, x, y, z));
  });
}

// Getters (buffer) -> F, [F F F], or integer.
template <typename Get>
int floatGetter3D(VmMachine* m, Get get) {
  Frame<1> f(m);
  Buffer3D* b = unpackBuffer(m, f.arg(0)).buffer3d;
  if (b == nullptr) return 0;
  float v = 0;
  if (FAILED(get(b, v))) return 0;
  return floatResult(m, v);
}

template <typename Get>
int vectorGetter3D(VmMachine* m, Get get) {
  Frame<1> f(m);
  Buffer3D* b = unpackBuffer(m, f.arg(0)).buffer3d;
  if (b == nullptr) return 0;
  D3DVECTOR v{};
  if (FAILED(get(b, v))) return 0;
  return float3Result(m, {v.x, v.y, v.z});
}

// Integer getters answer integer -1 (not nil) when DirectSound fails.
template <typename Get>
int intGetter3D(VmMachine* m, Get get) {
  Frame<1> f(m);
  Buffer3D* b = unpackBuffer(m, f.arg(0)).buffer3d;
  if (b == nullptr) return 0;
  int32_t v = 0;
  f.resultInt(SUCCEEDED(get(b, v)) ? v : -1);
  return 0;
}

}  // namespace
}  // namespace mivalo

using namespace mivalo;

extern "C" int VMCALL _SETMinDistance(VmMachine* m) {
  return floatSetter3D(
      m, [](Buffer3D* b, float v) { return COM_REPORT(b->SetMinDistance(v, DS3D_DEFERRED)); });
}

extern "C" int VMCALL _SETMaxDistance(VmMachine* m) {
  return floatSetter3D(
      m, [](Buffer3D* b, float v) { return COM_REPORT(b->SetMaxDistance(v, DS3D_DEFERRED)); });
}

// _SETOperationMode (buffer, mode): 0 normal, 1 head-relative, 2 disabled;
// nil or -1 gives nil.
extern "C" int VMCALL _SETOperationMode(VmMachine* m) {
  return setter3D<2>(m, [](const Frame<2>& f, Buffer3D* b) {
    if (f.isNil(1) || f.intArg(1) == -1) return false;
    return SUCCEEDED(COM_REPORT(b->SetMode(static_cast<DWORD>(f.intArg(1)), DS3D_DEFERRED)));
  });
}

extern "C" int VMCALL _SETPosition3D(VmMachine* m) {
  return vectorSetter3D(m, [](Buffer3D* b, float x, float y, float z) {
    return COM_REPORT(b->SetPosition(x, y, z, DS3D_DEFERRED));
  });
}

extern "C" int VMCALL _SETVelocity3D(VmMachine* m) {
  return vectorSetter3D(m, [](Buffer3D* b, float x, float y, float z) {
    return COM_REPORT(b->SetVelocity(x, y, z, DS3D_DEFERRED));
  });
}

// _SETConeAngles (buffer, inside, outside), in degrees.
extern "C" int VMCALL _SETConeAngles(VmMachine* m) {
  return setter3D<3>(m, [](const Frame<3>& f, Buffer3D* b) {
    return SUCCEEDED(COM_REPORT(b->SetConeAngles(static_cast<DWORD>(f.intArg(1)),
                                                 static_cast<DWORD>(f.intArg(2)), DS3D_DEFERRED)));
  });
}

extern "C" int VMCALL _SETConeOrientation(VmMachine* m) {
  return vectorSetter3D(m, [](Buffer3D* b, float x, float y, float z) {
    return COM_REPORT(b->SetConeOrientation(x, y, z, DS3D_DEFERRED));
  });
}

// _SETConeOutsideVolume (buffer, volume): passed unchanged, without the
// sign rule of _SETVolume.
extern "C" int VMCALL _SETConeOutsideVolume(VmMachine* m) {
  return setter3D<2>(m, [](const Frame<2>& f, Buffer3D* b) {
    return SUCCEEDED(COM_REPORT(b->SetConeOutsideVolume(f.intArg(1), DS3D_DEFERRED)));
  });
}

extern "C" int VMCALL _GETMinDistance(VmMachine* m) {
  return floatGetter3D(m, [](Buffer3D* b, float& v) { return COM_REPORT(b->GetMinDistance(&v)); });
}

extern "C" int VMCALL _GETMaxDistance(VmMachine* m) {
  return floatGetter3D(m, [](Buffer3D* b, float& v) { return COM_REPORT(b->GetMaxDistance(&v)); });
}

extern "C" int VMCALL _GETOperationMode(VmMachine* m) {
  return intGetter3D(m, [](Buffer3D* b, int32_t& v) {
    DWORD mode = 0;
    const HRESULT hr = COM_REPORT(b->GetMode(&mode));
    v = static_cast<int32_t>(mode);
    return hr;
  });
}

extern "C" int VMCALL _GETPosition3D(VmMachine* m) {
  return vectorGetter3D(m,
                        [](Buffer3D* b, D3DVECTOR& v) { return COM_REPORT(b->GetPosition(&v)); });
}

extern "C" int VMCALL _GETVelocity3D(VmMachine* m) {
  return vectorGetter3D(m,
                        [](Buffer3D* b, D3DVECTOR& v) { return COM_REPORT(b->GetVelocity(&v)); });
}

// _GETConeAngles (buffer) -> [outside inside]: the reverse of the setter's
// argument order.
extern "C" int VMCALL _GETConeAngles(VmMachine* m) {
  Frame<1> f(m);
  Buffer3D* b = unpackBuffer(m, f.arg(0)).buffer3d;
  if (b == nullptr) return 0;
  DWORD inside = 0;
  DWORD outside = 0;
  if (FAILED(COM_REPORT(b->GetConeAngles(&inside, &outside)))) return 0;
  const int32_t angles[2] = {static_cast<int32_t>(outside), static_cast<int32_t>(inside)};
  return intTupleResult(m, angles, 2);
}

extern "C" int VMCALL _GETConeOrientation(VmMachine* m) {
  return vectorGetter3D(
      m, [](Buffer3D* b, D3DVECTOR& v) { return COM_REPORT(b->GetConeOrientation(&v)); });
}

extern "C" int VMCALL _GETConeOutsideVolume(VmMachine* m) {
  return intGetter3D(m, [](Buffer3D* b, int32_t& v) {
    LONG volume = 0;
    const HRESULT hr = COM_REPORT(b->GetConeOutsideVolume(&volume));
    v = volume;
    return hr;
  });
}
