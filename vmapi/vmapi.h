// The plug-in interface of the Voxa virtual machine: values, the callback
// table the machine hands to a plug-in's load export, and the layouts of the
// machine objects that plug-ins read.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define VMCALL __cdecl
#else
#define VMCALL
#endif

// One machine value: a signed 32-bit word. Integer n is 2n, nil is -1, a
// reference to heap block i is 2i+1.
using VmValue = int32_t;

// The machine handle. Only its first field is known to plug-ins: the address
// of the machine's word memory, where data word k of block i lies at word
// i + 3 + k.
struct VmMachine {
  int32_t* memory;
};

// A primitive: takes its arguments from the machine's stack (last on top),
// leaves exactly one result there, and returns 0 or the negative code of a
// failed push or allocation.
using VmPrimitive = int(VMCALL*)(VmMachine*);

// Kinds of block for vmAlloc.
enum VmBlockKind : int {
  kVmRawBlock = 0,    // raw words: float, string, native pointer
  kVmTupleBlock = 1,  // one value per word, scanned by the collector
};

// The callback table: an array of function pointers, all cdecl. Only the
// slots plug-ins use are named; the others are the machine's own.
struct VmCallbacks {
  int(VMCALL* vmPush)(VmMachine*, VmValue);                                   // 0
  void* slot1;
  VmValue(VMCALL* vmPop)(VmMachine*);                                         // 2
  void* slot3;
  void* slot4;
  VmValue(VMCALL* vmPeek)(VmMachine*, int depth);                             // 5
  void(VMCALL* vmPoke)(VmMachine*, int depth, VmValue);                       // 6
  void* slot7;
  void* slot8;
  void* slot9;
  void* slot10;
  int32_t(VMCALL* vmGetWord)(VmMachine*, int block, int k);                   // 11
  void(VMCALL* vmSetWord)(VmMachine*, int block, int k, int32_t value);       // 12
  int32_t*(VMCALL* vmBlockData)(VmMachine*, int block);                       // 13
  void* slot14;
  void* slot15;
  char*(VMCALL* vmStringData)(VmMachine*, int block);                         // 16
  void* slot17;
  void* slot18;
  int(VMCALL* vmAlloc)(VmMachine*, int words, int kind);                      // 19
  void* slot20;
  int(VMCALL* vmPushString)(VmMachine*, const char* text);                    // 21
  int(VMCALL* vmMakeTuple)(VmMachine*);                                       // 22
  void* slot23;
  int(VMCALL* vmRegisterPackage)(VmMachine*, const char* package, int count,  // 24
                                 const char* const* names, const VmPrimitive* functions,
                                 const int* argCounts, const char* const* types);
  void* slot25;
  void* slot26;
  void* slot27;
  void* slot28;
  void* slot29;
  void* slot30;
  void(VMCALL* vmLog)(int zero, const char* format, ...);                     // 31
};

static_assert(offsetof(VmCallbacks, vmPush) == 0 * sizeof(void*));
static_assert(offsetof(VmCallbacks, vmPop) == 2 * sizeof(void*));
static_assert(offsetof(VmCallbacks, vmPeek) == 5 * sizeof(void*));
static_assert(offsetof(VmCallbacks, vmPoke) == 6 * sizeof(void*));
static_assert(offsetof(VmCallbacks, vmGetWord) == 11 * sizeof(void*));
static_assert(offsetof(VmCallbacks, vmSetWord) == 12 * sizeof(void*));
static_assert(offsetof(VmCallbacks, vmBlockData) == 13 * sizeof(void*));
static_assert(offsetof(VmCallbacks, vmStringData) == 16 * sizeof(void*));
static_assert(offsetof(VmCallbacks, vmAlloc) == 19 * sizeof(void*));
static_assert(offsetof(VmCallbacks, vmPushString) == 21 * sizeof(void*));
static_assert(offsetof(VmCallbacks, vmMakeTuple) == 22 * sizeof(void*));
static_assert(offsetof(VmCallbacks, vmRegisterPackage) == 24 * sizeof(void*));
static_assert(offsetof(VmCallbacks, vmLog) == 31 * sizeof(void*));

// A plug-in's load export: called once with the machine and its table.
using VmLoadExport = int(VMCALL*)(VmMachine*, VmCallbacks*);

// Argument count of a package entry that declares an opaque type.
constexpr int kVmOpaqueType = -3;

// Object layouts, as word indices.
namespace vmlayout {
// ObjBitmap: object block, word 0 the kind, word 2 the bitmap record.
constexpr int32_t kBitmapKind = 22;
constexpr int kObjectKind = 0;
constexpr int kObjectRecord = 2;
constexpr int kBitmapWidth = 2;
constexpr int kBitmapHeight = 3;
constexpr int kBitmapPixels = 9;
constexpr int kBitmapRecordWords = 10;
// ObjWin: object block, word 0 the kind, word 2 the window record.
constexpr int32_t kWindowKind = 2;
constexpr int kWindowHandle = 5;
constexpr int kWindowRecordWords = 6;
constexpr int kObjectWords = 3;
// File: word 0 the Win32 file handle.
constexpr int kFileHandle = 0;
// String: word 0 the length in bytes, characters from word 1, zero-ended.
constexpr int kStringLength = 0;
// Block header words before data word 0 in the machine's memory.
constexpr int kHeaderWords = 3;
}  // namespace vmlayout
