// Runs the installer with its command line (without the program's name);
// answers the exit code: 0 when done or when the browsers were left open.
#pragma once

#include <string>

namespace nandor {

int runInstaller(const std::string& commandLine);

}  // namespace nandor
