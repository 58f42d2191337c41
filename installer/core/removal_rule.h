// Which folders the removal of an installation may send to the recycle bin.
// The install directory comes from the registry, so anyone who can write
// the Kebo key (or a "*d" option such as "*dC:\") would otherwise have a
// whole drive or the system's own folders deleted.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nandor {

// True when folder (a full path) may be deleted: a "X:\..." path with at
// least one named level below the drive root, no level that ends in a dot
// or a space (Windows would read another folder, "." and ".." included), and
// neither equal to nor above any of the protected folders (the Windows and
// system folders, Program Files, the user's profile folders). Letter case
// and trailing separators do not matter.
bool mayDeleteFolder(std::string_view folder, const std::vector<std::string>& protectedFolders);

}  // namespace nandor
