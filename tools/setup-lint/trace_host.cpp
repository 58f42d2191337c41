#include "trace_host.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "package_paths.h"
#include "script_text.h"

namespace setuplint {

namespace fs = std::filesystem;

namespace {

std::string withBackslashes(std::string path) {
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

std::string folderName(const fs::path& folder) {
  std::error_code error;
  std::string name = fs::weakly_canonical(fs::absolute(folder, error), error).filename().string();
  return name.empty() ? "package" : name;
}

const char* answerName(setup::Buttons buttons) {
  return buttons == setup::Buttons::YesNo ? "Yes" : "OK";
}

}  // namespace

TraceHost::TraceHost(fs::path folder, TraceOutput& output)
    : folder_(std::move(folder)), sourceDirectory_("D:\\" + folderName(folder_)), output_(output) {}

int TraceHost::messageBox(setup::WindowRef, const char* text, const char* title,
                          setup::Buttons buttons) {
  output_.effect("message " + quotedText(text) + " titled " +
                 (title != nullptr ? quotedText(title) : std::string("<default>")) + " -> " +
                 answerName(buttons));
  return buttons == setup::Buttons::YesNo ? setup::kAnswerYes : setup::kAnswerOk;
}

setup::WindowRef TraceHost::openProgressWindow(setup::WindowRef) {
  output_.runStarts();
  return &progress_;
}

void TraceHost::requestQuit(int code) {
  output_.effect("the program ends with exit status " + std::to_string(code));
}

bool TraceHost::inSource(const std::string& path) const {
  std::string windows = withBackslashes(path);
  if (!isAbsoluteWindowsPath(windows)) return true;
  const std::string& root = sourceDirectory_;
  return windows.size() >= root.size() &&
         setup::equalsIgnoringCase(std::string_view(windows).substr(0, root.size()), root) &&
         (windows.size() == root.size() || windows[root.size()] == '\\');
}

std::optional<fs::path> TraceHost::local(const std::string& path) const {
  if (!inSource(path)) return std::nullopt;
  std::string windows = withBackslashes(path);
  std::string relative = isAbsoluteWindowsPath(windows) ? windows.substr(sourceDirectory_.size())
                                                        : windows;
  return findInFolder(folder_, relative);
}

std::optional<std::string> TraceHost::readFile(const std::string& path) {
  std::optional<fs::path> file = local(path);
  if (!file) return std::nullopt;
  std::ifstream in(*file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool TraceHost::appendToFile(const std::string& path, const std::string& bytes) {
  output_.effect("append " + quotedText(bytes.substr(0, bytes.find("\r\n"))) + " to " + path);
  return true;
}

void TraceHost::showTransfer(const char* verb, const std::string& source,
                             const std::string& destination) {
  std::string note = inSource(source) && !local(source) ? "  (not in the package)" : "";
  output_.effect(std::string(verb) + " " + source + " -> " + destination + note);
}

bool TraceHost::copyFile(const std::string& source, const std::string& destination) {
  showTransfer("copy", source, destination);
  return true;
}

bool TraceHost::moveFile(const std::string& source, const std::string& destination) {
  showTransfer("move", source, destination);
  return true;
}

bool TraceHost::deleteFile(const std::string& path) {
  output_.effect("delete " + path);
  return true;
}

bool TraceHost::createDirectory(const std::string& path) {
  output_.effect("create directory " + path);
  return true;
}

bool TraceHost::removeDirectory(const std::string& path) {
  output_.effect("remove directory " + path);
  return true;
}

std::vector<setup::DirectoryEntry> TraceHost::listDirectory(const std::string& pattern) {
  std::string windows = withBackslashes(pattern);
  size_t cut = windows.rfind('\\');
  std::string directory = cut == std::string::npos ? "" : windows.substr(0, cut);
  std::string names = cut == std::string::npos ? windows : windows.substr(cut + 1);
  std::optional<fs::path> folder = local(directory);
  std::error_code error;
  if (!folder || !fs::is_directory(*folder, error)) return {};
  std::vector<setup::DirectoryEntry> entries = {{".", true}, {"..", true}};
  for (const fs::directory_entry& entry : fs::directory_iterator(*folder, error)) {
    std::string name = entry.path().filename().string();
    if (matchesWildcard(name, names)) entries.push_back({name, entry.is_directory(error)});
  }
  return entries;
}

bool TraceHost::anyMatch(const std::string& pattern) {
  return listDirectory(pattern).size() > 2;  // more than "." and ".."
}

std::optional<std::string> TraceHost::createTempFile(const std::string& directory,
                                                     const std::string& prefix) {
  std::string path = directory + "\\" + prefix.substr(0, 3) + "1.tmp";
  output_.effect("create file " + path);
  return path;
}

int TraceHost::driveType(const std::string& root) {
  if (root.empty()) return setup::kDriveNoRootDir;
  char letter = static_cast<char>(root[0] & ~0x20);
  if (letter == 'C') return setup::kDriveFixed;
  if (letter == 'D') return setup::kDriveCdRom;
  return setup::kDriveNoRootDir;
}

std::optional<std::string> TraceHost::machineRegistryString(const std::string&,
                                                            const std::string& value, size_t) {
  if (value == "ProgramFilesDir") return std::string("C:\\Program Files");
  return std::nullopt;
}

}  // namespace setuplint
