#include "machine_binding.h"

namespace ravix {

std::string machineDirectory(const std::string& command) {
  size_t separator = command.find_last_of("\\/");
  if (separator == std::string::npos) return {};
  std::string directory = command.substr(0, separator + 1);
  if (directory[0] == '"') directory.erase(0, 1);
  return directory;
}

}  // namespace ravix
