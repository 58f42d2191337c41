// Which folders and files the removal of an installation may delete. The
// install record and the install directory come from the registry, so
// anyone who can write the Kebo key (or a "*d" option such as "*dC:\")
// would otherwise have a whole drive or the system's own folders deleted.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nandor {

// Full long paths ("X:\..."); letter case and trailing separators do not
// matter.
struct ProtectedFolders {
  // Program Files, the user's folders...: neither they nor any folder above them.
  std::vector<std::string> kept;
  // The Windows folder: nor anything inside it.
  std::vector<std::string> keptWithContents;
  // The profiles folder: nor any folder right inside it (each profile).
  std::vector<std::string> keptWithChildren;
};

// True when folder (a full path) may be deleted: a "X:\..." path with at
// least one named level below the drive root, no level that ends in a dot
// or a space (Windows would read another folder, "." and ".." included), and
// none of the protected folders.
bool mayDeleteFolder(std::string_view folder, const ProtectedFolders& protectedFolders);

// True when file (a full path) may be deleted: a path of the same form that
// does not lie inside a folder kept with its contents.
bool mayDeleteFile(std::string_view file, const ProtectedFolders& protectedFolders);

}  // namespace nandor
