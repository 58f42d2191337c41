#pragma once

#include <string>
#include <vector>

namespace zkv6 {

// zkv6 convert: PNG <-> raw 16-bit pictures. Returns the exit code.
int convertCommand(const std::vector<std::string>& args);

}  // namespace zkv6
