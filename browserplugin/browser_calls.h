// Calls into the browser on behalf of one instance.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "npapi.h"

namespace npvlx {

struct Instance;

// No target: the answer comes back to the plug-in as a stream.
NPError getUrl(Instance& instance, const std::string& url, const std::optional<std::string>& target);
// Streams from the plug-in to a browser frame; offered by browsers from
// minor version 8 on (otherwise 8 and -1).
NPError newBrowserStream(Instance& instance, const char* type, const std::string& target,
                         NPStream** stream);
int32_t writeBrowserStream(Instance& instance, NPStream* stream, const void* data, int32_t length);
NPError destroyBrowserStream(Instance& instance, NPStream* stream, NPReason reason);
void* browserAlloc(uint32_t size);
void browserFree(void* block);

}  // namespace npvlx
