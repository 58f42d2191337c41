#include "device_holds.h"

#include <new>
#include <utility>
#include <vector>

namespace mivalo {
namespace {
std::vector<std::pair<const void*, IDirectSound*>> gHolds;
}

void holdDevice(const void* object, IDirectSound* device) {
  try {
    gHolds.emplace_back(object, device);
  } catch (const std::bad_alloc&) {
    return;  // no memory to remember it: the object holds nothing
  }
  device->AddRef();
}

void dropDevice(const void* object) {
  for (auto it = gHolds.begin(); it != gHolds.end(); ++it) {
    if (it->first == object) {
      IDirectSound* device = it->second;
      gHolds.erase(it);
      device->Release();
      return;
    }
  }
}

}  // namespace mivalo
