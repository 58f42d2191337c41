// setup-lint --trace: the start section of a package run by the program's
// own runner on a machine that changes nothing, every command shown.
#pragma once

#include <filesystem>
#include <ostream>

namespace setuplint {

// Runs [Setup] ([Uninstall] when uninstall) of DIR/setup.ini (or of the
// script file itself); false when the script cannot be read.
bool runTrace(const std::filesystem::path& dirOrFile, bool uninstall, std::ostream& out);

}  // namespace setuplint
