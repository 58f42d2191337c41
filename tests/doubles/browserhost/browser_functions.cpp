#include "browser_functions.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <list>
#include <map>
#include <string>

#include "host_record.h"
#include "host_windows.h"
#include "url_source.h"

namespace host {

namespace {

struct PendingStream {
  NPP instance;
  std::string url;
};

HostOptions options;
HWND notifier = nullptr;
std::deque<PendingStream> pending;
std::map<NPP, int> instanceNumbers;
std::map<NPP, HWND> instanceAreas;
std::list<NPStream> pageStreams;  // streams the plug-in opened towards a frame

std::string nameOf(NPP instance) {
  auto it = instanceNumbers.find(instance);
  return it == instanceNumbers.end() ? "?" : std::to_string(it->second);
}

NPError getUrl(NPP instance, const char* url, const char* target) {
  record("GetURL " + nameOf(instance) + " url=" + orNull(url) + " target=" + orNull(target));
  if (!url) return NPERR_GENERIC_ERROR;
  if (!target) {
    pending.push_back({instance, url});
    PostMessageA(notifier, kDeliverMessage, 0, 0);
  }
  return NPERR_NO_ERROR;
}

NPError newStream(NPP instance, NPMIMEType type, const char* target, NPStream** stream) {
  record("NewStream " + nameOf(instance) + " type=" + orNull(type) + " target=" + orNull(target));
  if (!stream) return NPERR_GENERIC_ERROR;
  pageStreams.push_back(NPStream{});
  *stream = &pageStreams.back();
  return NPERR_NO_ERROR;
}

int32_t write(NPP instance, NPStream*, int32_t length, void* buffer) {
  std::string_view data(static_cast<const char*>(buffer), length > 0 ? length : 0);
  record("Write " + nameOf(instance) + " len=" + std::to_string(length) + " data=" + escapeBytes(data));
  return length;
}

NPError destroyStream(NPP instance, NPStream* stream, NPReason reason) {
  record("DestroyStream " + nameOf(instance) + " reason=" + std::to_string(reason));
  pageStreams.remove_if([stream](const NPStream& s) { return &s == stream; });
  return NPERR_NO_ERROR;
}

void* memAlloc(uint32_t size) {
  record("MemAlloc size=" + std::to_string(size) + (options.outOfMemory ? " refused" : ""));
  return options.outOfMemory ? nullptr : malloc(size);
}

void memFree(void* block) {
  record("MemFree");
  free(block);
}

void deliver(const NPPluginFuncs& plugin, const PendingStream& request) {
  auto content = fetchUrl(request.url);
  record("Serve " + nameOf(request.instance) + " url=" + request.url +
         (content ? " bytes=" + std::to_string(content->size()) : " missing"));
  NPStream stream{};
  stream.url = request.url.c_str();
  stream.end = content ? static_cast<uint32_t>(content->size()) : 0;
  uint16_t type = NP_NORMAL;
  if (plugin.newstream(request.instance, const_cast<char*>("text/html"), &stream, 0, &type) != NPERR_NO_ERROR) {
    return;
  }
  NPReason reason = content ? NPRES_DONE : NPRES_NETWORK_ERR;
  std::size_t offset = 0;
  while (content && offset < content->size()) {
    int32_t ready = plugin.writeready(request.instance, &stream);
    int32_t size = static_cast<int32_t>(std::min<std::size_t>(content->size() - offset, options.chunkSize));
    if (ready < size) size = ready > 0 ? ready : 1;
    int32_t taken = plugin.write(request.instance, &stream, static_cast<int32_t>(offset), size,
                                 content->data() + offset);
    if (taken < 0) {
      reason = NPRES_NETWORK_ERR;
      break;
    }
    std::size_t half = content->size() / 2;
    bool crossesHalf = offset < half && offset + static_cast<std::size_t>(taken) >= half;
    offset += static_cast<std::size_t>(taken);
    if (crossesHalf && request.url == options.midStreamUrl) {
      bool saved = saveSnapshot(instanceAreas[request.instance], options.midStreamPicture);
      record("MidStreamSnapshot " + nameOf(request.instance) + (saved ? " saved" : " failed"));
    }
  }
  plugin.destroystream(request.instance, &stream, reason);
}

}  // namespace

NPNetscapeFuncs browserTable(const HostOptions& chosen, HWND window) {
  options = chosen;
  notifier = window;
  NPNetscapeFuncs table{};
  table.size = sizeof table;
  table.version = options.minorVersion;
  table.geturl = getUrl;
  table.newstream = newStream;
  table.write = write;
  table.destroystream = destroyStream;
  table.memalloc = memAlloc;
  table.memfree = memFree;
  return table;
}

void deliverStreams(const NPPluginFuncs& plugin) {
  while (!pending.empty()) {
    PendingStream request = pending.front();
    pending.pop_front();
    if (instanceNumbers.count(request.instance)) deliver(plugin, request);
  }
}

void setInstanceArea(NPP instance, HWND area) { instanceAreas[instance] = area; }

void nameInstance(NPP instance, int number) {
  if (number < 0) {
    instanceNumbers.erase(instance);
  } else {
    instanceNumbers[instance] = number;
  }
}

}  // namespace host
