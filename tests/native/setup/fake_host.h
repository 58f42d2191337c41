// A host for the setup interpreter's tests: files and directories in
// memory, and a record of every window, message box and status text.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "setup_host.h"

namespace setup::testing {

struct ShownBox {
  std::string title;  // "<default>" for the system's default title
  std::string text;
  Buttons buttons;
  WindowRef owner;
};

struct FakeFile {
  std::string bytes;
  uint32_t attributes = kAttributeNone;
};

class FakeHost : public SetupHost {
 public:
  static constexpr uint32_t kReadOnly = 0x1;

  FakeHost();

  // Files and directories; paths compare without letter case, and "/" and
  // "\" (single or doubled) are the same separator.
  void addFile(const std::string& path, const std::string& bytes, uint32_t attributes = 0);
  void addDirectory(const std::string& path);
  bool hasFile(const std::string& path) const;
  bool hasDirectory(const std::string& path) const;
  std::string fileBytes(const std::string& path) const;
  uint32_t fileAttributes(const std::string& path) const;

  // Answers given to the next message boxes (OK when none is queued).
  std::deque<int> answers;
  std::vector<ShownBox> boxes;
  std::vector<std::string> statusTexts;  // "window: text"
  std::vector<std::string> operations;   // "copy a -> b", "delete a", ...
  std::vector<int> quitCodes;
  int windowsOpened = 0;
  int windowsOpen = 0;
  int passes = 0;
  int invalidations = 0;
  uint32_t drives = 1u << 2;  // c:
  std::map<char, int> driveTypes;
  std::map<std::string, std::string> registry;  // "key\\value" -> text
  std::string current = "C:\\src";

  WindowRef backgroundWindow() override { return &background_; }
  int messageBox(WindowRef owner, const char* text, const char* title, Buttons buttons) override;
  WindowRef openProgressWindow(WindowRef parent) override;
  WindowRef openSearchWindow(WindowRef owner) override;
  void setControlText(WindowRef window, int control, const std::string& text) override;
  void stepProgress(WindowRef) override {}
  void endWindow(WindowRef) override {}
  void closeWindow(WindowRef window) override;
  void updateBackground() override {}
  void invalidateBackground() override { ++invalidations; }
  void messagePasses(int count) override { passes += count; }
  void requestQuit(int code) override { quitCodes.push_back(code); }

  std::optional<std::string> readFile(const std::string& path) override;
  bool appendToFile(const std::string& path, const std::string& bytes) override;
  bool copyFile(const std::string& source, const std::string& destination) override;
  bool moveFile(const std::string& source, const std::string& destination) override;
  bool deleteFile(const std::string& path) override;
  bool setAttributes(const std::string& path, uint32_t attributes) override;
  bool createDirectory(const std::string& path) override;
  bool removeDirectory(const std::string& path) override;
  std::vector<DirectoryEntry> listDirectory(const std::string& pattern) override;
  bool anyMatch(const std::string& pattern) override;
  std::optional<std::string> createTempFile(const std::string& directory,
                                            const std::string& prefix) override;
  uint32_t logicalDrives() override { return drives; }
  int driveType(const std::string& root) override;
  std::string systemDirectory() override { return "C:\\windows\\system32"; }
  std::string windowsDirectory() override { return "C:\\windows"; }
  std::string currentDirectory() override { return current; }
  std::optional<std::string> machineRegistryString(const std::string& key, const std::string& value,
                                                   size_t maxBytes) override;

  // The window names used in statusTexts: "background", "progress1", ...
  std::string nameOf(WindowRef window) const;

 private:
  static std::string key(const std::string& path);
  std::string parentOf(const std::string& normalizedPath) const;
  bool parentExists(const std::string& path) const;

  char background_ = 0;
  std::deque<char> windows_;  // stable addresses, one per opened window
  std::map<WindowRef, std::string> names_;
  std::map<std::string, FakeFile> files_;  // by key()
  std::map<std::string, std::string> fileNames_;
  std::set<std::string> directories_;
  std::map<std::string, std::string> directoryNames_;
  int tempCounter_ = 0;
};

}  // namespace setup::testing
