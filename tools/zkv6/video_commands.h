#pragma once

#include <string>
#include <vector>

namespace zkv6 {

// zkv6 info: the header values and the frames of a ZKV6 file.
int infoCommand(const std::vector<std::string>& args);
// zkv6 decode: every frame's picture, as a Voxa program reads them.
int decodeCommand(const std::vector<std::string>& args);
// zkv6 encode: pictures to a ZKV6 file.
int encodeCommand(const std::vector<std::string>& args);

}  // namespace zkv6
