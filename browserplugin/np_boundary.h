// The edge of every call that comes from outside the DLL (the browser's
// plug-in table, the exports, the component's callback, the panel's window
// procedure): no C++ exception may leave it. A call that throws answers
// the failure value its caller understands.
#pragma once

#include <utility>

namespace npvlx {

template <typename Result, typename Call>
Result guarded(Result onFailure, Call&& call) noexcept {
  try {
    return std::forward<Call>(call)();
  } catch (...) {
    return onFailure;
  }
}

}  // namespace npvlx
