// The primitives of "Mivalo.pkd", by family.
#pragma once

#include "vmapi.h"

extern "C" {
// The sound device (device.cpp).
int VMCALL _InitDirectSound(VmMachine* m);
int VMCALL _ReleaseDirectSound(VmMachine* m);

// Sound buffers (buffers.cpp, buffer_data.cpp).
int VMCALL _CRSoundBuffer(VmMachine* m);
int VMCALL _DUPSoundBuffer(VmMachine* m);
int VMCALL _DSSoundBuffer(VmMachine* m);
int VMCALL _PLAYSoundBuffer(VmMachine* m);
int VMCALL _STOPSoundBuffer(VmMachine* m);
int VMCALL _SETVolume(VmMachine* m);
int VMCALL _SETFrequency(VmMachine* m);
int VMCALL _SETPan(VmMachine* m);
int VMCALL _GETVolume(VmMachine* m);
int VMCALL _GETFrequency(VmMachine* m);
int VMCALL _GETPan(VmMachine* m);
int VMCALL _SETSoundBuffer(VmMachine* m);
int VMCALL _GETPlayPosition(VmMachine* m);
int VMCALL _GETWritePosition(VmMachine* m);
int VMCALL _SETPlayPosition(VmMachine* m);
int VMCALL _CRSoundBuffer3D(VmMachine* m);

// The 3D buffer (buffer3d.cpp).
int VMCALL _SETMinDistance(VmMachine* m);
int VMCALL _SETMaxDistance(VmMachine* m);
int VMCALL _SETOperationMode(VmMachine* m);
int VMCALL _SETPosition3D(VmMachine* m);
int VMCALL _SETVelocity3D(VmMachine* m);
int VMCALL _SETConeAngles(VmMachine* m);
int VMCALL _SETConeOrientation(VmMachine* m);
int VMCALL _SETConeOutsideVolume(VmMachine* m);
int VMCALL _GETMinDistance(VmMachine* m);
int VMCALL _GETMaxDistance(VmMachine* m);
int VMCALL _GETOperationMode(VmMachine* m);
int VMCALL _GETPosition3D(VmMachine* m);
int VMCALL _GETVelocity3D(VmMachine* m);
int VMCALL _GETConeAngles(VmMachine* m);
int VMCALL _GETConeOrientation(VmMachine* m);
int VMCALL _GETConeOutsideVolume(VmMachine* m);

// The 3D listener (listener.cpp).
int VMCALL _CRListener3D(VmMachine* m);
int VMCALL _DSListener3D(VmMachine* m);
int VMCALL _SETDistanceFactor(VmMachine* m);
int VMCALL _SETDopplerFactor(VmMachine* m);
int VMCALL _SETRollOffFactor(VmMachine* m);
int VMCALL _SETListenerPosition3D(VmMachine* m);
int VMCALL _SETListenerVelocity3D(VmMachine* m);
int VMCALL _SETListenerOrientation(VmMachine* m);
int VMCALL _GETDistanceFactor(VmMachine* m);
int VMCALL _GETDopplerFactor(VmMachine* m);
int VMCALL _GETRollOffFactor(VmMachine* m);
int VMCALL _GETListenerPosition3D(VmMachine* m);
int VMCALL _GETListenerVelocity3D(VmMachine* m);
int VMCALL _GETListenerOrientation3D(VmMachine* m);
int VMCALL _COMMITSoundSettings(VmMachine* m);

// Streaming (stream.cpp).
int VMCALL _CRSoundStream(VmMachine* m);
int VMCALL _STOPSoundStream(VmMachine* m);

// Wave files (wave_primitives.cpp).
int VMCALL _GETwaveData(VmMachine* m);
int VMCALL _GETwaveInfo(VmMachine* m);
}
