// The browser double's windows: the page with one area per embedded
// plug-in, a robot that answers the plug-in's message boxes, and pictures
// of the areas.
#pragma once

#include <windows.h>

#include <string>


namespace host {

HWND createPage(int width, int height);
HWND createPluginArea(HWND page, int top, int width, int height);
// Records each message box of this process and presses its OK button;
// with duringBox, first has it run on the page's thread while the box is up
// (as when the user closes the page behind a message box).
void startMessageBoxRobot(HWND page, void (*duringBox)() = nullptr);
// The area's pixels as a 24-bit BMP file.
bool saveSnapshot(HWND area, const std::string& path);

}  // namespace host
