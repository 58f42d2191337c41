#pragma once

#include <string>
#include <vector>

namespace zkv6 {

// zkv6 view: perspective views of a 2048x768 panorama. Returns the exit code.
int viewCommand(const std::vector<std::string>& args);
extern const char* const kViewHelp;

}  // namespace zkv6
