// A small plug-in that uses the callback table the way real plug-ins do, so
// the test machine can be checked against it.
#include <windows.h>

#include "values.h"
#include "vmapi.h"

namespace {

VmCallbacks* cb = nullptr;

// A failure: removes the pushed values, leaves nil and answers code.
int fail(VmMachine* m, int pushed, int code) {
  while (pushed-- > 0) cb->vmPop(m);
  cb->vmPush(m, vm::kNil);
  return code;
}

// fxAdd a b -> a + b
int VMCALL fxAdd(VmMachine* m) {
  const VmValue b = cb->vmPop(m);
  const VmValue a = cb->vmPop(m);
  if (!vm::isInt(a) || !vm::isInt(b)) return cb->vmPush(m, vm::kNil);
  return cb->vmPush(m, vm::makeInt(vm::intOf(a) + vm::intOf(b)));
}

// fxNest a b -> [a [b a+b]], built bottom-up: the inner tuple stays on the
// stack while the outer one is allocated, and is popped after that.
int VMCALL fxNest(VmMachine* m) {
  const VmValue b = cb->vmPop(m);
  const VmValue a = cb->vmPop(m);
  const int inner = cb->vmAlloc(m, 2, kVmTupleBlock);
  if (inner < 0) return fail(m, 0, inner);
  cb->vmSetWord(m, inner, 0, b);
  cb->vmSetWord(m, inner, 1, vm::makeInt(vm::intOf(a) + vm::intOf(b)));
  if (int rc = cb->vmPush(m, vm::makeRef(inner)); rc < 0) return fail(m, 0, rc);
  const int outer = cb->vmAlloc(m, 2, kVmTupleBlock);
  if (outer < 0) return fail(m, 1, outer);
  const VmValue innerRef = cb->vmPop(m);
  cb->vmSetWord(m, outer, 0, a);
  cb->vmSetWord(m, outer, 1, innerRef);
  return cb->vmPush(m, vm::makeRef(outer));
}

// fxMinus a b -> a - b, in place: peek both, drop one, poke the result.
int VMCALL fxMinus(VmMachine* m) {
  const VmValue b = cb->vmPeek(m, 0);
  const VmValue a = cb->vmPeek(m, 1);
  cb->vmPop(m);
  cb->vmPoke(m, 0, vm::makeInt(vm::intOf(a) - vm::intOf(b)));
  return 0;
}

// fxLabel s n -> ["s#n" length]
int VMCALL fxLabel(VmMachine* m) {
  const VmValue n = cb->vmPop(m);
  const VmValue s = cb->vmPop(m);
  const char* chars = vm::stringChars(*cb, m, s);
  char label[256];
  wsprintfA(label, "%s#%d", chars != nullptr ? chars : "", vm::intOf(n));
  if (int rc = cb->vmPushString(m, label); rc < 0) return fail(m, 0, rc);
  if (int rc = cb->vmPush(m, vm::makeInt(lstrlenA(label))); rc < 0) return fail(m, 1, rc);
  if (int rc = cb->vmPush(m, vm::makeInt(2)); rc < 0) return fail(m, 2, rc);
  if (int rc = cb->vmMakeTuple(m); rc < 0) return fail(m, 3, rc);
  return 0;
}

// fxHalf f -> f / 2
int VMCALL fxHalf(VmMachine* m) {
  float f = 0;
  if (!vm::readFloat(*cb, m, cb->vmPop(m), f)) return cb->vmPush(m, vm::kNil);
  const int block = cb->vmAlloc(m, 1, kVmRawBlock);
  if (block < 0) return fail(m, 0, block);
  cb->vmBlockData(m, block)[0] = vm::bitsFromFloat(f / 2);
  return cb->vmPush(m, vm::makeRef(block));
}

// fxWindowHandle w -> the HWND of an ObjWin as an integer, read straight
// from the machine's memory.
int VMCALL fxWindowHandle(VmMachine* m) {
  const VmValue w = cb->vmPop(m);
  if (!vm::isRef(w)) return cb->vmPush(m, vm::kNil);
  const int32_t* memory = m->memory;
  const auto word = [memory](int32_t block, int k) {
    return memory[block + vmlayout::kHeaderWords + k];
  };
  if (word(vm::blockOf(w), vmlayout::kObjectKind) != vmlayout::kWindowKind) {
    return cb->vmPush(m, vm::kNil);
  }
  const VmValue record = word(vm::blockOf(w), vmlayout::kObjectRecord);
  const int32_t hwnd = word(vm::blockOf(record), vmlayout::kWindowHandle);
  const bool live = IsWindow(reinterpret_cast<HWND>(static_cast<uintptr_t>(hwnd))) != 0;
  return cb->vmPush(m, live ? vm::makeInt(hwnd) : vm::kNil);
}

// fxFill bitmap colour -> number of pixels set
int VMCALL fxFill(VmMachine* m) {
  const VmValue colour = cb->vmPop(m);
  const VmValue bitmap = cb->vmPop(m);
  const VmValue record = vm::objectRecord(*cb, m, bitmap, vmlayout::kBitmapKind);
  if (vm::isNil(record)) return cb->vmPush(m, vm::kNil);
  const int width = vm::field(*cb, m, record, vmlayout::kBitmapWidth);
  const int height = vm::field(*cb, m, record, vmlayout::kBitmapHeight);
  uint16_t* pixels = vm::bitmapPixels(*cb, m, bitmap, width, height);
  for (int i = 0; i < width * height; ++i) pixels[i] = static_cast<uint16_t>(vm::intOf(colour) + i);
  return cb->vmPush(m, vm::makeInt(width * height));
}

// fxFileSize file -> its size in bytes
int VMCALL fxFileSize(VmMachine* m) {
  const VmValue file = cb->vmPop(m);
  if (!vm::isRef(file)) return cb->vmPush(m, vm::kNil);
  auto handle = reinterpret_cast<HANDLE>(
      static_cast<uintptr_t>(vm::field(*cb, m, file, vmlayout::kFileHandle)));
  return cb->vmPush(m, vm::makeInt(static_cast<int32_t>(GetFileSize(handle, nullptr))));
}

DWORD WINAPI logLines(void* parameter) {
  const int n = static_cast<int>(reinterpret_cast<intptr_t>(parameter));
  cb->vmLog(0, "from thread %d\n", n);
  cb->vmLog(0, "second %s", "line");
  return 0;
}

// fxThreadLog n -> 0, after a second thread has logged two lines
int VMCALL fxThreadLog(VmMachine* m) {
  const VmValue n = cb->vmPop(m);
  HANDLE thread = CreateThread(nullptr, 0, logLines,
                               reinterpret_cast<void*>(static_cast<intptr_t>(vm::intOf(n))), 0,
                               nullptr);
  if (thread != nullptr) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
  return cb->vmPush(m, vm::makeInt(thread != nullptr ? 0 : 1));
}

// fxUnbalanced n -> leaves n and n + 1: one value too many; a negative n
// is also returned as a failure code.
int VMCALL fxUnbalanced(VmMachine* m) {
  const VmValue n = cb->vmPeek(m, 0);
  const int rc = cb->vmPush(m, vm::makeInt(vm::intOf(n) + 1));
  return vm::intOf(n) < 0 ? vm::intOf(n) : rc;
}

// fxBadBlock n -> reads word 0 of block n, which need not exist
int VMCALL fxBadBlock(VmMachine* m) {
  const VmValue n = cb->vmPop(m);
  return cb->vmPush(m, vm::makeInt(cb->vmGetWord(m, vm::intOf(n), 0)));
}

constexpr int kEntries = 12;
const char* const kNames[kEntries] = {"fxAdd",     "fxNest",         "fxMinus",
                                      "fxLabel",   "fxHalf",         "fxWindowHandle",
                                      "fxFill",    "fxFileSize",     "fxThreadLog",
                                      "fxUnbalanced", "fxBadBlock",  "FxThing"};
const VmPrimitive kFunctions[kEntries] = {fxAdd,     fxNest,         fxMinus,    fxLabel,
                                          fxHalf,    fxWindowHandle, fxFill,     fxFileSize,
                                          fxThreadLog, fxUnbalanced, fxBadBlock, nullptr};
const int kArgCounts[kEntries] = {2, 2, 2, 2, 1, 1, 2, 1, 1, 1, 1, kVmOpaqueType};
const char* const kTypes[kEntries] = {"fun [I I] I",        "fun [I I] [I [I I]]",
                                      "fun [I I] I",        "fun [S I] [S I]",
                                      "fun [F] F",          "fun [ObjWin] I",
                                      "fun [ObjBitmap I] I", "fun [File] I",
                                      "fun [I] I",          "fun [I] I",
                                      "fun [I] I",          nullptr};

}  // namespace

extern "C" int VMCALL VOXAloadFIXTURE(VmMachine* m, VmCallbacks* callbacks) {
  cb = callbacks;
  cb->vmLog(0, "fixture loading\n");
  return cb->vmRegisterPackage(m, "fixture", kEntries, kNames, kFunctions, kArgCounts, kTypes);
}
