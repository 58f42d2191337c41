// The browser double's windows: the page with one area per embedded
// plug-in, a robot that answers the plug-in's message boxes, and pictures
// of the areas.
#pragma once

#include <windows.h>

#include <string>

namespace host {

HWND createPage(int width, int height);
HWND createPluginArea(HWND page, int top, int width, int height);
// Records each message box of this process and presses its OK button.
void startMessageBoxRobot();
// The area's pixels as a 24-bit BMP file.
bool saveSnapshot(HWND area, const std::string& path);

}  // namespace host
