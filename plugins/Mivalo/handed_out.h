// The device and listener values the package has handed out.
//
// A DS or DSListener3D value is the interface pointer itself, so the program
// still holds the value after it has released the object. The package
// counts the references it has handed out for each pointer; once the
// program has given them all back the value is empty, and every primitive
// takes it as nil instead of touching what may have been freed. A pointer
// handed out again (a new object at the same address) is live again; one
// the package never handed out is taken as it is. Machine's thread only.
#pragma once

#include "mivalo_machine.h"

namespace mivalo {

void handOut(const void* object);
// One reference given back; false, with nothing given back, for an empty
// value.
bool giveBack(const void* object);
bool isEmptyValue(const void* object);

// Argument k as a device or a listener: null for nil and for an empty value.
template <typename T, int N>
T* liveObjectArg(const Frame<N>& f, int k) {
  if (f.isNil(k)) return nullptr;
  T* object = pointerOf<T>(f.arg(k));
  return isEmptyValue(object) ? nullptr : object;
}

}  // namespace mivalo
