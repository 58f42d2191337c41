#include "browser_calls.h"

#include "instance.h"
#include "plugin_state.h"

namespace npvlx {

namespace {
const NPNetscapeFuncs& browser() { return pluginState().browser; }
bool browserHasStreams() { return (browser().version & 0xFF) >= kStreamsMinorVersion; }
}  // namespace

NPError getUrl(Instance& instance, const std::string& url, const std::optional<std::string>& target) {
  if (!browser().geturl) return NPERR_GENERIC_ERROR;
  return browser().geturl(instance.browserInstance, url.c_str(), target ? target->c_str() : nullptr);
}

NPError newBrowserStream(Instance& instance, const char* type, const std::string& target,
                         NPStream** stream) {
  if (!browserHasStreams() || !browser().newstream) return NPERR_INCOMPATIBLE_VERSION_ERROR;
  return browser().newstream(instance.browserInstance, const_cast<char*>(type), target.c_str(), stream);
}

int32_t writeBrowserStream(Instance& instance, NPStream* stream, const void* data, int32_t length) {
  if (!browserHasStreams() || !browser().write) return -1;
  return browser().write(instance.browserInstance, stream, length, const_cast<void*>(data));
}

NPError destroyBrowserStream(Instance& instance, NPStream* stream, NPReason reason) {
  if (!browserHasStreams() || !browser().destroystream) return NPERR_INCOMPATIBLE_VERSION_ERROR;
  return browser().destroystream(instance.browserInstance, stream, reason);
}

void* browserAlloc(uint32_t size) { return browser().memalloc ? browser().memalloc(size) : nullptr; }

void browserFree(void* block) {
  if (browser().memfree && block) browser().memfree(block);
}

}  // namespace npvlx
