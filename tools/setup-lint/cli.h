// setup-lint's command line.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace setuplint {

// setup-lint [DIR|FILE] | --trace [--uninstall] DIR; returns the exit status.
int runCommandLine(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& err);

}  // namespace setuplint
