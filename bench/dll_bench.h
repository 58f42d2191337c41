// ship_bench's Windows half: the same work through ostrel.dll's primitives
// in the test machine, whole frames read from a file as a Voxa program
// reads them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DllPicture {
  std::string name;
  bool panorama;
  std::vector<uint8_t> payload;  // of the picture's chunk
};

// Reports each case; false when the DLL could not be loaded or a call failed.
bool dllCases(const std::vector<DllPicture>& pictures, float yawDegrees, float pitchDegrees);
