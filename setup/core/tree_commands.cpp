// The walking commands: CopyDir2Dest, Deltree and ApplyOnFiles.
#include <string>

#include "commands.h"
#include "file_operations.h"
#include "messages.h"
#include "paths.h"
#include "argument_text.h"

namespace setup::commands {

namespace {

bool isDotEntry(const DirectoryEntry& entry) { return entry.name == "." || entry.name == ".."; }

// Copies SRCDIR/relative into DSTDIR/relative, entry by entry. top is the
// copy's own destination, DSTDIR/a: when it lies inside the tree being
// copied it is not copied into itself again (which would go on, a level
// deeper each time, until the paths reach MAX_PATH).
void copyTree(Interpreter& in, const CommandCall& call, const std::string& source,
              const std::string& destination, const std::string& relative, const std::string& top) {
  SetupHost& host = in.host();
  std::string target = destination + "/" + relative;
  if (fitsMaxPath(target)) host.createDirectory(target);
  std::string pattern = source + "/" + relative + "/*.*";
  if (!fitsMaxPath(pattern)) return;
  for (const DirectoryEntry& entry : host.listDirectory(pattern)) {
    in.SetStatusText(call.window, kStatusLine, text::kCopyingFile, entry.name.c_str());
    std::string child = relative + "/" + entry.name;
    if (entry.isDirectory) {
      if (!isDotEntry(entry) && !samePath(source + "/" + child, top)) {
        copyTree(in, call, source, destination, child, top);
      }
    } else {
      Value copy = destination + "/" + child;
      deleteQuietly(in, copy);
      copyOne(in, source + "/" + child, copy);
    }
    host.messagePasses(1);
  }
}

// Deletes root\sub (root alone when sub is empty): files first, then the
// subdirectories, then the directory itself. What cannot go stays.
void deleteTree(SetupHost& host, const std::string& root, const std::string& sub) {
  std::string directory = sub.empty() ? root : root + "\\" + sub;
  if (!fitsMaxPath(directory + "\\*.*")) return;
  for (const DirectoryEntry& entry : host.listDirectory(directory + "\\*.*")) {
    if (isDotEntry(entry)) continue;
    std::string childSub = sub.empty() ? entry.name : sub + "\\" + entry.name;
    if (entry.isDirectory) {
      deleteTree(host, root, childSub);
    } else if (fitsMaxPath(directory + "\\" + entry.name)) {
      host.deleteFile(directory + "\\" + entry.name);
    }
  }
  host.removeDirectory(directory);
}

struct FileSearch {
  Interpreter& in;
  WindowRef window;
  const std::string& fileName;
  const std::string& section;

  void walk(const std::string& directory) {
    in.SetStatusText(window, kStatusLine, text::kSearching, directory.c_str());
    std::string pattern = directory + "/*.*";
    if (!fitsMaxPath(pattern)) return;
    for (const DirectoryEntry& entry : in.host().listDirectory(pattern)) {
      if (in.aborted()) return;
      if (entry.isDirectory) {
        if (!isDotEntry(entry)) walk(directory + "/" + entry.name);
      } else if (entry.name == fileName) {
        in.variables().set("DSTDIR", directory);
        in.RunSection(window, section);
      }
    }
  }
};

bool isSearchedDrive(int type) {
  return type != kDriveUnknown && type != kDriveRemovable && type != kDriveRemote &&
         type != kDriveCdRom && type != kDriveRamDisk;
}

}  // namespace

void CopyDir2Dest(Interpreter& in, const CommandCall& call) {
  Value source = in.variable("SRCDIR");
  Value destination = in.variable("DSTDIR");
  if (!source || !destination || !call.value1) return;
  const std::string top = *destination + "/" + *call.value1;
  // A tree copied onto itself is already there: each file would be deleted
  // before it was copied.
  if (samePath(*source + "/" + *call.value1, top)) return;
  copyTree(in, call, *source, *destination, *call.value1, top);
}

void Deltree(Interpreter& in, const CommandCall& call) {
  if (!call.value1) return;
  std::string sub = textOf(call.value2);
  // A drive's whole tree is never an installation's to delete, however the
  // path is written.
  std::string directory = sub.empty() ? *call.value1 : *call.value1 + "\\" + sub;
  if (namesDriveRoot(directory, in.host().currentDirectory())) return;
  deleteTree(in.host(), *call.value1, sub);
}

void ApplyOnFiles(Interpreter& in, const CommandCall& call) {
  SetupHost& host = in.host();
  const std::string fileName = call.value1 ? *call.value1 : std::string("*.*");
  const std::string section = textOf(call.value2);
  uint32_t drives = host.logicalDrives();
  // Once the installation has ended, no section the search could start
  // would run a line: the search ends too, instead of walking on through
  // every fixed drive (at every level of a nested search).
  for (int i = 0; i < 26 && !in.aborted(); ++i) {
    std::string drive = {static_cast<char>('a' + i), ':'};
    if ((drives >> i & 1) != 0 && isSearchedDrive(host.driveType(drive + "\\"))) {
      WindowRef window = host.openSearchWindow(call.window);
      FileSearch{in, window, fileName, section}.walk(drive);
      host.closeWindow(window);
    }
    host.updateBackground();
    host.messagePasses(1);
  }
  in.setCondition(0);
}

}  // namespace setup::commands
