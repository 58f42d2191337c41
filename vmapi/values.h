// Encoding and decoding of machine values, and the reads plug-ins make of
// floats, strings and objects through the callback table.
#pragma once

#include <cstdint>
#include <cstring>

#include "vmapi.h"

namespace vm {

constexpr VmValue kNil = -1;

constexpr bool isNil(VmValue v) { return v == kNil; }
// References are odd and not nil; integers are even.
constexpr bool isRef(VmValue v) { return (v & 1) != 0 && v != kNil; }
constexpr bool isInt(VmValue v) { return (v & 1) == 0; }

constexpr VmValue makeInt(int32_t n) { return static_cast<VmValue>(static_cast<uint32_t>(n) << 1); }
constexpr int32_t intOf(VmValue v) { return v >> 1; }
constexpr VmValue makeRef(int32_t block) {
  return static_cast<VmValue>((static_cast<uint32_t>(block) << 1) | 1u);
}
// The block number of a reference; nil gives -1.
constexpr int32_t blockOf(VmValue v) { return v >> 1; }

inline float floatFromBits(int32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}
inline int32_t bitsFromFloat(float f) {
  int32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

// Reads an F value. Returns false for nil or anything that is not a reference.
inline bool readFloat(const VmCallbacks& cb, VmMachine* m, VmValue v, float& out) {
  if (!isRef(v)) return false;
  out = floatFromBits(cb.vmGetWord(m, blockOf(v), 0));
  return true;
}

// The characters of an S or P value, or nullptr for nil or a non-reference.
inline const char* stringChars(const VmCallbacks& cb, VmMachine* m, VmValue v) {
  if (!isRef(v)) return nullptr;
  return cb.vmStringData(m, blockOf(v));
}

// Word k of the block a reference names.
inline int32_t field(const VmCallbacks& cb, VmMachine* m, VmValue ref, int k) {
  return cb.vmGetWord(m, blockOf(ref), k);
}

// The record of an object block of the given kind (word 0), or nil when the
// value is nil, not a reference, of another kind, or its record is missing.
inline VmValue objectRecord(const VmCallbacks& cb, VmMachine* m, VmValue object, int32_t kind) {
  if (!isRef(object)) return kNil;
  if (field(cb, m, object, vmlayout::kObjectKind) != kind) return kNil;
  VmValue record = field(cb, m, object, vmlayout::kObjectRecord);
  return isRef(record) ? record : kNil;
}

// The bitmap check: the pixels of an ObjBitmap of exactly width x height, or
// nullptr when the value is nil, not a bitmap object, or of another size.
inline uint16_t* bitmapPixels(const VmCallbacks& cb, VmMachine* m, VmValue bitmap, int32_t width,
                              int32_t height) {
  VmValue record = objectRecord(cb, m, bitmap, vmlayout::kBitmapKind);
  if (isNil(record)) return nullptr;
  if (field(cb, m, record, vmlayout::kBitmapWidth) != width) return nullptr;
  if (field(cb, m, record, vmlayout::kBitmapHeight) != height) return nullptr;
  auto address = static_cast<uint32_t>(field(cb, m, record, vmlayout::kBitmapPixels));
  return reinterpret_cast<uint16_t*>(static_cast<uintptr_t>(address));
}

}  // namespace vm
