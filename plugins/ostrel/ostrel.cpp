// ostrel.dll: the load export and the package "warp.pkg".
#include "ostrel_machine.h"
#include "pictures.h"

namespace ostrel {

VmCallbacks* gVm = nullptr;

namespace {

const char* const kNames[] = {"WARPinitialize", "WARPcalcul", "WARPrender", "ZKV6header",
                              "ZKV6readWarp",   "ZKV6readIX", "DDRAWdefine"};
const VmPrimitive kFunctions[] = {WARPinitialize, WARPcalcul, WARPrender, ZKV6header,
                                  ZKV6readWarp,   ZKV6readIX, DDRAWdefine};
const int kArgCounts[] = {2, 2, 2, 1, 2, 3, 3};
const char* const kTypes[] = {"fun [F F] I",
                              "fun [F F] I",
                              "fun [ObjBitmap ObjBitmap] I",
                              "fun [File] [S [I I] I]",
                              "fun [File ObjBitmap] I",
                              "fun [File ObjBitmap ObjBitmap] I",
                              "fun [ObjWin I I] I"};
constexpr int kEntries = sizeof kNames / sizeof kNames[0];
static_assert(sizeof kFunctions / sizeof kFunctions[0] == kEntries);
static_assert(sizeof kArgCounts / sizeof kArgCounts[0] == kEntries);
static_assert(sizeof kTypes / sizeof kTypes[0] == kEntries);

}  // namespace
}  // namespace ostrel

// Called once by the machine: registers the package; the answer is 0
// whatever the registration says.
extern "C" int VMCALL VOXAloadWARP(VmMachine* m, VmCallbacks* table) {
  using namespace ostrel;
  gVm = table;
  gVm->vmRegisterPackage(m, "warp.pkg", kEntries, kNames, kFunctions, kArgCounts, kTypes);
  return 0;
}
