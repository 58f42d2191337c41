// Running browsers, told by the small icon of their window class or by the
// plug-in file loaded in their process.
#pragma once

namespace nandor {

enum class BrowserAction { findOnly, close };

// True when a top-level window's class small icon is one of the program's
// "ICONS" images (each byte within 15), or when the window is a visible one
// of another process that has "npvlx.dll" loaded. In close mode each such
// window is sent WM_CLOSE and its process is given up to 4000 ms to end.
bool closeBrowsers(BrowserAction action);

}  // namespace nandor
