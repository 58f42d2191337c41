// The rules of the system commands that need no system: where the virtual
// machine's program lies, where RunWait looks for a program, and what the
// SetupType choice lists.
#pragma once

#include <string>
#include <vector>

#include "variables.h"

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

// The entries of the SetupType choice: the values of SETUPTYPE0 to
// SETUPTYPE9 that are set, in that order. Entry k stands for the k-th of
// them, so a numbering with gaps still gives the value the user saw; the
// first entry is the one selected at first.
std::vector<std::string> setupTypeChoices(const VariableTable& variables);

}  // namespace setup
