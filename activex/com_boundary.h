// The edge of every call that comes from outside the DLL: no C++ exception
// may leave it. An allocation that fails becomes E_OUTOFMEMORY.
#pragma once

#include <windows.h>

#include <new>

namespace ravix {

template <typename Call>
HRESULT guarded(Call&& call) noexcept {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace ravix
