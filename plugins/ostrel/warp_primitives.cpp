// WARPinitialize, WARPcalcul and WARPrender: the machine's side of the warp.
#include <float.h>

#include "ostrel_machine.h"
#include "warp_render.h"
#include "warp_tables.h"

namespace ostrel {
namespace {

// The one view of the process: tables, angles and sample grid.
warp::WarpTables gWarp;

// The projection is computed with the x87 unit's full 64-bit precision,
// whatever precision the host process set.
class ExtendedPrecision {
 public:
  ExtendedPrecision() : saved_(_control87(0, 0)) { _control87(_PC_64, _MCW_PC); }
  ~ExtendedPrecision() { _control87(saved_, _MCW_PC); }
  ExtendedPrecision(const ExtendedPrecision&) = delete;
  ExtendedPrecision& operator=(const ExtendedPrecision&) = delete;

 private:
  unsigned saved_;
};

// Both float arguments, or false when either is nil.
bool readTwoFloats(VmMachine* m, float& first, float& second) {
  VmValue args[2];
  popArguments(m, args);
  return vm::readFloat(*gVm, m, args[0], first) && vm::readFloat(*gVm, m, args[1], second);
}

}  // namespace
}  // namespace ostrel

using namespace ostrel;

extern "C" int VMCALL WARPinitialize(VmMachine* m) {
  float fov, limit;
  if (!readTwoFloats(m, fov, limit)) return pushResult(m, vm::kNil);
  ExtendedPrecision precision;
  warp::warpInitialize(gWarp, fov, limit);
  return pushResult(m, vm::makeInt(0));
}

extern "C" int VMCALL WARPcalcul(VmMachine* m) {
  float yaw, pitch;
  if (!readTwoFloats(m, yaw, pitch)) return pushResult(m, vm::kNil);
  ExtendedPrecision precision;
  warp::warpCalcul(gWarp, warp::degreesToRadians(yaw), warp::degreesToRadians(pitch));
  return pushResult(m, vm::makeInt(0));
}

extern "C" int VMCALL WARPrender(VmMachine* m) {
  const VmValue source = gVm->vmPop(m);
  const uint16_t* sourcePixels = vm::bitmapPixels(*gVm, m, source, warp::kPanoramaWidth, warp::kPanoramaHeight);
  const VmValue view = gVm->vmPop(m);
  uint16_t* viewPixels = vm::bitmapPixels(*gVm, m, view, warp::kViewWidth, warp::kViewHeight);
  if (!sourcePixels || !viewPixels) return pushResult(m, vm::makeInt(-1));
  warp::warpRender(gWarp.sampleGrid, sourcePixels, viewPixels);
  return pushResult(m, vm::makeInt(0));
}
