// The rules of the system commands that need no system: where the virtual
// machine's program lies, and where RunWait looks for a program.
#pragma once

#include <string>
#include <vector>

namespace setup {

// The registered command that opens the machine's files, cut at its last
// "\" or "/" (the separator dropped), a leading double quote dropped: the
// directory of the machine's program. A command without a separator names
// no directory: the result is empty.
std::string voxaDirectoryFromCommand(const std::string& command);

// The files RunWait tries for program, in order: the program as given
// (relative to the current directory), then in each directory of path (";"
// separated) unless the program holds a "/". A name without an extension
// is tried with ".com", ".exe", ".bat" and ".cmd" added.
std::vector<std::string> spawnCandidates(const std::string& program, const std::string& path);

}  // namespace setup
