#include "handed_out.h"

#include <map>
#include <new>

namespace mivalo {
namespace {
std::map<const void*, int> gHandedOut;  // references the program holds
}

void handOut(const void* object) {
  try {
    ++gHandedOut[object];
  } catch (const std::bad_alloc&) {
    // Not counted: the value is taken as it is.
  }
}

bool giveBack(const void* object) {
  auto it = gHandedOut.find(object);
  if (it == gHandedOut.end()) return true;
  if (it->second == 0) return false;
  --it->second;
  return true;
}

bool isEmptyValue(const void* object) {
  auto it = gHandedOut.find(object);
  return it != gHandedOut.end() && it->second == 0;
}

}  // namespace mivalo
