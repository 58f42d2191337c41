#include "win32_host.h"

#include <commctrl.h>

#include <vector>

#include "common/win32/handles.h"
#include "status_windows.h"

namespace setup::win32 {

namespace {

HWND hwnd(WindowRef window) { return static_cast<HWND>(window); }

UINT buttonStyle(Buttons buttons) {
  switch (buttons) {
    case Buttons::OkCancel: return MB_OKCANCEL;
    case Buttons::YesNo: return MB_YESNO;
    case Buttons::Ok: break;
  }
  return MB_OK;
}

template <typename Read>
std::string systemPath(Read read) {
  char buffer[MAX_PATH] = {};
  UINT length = read(buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

bool hasAttribute(const std::string& path, DWORD attribute) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & attribute) != 0;
}

}  // namespace

int Win32Host::messageBox(WindowRef owner, const char* text, const char* title, Buttons buttons) {
  return MessageBoxA(hwnd(owner), text, title, buttonStyle(buttons));
}

WindowRef Win32Host::openProgressWindow(WindowRef parent) {
  return win32::openProgressWindow(hwnd(parent));
}

WindowRef Win32Host::openSearchWindow(WindowRef owner) {
  return win32::openSearchWindow(hwnd(owner));
}

void Win32Host::setControlText(WindowRef window, int control, const std::string& text) {
  SetDlgItemTextA(hwnd(window), control, text.c_str());
}

void Win32Host::stepProgress(WindowRef window) {
  SendDlgItemMessageA(hwnd(window), kProgressBar, PBM_STEPIT, 0, 0);
}

void Win32Host::endWindow(WindowRef window) {
  if (window != nullptr) ShowWindow(hwnd(window), SW_HIDE);
}

void Win32Host::closeWindow(WindowRef window) {
  if (window != nullptr) DestroyWindow(hwnd(window));
}

void Win32Host::updateBackground() { UpdateWindow(background_); }

void Win32Host::invalidateBackground() { InvalidateRect(background_, nullptr, FALSE); }

// Each pass takes at most one waiting message of the thread and dispatches
// it. A quit request taken here is dropped: the program ends after the start
// section's run in any case, with the request that run's end posts.
void Win32Host::messagePasses(int count) {
  for (int i = 0; i < count; ++i) {
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) continue;
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void Win32Host::requestQuit(int code) { PostQuitMessage(code); }

std::optional<std::string> Win32Host::readFile(const std::string& path) {
  win::UniqueHandle file = win::adoptFileHandle(CreateFileA(path.c_str(), GENERIC_READ,
      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  return bytes;
}

bool Win32Host::appendToFile(const std::string& path, const std::string& bytes) {
  win::UniqueHandle file = win::adoptFileHandle(CreateFileA(path.c_str(), FILE_APPEND_DATA,
      FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

// CopyFile refuses to replace a read-only or hidden file, and MoveFileEx a
// read-only one; the explicit test keeps that true where the file system
// would let an administrator write anyway.
bool Win32Host::copyFile(const std::string& source, const std::string& destination) {
  if (hasAttribute(destination, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN)) return false;
  return CopyFileA(source.c_str(), destination.c_str(), FALSE) != 0;
}

bool Win32Host::moveFile(const std::string& source, const std::string& destination) {
  if (hasAttribute(destination, FILE_ATTRIBUTE_READONLY)) return false;
  return MoveFileExA(source.c_str(), destination.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0;
}

bool Win32Host::deleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool Win32Host::setAttributes(const std::string& path, uint32_t attributes) {
  return SetFileAttributesA(path.c_str(), attributes) != 0;
}

bool Win32Host::createDirectory(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool Win32Host::removeDirectory(const std::string& path) {
  return RemoveDirectoryA(path.c_str()) != 0;
}

std::vector<DirectoryEntry> Win32Host::listDirectory(const std::string& pattern) {
  std::vector<DirectoryEntry> entries;
  WIN32_FIND_DATAA found;
  win::UniqueFind listing(FindFirstFileA(pattern.c_str(), &found));
  if (listing.get() == INVALID_HANDLE_VALUE) return entries;
  do {
    entries.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(listing.get(), &found));
  return entries;
}

bool Win32Host::anyMatch(const std::string& pattern) {
  WIN32_FIND_DATAA found;
  win::UniqueFind listing(FindFirstFileA(pattern.c_str(), &found));
  return listing.get() != INVALID_HANDLE_VALUE;
}

std::optional<std::string> Win32Host::createTempFile(const std::string& directory,
                                                     const std::string& prefix) {
  char path[MAX_PATH];
  if (GetTempFileNameA(directory.c_str(), prefix.c_str(), 0, path) == 0) return std::nullopt;
  return std::string(path);
}

uint32_t Win32Host::logicalDrives() { return GetLogicalDrives(); }

int Win32Host::driveType(const std::string& root) {
  return static_cast<int>(GetDriveTypeA(root.c_str()));
}

std::string Win32Host::systemDirectory() {
  return systemPath([](char* b, UINT n) { return GetSystemDirectoryA(b, n); });
}

std::string Win32Host::windowsDirectory() {
  return systemPath([](char* b, UINT n) { return GetWindowsDirectoryA(b, n); });
}

std::string Win32Host::currentDirectory() {
  return systemPath([](char* b, UINT n) { return static_cast<UINT>(GetCurrentDirectoryA(n, b)); });
}

std::optional<std::string> Win32Host::machineRegistryString(const std::string& key,
                                                            const std::string& value,
                                                            size_t maxBytes) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  win::UniqueRegKey owner(opened);
  std::vector<char> buffer(maxBytes + 1, '\0');
  DWORD size = static_cast<DWORD>(maxBytes);
  DWORD type = 0;
  if (RegQueryValueExA(opened, value.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  if (type == REG_EXPAND_SZ) {
    // "%ProgramFiles%..." names a folder only once expanded; an expansion
    // that does not fit the same limit is no value, never the text with its
    // "%" names left in or cut.
    std::vector<char> expanded(maxBytes + 1, '\0');
    DWORD length = ExpandEnvironmentStringsA(buffer.data(), expanded.data(), static_cast<DWORD>(maxBytes));
    if (length == 0 || length > maxBytes) return std::nullopt;
    return std::string(expanded.data());
  }
  return std::string(buffer.data());
}

}  // namespace setup::win32
