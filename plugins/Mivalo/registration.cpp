// Mivalo.dll: the load export, the package "Mivalo.pkd" with its 56 entries
// in the package's order, and the host-window export InitEvents.
#include <ole2.h>

#include "com_report.h"
#include "mivalo_machine.h"
#include "mivalo_primitives.h"
#include "vm_package.h"

namespace mivalo {
namespace {

constexpr VmPackageEntry kEntries[] = {
    vmOpaqueType("DS"),
    vmOpaqueType("DSBuffer"),
    vmOpaqueType("DSListener3D"),
    {"_InitDirectSound", _InitDirectSound, 5, "fun [I I I I ObjWin] DS"},
    {"_ReleaseDirectSound", _ReleaseDirectSound, 1, "fun [DS] I"},
    {"_CRSoundBuffer", _CRSoundBuffer, 6, "fun [DS I I I I I] DSBuffer"},
    {"_DUPSoundBuffer", _DUPSoundBuffer, 2, "fun [DS DSBuffer] DSBuffer"},
    {"_DSSoundBuffer", _DSSoundBuffer, 1, "fun [DSBuffer] I"},
    {"_PLAYSoundBuffer", _PLAYSoundBuffer, 2, "fun [DSBuffer I] DSBuffer"},
    {"_STOPSoundBuffer", _STOPSoundBuffer, 1, "fun [DSBuffer] DSBuffer"},
    {"_SETVolume", _SETVolume, 2, "fun [DSBuffer I] DSBuffer"},
    {"_SETFrequency", _SETFrequency, 2, "fun [DSBuffer I] DSBuffer"},
    {"_SETPan", _SETPan, 2, "fun [DSBuffer I] DSBuffer"},
    {"_GETVolume", _GETVolume, 1, "fun [DSBuffer] I"},
    {"_GETFrequency", _GETFrequency, 1, "fun [DSBuffer] I"},
    {"_GETPan", _GETPan, 1, "fun [DSBuffer] I"},
    {"_SETSoundBuffer", _SETSoundBuffer, 3, "fun [DSBuffer S I] DSBuffer"},
    {"_GETPlayPosition", _GETPlayPosition, 1, "fun [DSBuffer] I"},
    {"_GETWritePosition", _GETWritePosition, 1, "fun [DSBuffer] I"},
    {"_SETPlayPosition", _SETPlayPosition, 2, "fun [DSBuffer I] DSBuffer"},
    {"_CRSoundBuffer3D", _CRSoundBuffer3D, 6, "fun [DS I I I I I] DSBuffer"},
    {"_SETMinDistance", _SETMinDistance, 2, "fun [DSBuffer F] DSBuffer"},
    {"_SETMaxDistance", _SETMaxDistance, 2, "fun [DSBuffer F] DSBuffer"},
    {"_SETOperationMode", _SETOperationMode, 2, "fun [DSBuffer I] DSBuffer"},
    {"_SETPosition3D", _SETPosition3D, 4, "fun [DSBuffer F F F] DSBuffer"},
    {"_SETVelocity3D", _SETVelocity3D, 4, "fun [DSBuffer F F F] DSBuffer"},
    {"_SETConeAngles", _SETConeAngles, 3, "fun [DSBuffer I I] DSBuffer"},
    {"_SETConeOrientation", _SETConeOrientation, 4, "fun [DSBuffer F F F] DSBuffer"},
    {"_SETConeOutsideVolume", _SETConeOutsideVolume, 2, "fun [DSBuffer I] DSBuffer"},
    {"_GETMinDistance", _GETMinDistance, 1, "fun [DSBuffer] F"},
    {"_GETMaxDistance", _GETMaxDistance, 1, "fun [DSBuffer] F"},
    {"_GETOperationMode", _GETOperationMode, 1, "fun [DSBuffer] I"},
    {"_GETPosition3D", _GETPosition3D, 1, "fun [DSBuffer] [F F F]"},
    {"_GETVelocity3D", _GETVelocity3D, 1, "fun [DSBuffer] [F F F]"},
    {"_GETConeAngles", _GETConeAngles, 1, "fun [DSBuffer] [I I]"},
    {"_GETConeOrientation", _GETConeOrientation, 1, "fun [DSBuffer] [F F F]"},
    {"_GETConeOutsideVolume", _GETConeOutsideVolume, 1, "fun [DSBuffer] I"},
    {"_CRListener3D", _CRListener3D, 1, "fun [DS] DSListener3D"},
    {"_DSListener3D", _DSListener3D, 1, "fun [DSListener3D] I"},
    {"_SETDistanceFactor", _SETDistanceFactor, 2, "fun [DSListener3D F] DSListener3D"},
    {"_SETDopplerFactor", _SETDopplerFactor, 2, "fun [DSListener3D F] DSListener3D"},
    {"_SETRollOffFactor", _SETRollOffFactor, 2, "fun [DSListener3D F] DSListener3D"},
    {"_SETListenerPosition3D", _SETListenerPosition3D, 4, "fun [DSListener3D F F F] DSListener3D"},
    {"_SETListenerVelocity3D", _SETListenerVelocity3D, 4, "fun [DSListener3D F F F] DSListener3D"},
    {"_SETListenerOrientation", _SETListenerOrientation, 7,
     "fun [DSListener3D F F F F F F] DSListener3D"},
    {"_GETDistanceFactor", _GETDistanceFactor, 1, "fun [DSListener3D] F"},
    {"_GETDopplerFactor", _GETDopplerFactor, 1, "fun [DSListener3D] F"},
    {"_GETRollOffFactor", _GETRollOffFactor, 1, "fun [DSListener3D] F"},
    {"_GETListenerPosition3D", _GETListenerPosition3D, 1, "fun [DSListener3D] [F F F]"},
    {"_GETListenerVelocity3D", _GETListenerVelocity3D, 1, "fun [DSListener3D] [F F F]"},
    {"_GETListenerOrientation3D", _GETListenerOrientation3D, 1,
     "fun [DSListener3D] [[F F F ] [F F F]]"},
    {"_COMMITSoundSettings", _COMMITSoundSettings, 1, "fun [DSListener3D] I"},
    {"_CRSoundStream", _CRSoundStream, 3, "fun [DS P I] DSStream"},
    {"_STOPSoundStream", _STOPSoundStream, 1, "fun [DSStream] DSStream"},
    {"_GETwaveData", _GETwaveData, 1, "fun [P] S"},
    {"_GETwaveInfo", _GETwaveInfo, 1, "fun [P] [I I I I]"},
};
constexpr VmPackage kPackage(kEntries);
static_assert(kPackage.size() == 56, "Mivalo.pkd has 56 entries");

// The callback InitEvents hands out: does nothing.
int VMCALL ignoreEvent() { return 0; }

}  // namespace
}  // namespace mivalo

// Called once by each machine: keeps the table, registers the package, then
// initialises OLE; the answer is the registration's.
extern "C" int VMCALL VOXAloadMivalo(VmMachine* m, VmCallbacks* table) {
  using namespace mivalo;
  ++gMachineNumber;  // first: the streams of the machine before fall silent
  gVm = table;
  const int registered = kPackage.registerWith(gVm, m, "Mivalo.pkd");
  COM_REPORT(OleInitialize(nullptr));
  return registered;
}

// Called by the machine with its host window: hands back a callback that
// does nothing and keeps the window for _InitDirectSound.
extern "C" int VMCALL InitEvents(HWND window, int(VMCALL** callback)()) {
  using namespace mivalo;
  if (callback != nullptr) *callback = ignoreEvent;
  if (gVm != nullptr) gVm->vmLog(0, "DLL AXFUN: %x\n", reinterpret_cast<uintptr_t>(&ignoreEvent));
  gHostWindow = window;
  return 0;
}
