// Owners of Win32 objects: each closes or frees its object when it goes out
// of scope; one place for all deliverables and tools.
#pragma once

#include <windows.h>

#include <memory>

namespace win {

struct HandleCloser {
  void operator()(HANDLE h) const {
    if (h != nullptr && h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// A CreateFile result, where failure is INVALID_HANDLE_VALUE rather than null.
inline UniqueHandle adoptFileHandle(HANDLE h) {
  return UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

struct ModuleFreer {
  void operator()(HMODULE m) const { FreeLibrary(m); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;

struct FindCloser {
  void operator()(HANDLE h) const {
    if (h != nullptr && h != INVALID_HANDLE_VALUE) FindClose(h);
  }
};
// A FindFirstFile listing, closed with FindClose.
using UniqueFind = std::unique_ptr<void, FindCloser>;

struct RegKeyCloser {
  void operator()(HKEY k) const { RegCloseKey(k); }
};
using UniqueRegKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegKeyCloser>;

struct GdiObjectDeleter {
  void operator()(HGDIOBJ o) const { DeleteObject(o); }
};
using UniqueGdiObject = std::unique_ptr<void, GdiObjectDeleter>;

struct WindowDestroyer {
  void operator()(HWND w) const { DestroyWindow(w); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// A slim reader/writer lock used exclusively, and its scoped holder.
class Lock {
 public:
  Lock() = default;
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
  void acquire() { AcquireSRWLockExclusive(&lock_); }
  void release() { ReleaseSRWLockExclusive(&lock_); }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
};

class LockHolder {
 public:
  explicit LockHolder(Lock& lock) : lock_(lock) { lock_.acquire(); }
  ~LockHolder() { lock_.release(); }
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

 private:
  Lock& lock_;
};

}  // namespace win
