// Streams the browser delivers to an instance: answers collected in memory,
// or files downloaded for a component into the Kebo directory.
#pragma once

#include "npapi.h"

namespace npvlx {

struct Instance;

NPError newStream(Instance& instance, NPStream* stream, uint16_t* type);
int32_t writeReady(Instance& instance, NPStream* stream);
int32_t writeStream(Instance& instance, NPStream* stream, int32_t length, const void* buffer);
NPError destroyStream(Instance& instance, NPStream* stream, NPReason reason);

}  // namespace npvlx
