#include "scratch.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace setup::testing {

std::string freshFolder(const std::string& name) {
  std::string folder = "D:\\setuptests\\" + name;
  std::error_code ignored;
  // Files made read-only by a test must not survive it.
  for (auto& entry : std::filesystem::recursive_directory_iterator(folder, ignored)) {
    SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::create_directories(folder, ignored);
  return folder;
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

DWORD attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

void makeFolder(const std::string& path) {
  std::error_code ignored;
  std::filesystem::create_directories(path, ignored);
}

}  // namespace setup::testing
