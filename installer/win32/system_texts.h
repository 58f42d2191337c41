// The installer's texts, message boxes and the system paths it uses.
#pragma once

#include <windows.h>

#include <string>

namespace nandor {

// A text of the program's string table.
std::string loadText(UINT id);
int showBox(HWND owner, const std::string& text, const std::string& caption, UINT style);
// A folder of the shell (CSIDL_...), empty when there is none.
std::string shellFolder(int csidl);
std::string windowsDirectory();
std::string ownProgramPath();
// A folder or file path in its full, long form (short names expanded).
std::string longPathOf(const std::string& path);
// The four lines of an Internet shortcut; false when the file cannot be created.
bool writeInternetShortcut(const std::string& path, const std::string& url, int iconIndex,
                           const std::string& iconFile);

}  // namespace nandor
