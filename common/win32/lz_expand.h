// Expands a file compressed in the system's SZDD format (a plain file is
// copied as it is), through the LZ expansion library. Link with lz32.
#pragma once

#include <windows.h>
#include <lzexpand.h>

#include <string>

namespace win {

inline bool lzExpandFile(const std::string& source, const std::string& target) {
  OFSTRUCT sourceInfo{};
  OFSTRUCT targetInfo{};
  INT from = LZOpenFileA(const_cast<char*>(source.c_str()), &sourceInfo, OF_READ);
  if (from < 0) return false;
  INT to = LZOpenFileA(const_cast<char*>(target.c_str()), &targetInfo, OF_CREATE);
  if (to < 0) {
    LZClose(from);
    return false;
  }
  LONG copied = LZCopy(from, to);
  LZClose(from);
  LZClose(to);
  return copied >= 0;
}

}  // namespace win
