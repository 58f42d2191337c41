// A fresh folder for one test on the scratch drive, and small file helpers.
#pragma once

#include <windows.h>

#include <string>

namespace setup::testing {

// D:\setuptests\NAME, emptied first.
std::string freshFolder(const std::string& name);
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool exists(const std::string& path);
DWORD attributes(const std::string& path);
void makeFolder(const std::string& path);

}  // namespace setup::testing
