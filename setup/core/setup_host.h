// What the setup program asks of the operating system. The interpreter and
// its commands reach windows, files, drives and the registry only through
// this interface, so that they run unchanged on Windows and in tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace setup {

// A window of the host (a window handle on Windows); null is "no window".
using WindowRef = void*;

// The buttons of a message box and the answers the interpreter tells apart.
enum class Buttons { Ok, OkCancel, YesNo };
constexpr int kAnswerOk = 1;      // IDOK
constexpr int kAnswerCancel = 2;  // IDCANCEL
constexpr int kAnswerYes = 6;     // IDYES
constexpr int kAnswerNo = 7;      // IDNO

// Drive types as GetDriveType reports them.
enum DriveType : int {
  kDriveUnknown = 0,
  kDriveNoRootDir = 1,
  kDriveRemovable = 2,
  kDriveFixed = 3,
  kDriveRemote = 4,
  kDriveCdRom = 5,
  kDriveRamDisk = 6,
};

constexpr uint32_t kAttributeNone = 0;       // every attribute cleared
constexpr uint32_t kAttributeNormal = 0x80;  // FILE_ATTRIBUTE_NORMAL

struct DirectoryEntry {
  std::string name;
  bool isDirectory = false;
};

// Control ids of the progress and search windows.
constexpr int kStatusLine = 1001;
constexpr int kProgressBar = 1003;

class SetupHost {
 public:
  virtual ~SetupHost() = default;

  // Windows.
  virtual WindowRef backgroundWindow() = 0;
  // A modal message box owned by owner (null: no owner); returns the answer,
  // 0 when the box could not be shown. A null title is the system's default.
  virtual int messageBox(WindowRef owner, const char* text, const char* title, Buttons buttons) = 0;
  // The progress window of a section run (status line "Please Wait...",
  // bar at 0 of 0..100, step 1), shown; owned by parent.
  virtual WindowRef openProgressWindow(WindowRef parent) = 0;
  // The search window of ApplyOnFiles, shown; owned by owner.
  virtual WindowRef openSearchWindow(WindowRef owner) = 0;
  virtual void setControlText(WindowRef window, int control, const std::string& text) = 0;
  virtual void stepProgress(WindowRef window) = 0;
  // Ends a progress or search window: hidden at once, gone when closed.
  virtual void endWindow(WindowRef window) = 0;
  virtual void closeWindow(WindowRef window) = 0;
  // The background window painted at once (UpdateWindow) / marked for a
  // repaint of its whole area (the package title changed).
  virtual void updateBackground() = 0;
  virtual void invalidateBackground() = 0;
  // count passes, each dispatching at most one waiting message.
  virtual void messagePasses(int count) = 0;
  virtual void requestQuit(int code) = 0;

  // Files and directories. Paths are ANSI text as the script gives them.
  virtual std::optional<std::string> readFile(const std::string& path) = 0;
  // Appends bytes to the file, creating it when missing; false when it
  // cannot be opened.
  virtual bool appendToFile(const std::string& path, const std::string& bytes) = 0;
  virtual bool copyFile(const std::string& source, const std::string& destination) = 0;
  // MoveFileEx with replace-existing and copy-allowed.
  virtual bool moveFile(const std::string& source, const std::string& destination) = 0;
  virtual bool deleteFile(const std::string& path) = 0;
  virtual bool setAttributes(const std::string& path, uint32_t attributes) = 0;
  virtual bool createDirectory(const std::string& path) = 0;
  virtual bool removeDirectory(const std::string& path) = 0;
  // Every entry the pattern lists ("." and ".." included); nothing when the
  // listing cannot be opened.
  virtual std::vector<DirectoryEntry> listDirectory(const std::string& pattern) = 0;
  virtual bool anyMatch(const std::string& pattern) = 0;
  // GetTempFileName with the unique number 0: the new empty file's path.
  virtual std::optional<std::string> createTempFile(const std::string& directory,
                                                    const std::string& prefix) = 0;

  // Drives.
  virtual uint32_t logicalDrives() = 0;
  virtual int driveType(const std::string& root) = 0;

  // System.
  virtual std::string systemDirectory() = 0;
  virtual std::string windowsDirectory() = 0;
  virtual std::string currentDirectory() = 0;
  // A string value under HKEY_LOCAL_MACHINE, its "%name%" parts expanded
  // when it is REG_EXPAND_SZ; nothing when it cannot be read or is longer
  // than maxBytes, before or after the expansion.
  virtual std::optional<std::string> machineRegistryString(const std::string& key,
                                                           const std::string& value,
                                                           size_t maxBytes) = 0;
};

}  // namespace setup
