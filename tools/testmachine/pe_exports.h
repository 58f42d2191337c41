// The names a loaded module exports, read from its PE export directory.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testvm {

std::vector<std::string> exportNames(HMODULE module);

// The first exported name that starts with prefix, or "" when there is none.
std::string findExport(HMODULE module, const std::string& prefix);

}  // namespace testvm
