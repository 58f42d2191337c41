// DDRAWdefine: switches the display to a full-screen 16-bit mode for the
// machine's window. The DirectDraw object is kept for the rest of the
// process so that the mode stays in force; each call makes a further one.
#include <windows.h>
#include <ddraw.h>

#include "ostrel_machine.h"

namespace {

using DirectDrawCreateFn = HRESULT(WINAPI*)(GUID*, LPDIRECTDRAW*, IUnknown*);

// DirectDraw is loaded on first use only, and stays loaded.
DirectDrawCreateFn directDrawCreate() {
  static DirectDrawCreateFn create = [] {
    HMODULE module = LoadLibraryA("ddraw.dll");
    return module ? reinterpret_cast<DirectDrawCreateFn>(
                        reinterpret_cast<void*>(GetProcAddress(module, "DirectDrawCreate")))
                  : nullptr;
  }();
  return create;
}

constexpr DWORD kExclusiveFullScreen = DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN;
static_assert(kExclusiveFullScreen == 17);

}  // namespace

using namespace ostrel;

extern "C" int VMCALL DDRAWdefine(VmMachine* m) {
  VmValue args[3];
  popArguments(m, args);
  const int32_t width = vm::intOf(args[1]), height = vm::intOf(args[2]);
  const VmValue record = vm::objectRecord(*gVm, m, args[0], vmlayout::kWindowKind);
  if (vm::isNil(record)) return pushResult(m, vm::kNil);
  HWND window = reinterpret_cast<HWND>(
      static_cast<uintptr_t>(static_cast<uint32_t>(vm::field(*gVm, m, record, vmlayout::kWindowHandle))));

  if (pushResult(m, vm::makeInt(-1)) < 0) return -1;
  DirectDrawCreateFn create = directDrawCreate();
  LPDIRECTDRAW draw = nullptr;
  if (!create || FAILED(create(nullptr, &draw, nullptr))) return 0;
  if (FAILED(draw->SetCooperativeLevel(window, kExclusiveFullScreen))) return 0;
  if (SUCCEEDED(draw->SetDisplayMode(static_cast<DWORD>(width), static_cast<DWORD>(height), 16))) {
    gVm->vmPoke(m, 0, vm::makeInt(0));
  }
  return 0;
}
