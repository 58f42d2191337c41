// The machine a trace runs on: it changes nothing. The package folder is
// the source directory D:\<folder name>, a CD-ROM; paths under it (or
// relative to it) read the folder's real files; everything else is absent,
// on one fixed drive C: that holds nothing. Copies, moves, deletions and new
// files and directories succeed and are only shown; message boxes answer OK
// (Yes when they ask Yes or No).
#pragma once

#include <filesystem>

#include "setup_host.h"
#include "trace_output.h"

namespace setuplint {

class TraceHost : public setup::SetupHost {
 public:
  TraceHost(std::filesystem::path folder, TraceOutput& output);

  const std::string& sourceDirectory() const { return sourceDirectory_; }

  setup::WindowRef backgroundWindow() override { return &background_; }
  int messageBox(setup::WindowRef owner, const char* text, const char* title,
                 setup::Buttons buttons) override;
  setup::WindowRef openProgressWindow(setup::WindowRef parent) override;
  setup::WindowRef openSearchWindow(setup::WindowRef) override { return &search_; }
  void setControlText(setup::WindowRef, int, const std::string&) override {}
  void stepProgress(setup::WindowRef) override {}
  void endWindow(setup::WindowRef) override {}
  void closeWindow(setup::WindowRef) override {}
  void updateBackground() override {}
  void invalidateBackground() override {}
  void messagePasses(int) override {}
  void requestQuit(int code) override;

  std::optional<std::string> readFile(const std::string& path) override;
  bool appendToFile(const std::string& path, const std::string& bytes) override;
  bool copyFile(const std::string& source, const std::string& destination) override;
  bool moveFile(const std::string& source, const std::string& destination) override;
  bool deleteFile(const std::string& path) override;
  bool setAttributes(const std::string&, uint32_t) override { return true; }
  bool createDirectory(const std::string& path) override;
  bool removeDirectory(const std::string& path) override;
  std::vector<setup::DirectoryEntry> listDirectory(const std::string& pattern) override;
  bool anyMatch(const std::string& pattern) override;
  std::optional<std::string> createTempFile(const std::string& directory,
                                            const std::string& prefix) override;

  uint32_t logicalDrives() override { return 1u << 2 | 1u << 3; }  // C: and D:
  int driveType(const std::string& root) override;

  std::string systemDirectory() override { return "C:\\WINDOWS\\system32"; }
  std::string windowsDirectory() override { return "C:\\WINDOWS"; }
  std::string currentDirectory() override { return sourceDirectory_; }
  std::optional<std::string> machineRegistryString(const std::string& key, const std::string& value,
                                                   size_t maxBytes) override;

 private:
  // The real path of a path of the script; nothing when it lies elsewhere or
  // does not exist.
  std::optional<std::filesystem::path> local(const std::string& path) const;
  bool inSource(const std::string& path) const;
  // Reads a copy or move and notes a source missing from the package.
  void showTransfer(const char* verb, const std::string& source, const std::string& destination);

  std::filesystem::path folder_;
  std::string sourceDirectory_;
  TraceOutput& output_;
  char background_ = 0;
  char progress_ = 0;
  char search_ = 0;
};

}  // namespace setuplint
