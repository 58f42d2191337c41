// ostrel.dll: the load export and the package "warp.pkg".
#include "ostrel_machine.h"
#include "pictures.h"
#include "vm_package.h"

namespace ostrel {

VmCallbacks* gVm = nullptr;

namespace {

constexpr VmPackageEntry kEntries[] = {
    {"WARPinitialize", WARPinitialize, 2, "fun [F F] I"},
    {"WARPcalcul", WARPcalcul, 2, "fun [F F] I"},
    {"WARPrender", WARPrender, 2, "fun [ObjBitmap ObjBitmap] I"},
    {"ZKV6header", ZKV6header, 1, "fun [File] [S [I I] I]"},
    {"ZKV6readWarp", ZKV6readWarp, 2, "fun [File ObjBitmap] I"},
    {"ZKV6readIX", ZKV6readIX, 3, "fun [File ObjBitmap ObjBitmap] I"},
    {"DDRAWdefine", DDRAWdefine, 3, "fun [ObjWin I I] I"},
};
constexpr VmPackage kPackage(kEntries);

}  // namespace
}  // namespace ostrel

// Called once by the machine: registers the package; the answer is 0
// whatever the registration says.
extern "C" int VMCALL VOXAloadWARP(VmMachine* m, VmCallbacks* table) {
  using namespace ostrel;
  gVm = table;
  kPackage.registerWith(gVm, m, "warp.pkg");
  return 0;
}
