// The setup program's host over Win32: real windows, files, drives and the
// registry for the interpreter.
#pragma once

#include <windows.h>

#include "setup_host.h"

namespace setup::win32 {

class Win32Host : public SetupHost {
 public:
  void setBackground(HWND window) { background_ = window; }

  WindowRef backgroundWindow() override { return background_; }
  int messageBox(WindowRef owner, const char* text, const char* title, Buttons buttons) override;
  WindowRef openProgressWindow(WindowRef parent) override;
  WindowRef openSearchWindow(WindowRef owner) override;
  void setControlText(WindowRef window, int control, const std::string& text) override;
  void stepProgress(WindowRef window) override;
  void endWindow(WindowRef window) override;
  void closeWindow(WindowRef window) override;
  void updateBackground() override;
  void invalidateBackground() override;
  void messagePasses(int count) override;
  void requestQuit(int code) override;

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
  uint32_t logicalDrives() override;
  int driveType(const std::string& root) override;
  std::string systemDirectory() override;
  std::string windowsDirectory() override;
  std::string currentDirectory() override;
  std::optional<std::string> machineRegistryString(const std::string& key, const std::string& value,
                                                   size_t maxBytes) override;

 private:
  HWND background_ = nullptr;
};

}  // namespace setup::win32
