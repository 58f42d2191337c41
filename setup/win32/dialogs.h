// The modal dialogs of setup.exe. Each returns what the user chose; the
// commands turn that into the condition flag and the variables.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "interpreter.h"

namespace setup::win32 {

// STARTINSTALL: 1 Continue, 0 Abort, -1 when it cannot be created. Its
// "Change destination..." may set DSTDIR.
INT_PTR showWelcomeDialog(HWND owner, Interpreter& interpreter);

// GETDIRDEST: the chosen directory's path, or nothing when cancelled.
std::optional<std::string> chooseDirectory(HWND owner);

// NEWDIR: the typed name, once it is acceptable; nothing when the box
// cannot be created (after its message).
std::optional<std::string> askNewDirectoryName(HWND owner);

// A name the new-directory box accepts: not empty, none of " * / : < > ? \ |.
bool acceptableDirectoryName(const std::string& name);

// The text of a directory chooser's tree item.
std::string treeItemText(HWND tree, HTREEITEM item);

// LICENCE showing the file: 1 Agree, 0 Disagree.
INT_PTR showLicence(HWND owner, const std::string* path);

// SETUPTYPE: 1 with SETUPTYPE set to the chosen entry, 0 on Abort.
INT_PTR chooseSetupType(HWND owner, Interpreter& interpreter);

}  // namespace setup::win32
