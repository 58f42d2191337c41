// The browser functions the double offers the plug-in, and the delivery of
// the streams it asked for.
#pragma once

#include <windows.h>

#include <string>

#include "npapi.h"

namespace host {

struct HostOptions {
  uint16_t minorVersion = 11;
  int chunkSize = 100;  // bytes a Write hands over
  bool outOfMemory = false;  // MemAlloc fails
  // A picture of the instance's area half-way through the stream of this URL.
  std::string midStreamUrl;
  std::string midStreamPicture;
};

// The table for NP_Initialize; `notifier` receives kDeliverMessage when a
// stream is waiting.
NPNetscapeFuncs browserTable(const HostOptions& options, HWND notifier);
inline constexpr UINT kDeliverMessage = WM_APP + 1;
// Delivers the waiting streams through the plug-in's table.
void deliverStreams(const NPPluginFuncs& plugin);
// The instance's number in the record (-1: forget it) and its area.
void nameInstance(NPP instance, int number);
void setInstanceArea(NPP instance, HWND area);

}  // namespace host
