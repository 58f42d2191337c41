// The browser plug-in interface as this plug-in and its browser use it:
// the types, error codes and the two tables of functions that browser and
// plug-in exchange. Functions in the tables use the C calling convention;
// the three DLL exports use the system's (stdcall).
#pragma once

#include <cstdint>

extern "C" {

using NPError = int16_t;
using NPReason = int16_t;
using NPBool = unsigned char;
using NPMIMEType = char*;

enum : NPError {
  NPERR_NO_ERROR = 0,
  NPERR_GENERIC_ERROR = 1,
  NPERR_INVALID_INSTANCE_ERROR = 2,
  NPERR_INVALID_FUNCTABLE_ERROR = 3,
  NPERR_MODULE_LOAD_FAILED_ERROR = 4,
  NPERR_OUT_OF_MEMORY_ERROR = 5,
  NPERR_INVALID_PLUGIN_ERROR = 6,
  NPERR_INVALID_PLUGIN_DIR_ERROR = 7,
  NPERR_INCOMPATIBLE_VERSION_ERROR = 8,
};

enum : NPReason { NPRES_DONE = 0, NPRES_NETWORK_ERR = 1, NPRES_USER_BREAK = 2 };

// Stream types a plug-in may ask for in NewStream.
enum : uint16_t { NP_NORMAL = 1, NP_SEEK = 2, NP_ASFILE = 3, NP_ASFILEONLY = 4 };

// The plug-in interface's version: major in the high byte, minor in the low.
inline constexpr uint16_t kPluginInterfaceVersion = 9;
// Browsers from this minor version on offer NewStream, Write and DestroyStream.
inline constexpr uint16_t kStreamsMinorVersion = 8;

struct NPP_t {
  void* pdata;  // the plug-in's
  void* ndata;  // the browser's
};
using NPP = NPP_t*;

struct NPStream {
  void* pdata;
  void* ndata;
  const char* url;
  uint32_t end;
  uint32_t lastmodified;
  void* notifyData;
};

struct NPRect {
  uint16_t top, left, bottom, right;
};

enum NPWindowType { NPWindowTypeWindow = 1, NPWindowTypeDrawable = 2 };

struct NPWindow {
  void* window;  // the HWND of the plug-in's area
  int32_t x, y;
  uint32_t width, height;
  NPRect clipRect;
  NPWindowType type;
};

struct NPSavedData {
  int32_t len;
  void* buf;
};

struct NPPrint;  // printing is not handled

// What the plug-in offers the browser.
using NPP_NewFunc = NPError (*)(NPMIMEType, NPP, uint16_t mode, int16_t argc, char* argn[],
                                char* argv[], NPSavedData*);
using NPP_DestroyFunc = NPError (*)(NPP, NPSavedData**);
using NPP_SetWindowFunc = NPError (*)(NPP, NPWindow*);
using NPP_NewStreamFunc = NPError (*)(NPP, NPMIMEType, NPStream*, NPBool seekable, uint16_t* stype);
using NPP_DestroyStreamFunc = NPError (*)(NPP, NPStream*, NPReason);
using NPP_StreamAsFileFunc = void (*)(NPP, NPStream*, const char* fname);
using NPP_WriteReadyFunc = int32_t (*)(NPP, NPStream*);
using NPP_WriteFunc = int32_t (*)(NPP, NPStream*, int32_t offset, int32_t len, void* buffer);
using NPP_PrintFunc = void (*)(NPP, NPPrint*);
using NPP_HandleEventFunc = int16_t (*)(NPP, void* event);
using NPP_URLNotifyFunc = void (*)(NPP, const char* url, NPReason, void* notifyData);

struct NPPluginFuncs {
  uint16_t size;
  uint16_t version;
  NPP_NewFunc newp;
  NPP_DestroyFunc destroy;
  NPP_SetWindowFunc setwindow;
  NPP_NewStreamFunc newstream;
  NPP_DestroyStreamFunc destroystream;
  NPP_StreamAsFileFunc asfile;
  NPP_WriteReadyFunc writeready;
  NPP_WriteFunc write;
  NPP_PrintFunc print;
  NPP_HandleEventFunc event;
  NPP_URLNotifyFunc urlnotify;
  void* javaClass;
};

// What the browser offers the plug-in.
using NPN_GetURLFunc = NPError (*)(NPP, const char* url, const char* target);
using NPN_PostURLFunc = NPError (*)(NPP, const char* url, const char* target, uint32_t len,
                                    const char* buf, NPBool file);
using NPN_RequestReadFunc = NPError (*)(NPStream*, void* rangeList);
using NPN_NewStreamFunc = NPError (*)(NPP, NPMIMEType, const char* target, NPStream** stream);
using NPN_WriteFunc = int32_t (*)(NPP, NPStream*, int32_t len, void* buffer);
using NPN_DestroyStreamFunc = NPError (*)(NPP, NPStream*, NPReason);
using NPN_StatusFunc = void (*)(NPP, const char* message);
using NPN_UserAgentFunc = const char* (*)(NPP);
using NPN_MemAllocFunc = void* (*)(uint32_t size);
using NPN_MemFreeFunc = void (*)(void* ptr);
using NPN_MemFlushFunc = uint32_t (*)(uint32_t size);
using NPN_ReloadPluginsFunc = void (*)(NPBool reloadPages);

struct NPNetscapeFuncs {
  uint16_t size;
  uint16_t version;
  NPN_GetURLFunc geturl;
  NPN_PostURLFunc posturl;
  NPN_RequestReadFunc requestread;
  NPN_NewStreamFunc newstream;
  NPN_WriteFunc write;
  NPN_DestroyStreamFunc destroystream;
  NPN_StatusFunc status;
  NPN_UserAgentFunc uagent;
  NPN_MemAllocFunc memalloc;
  NPN_MemFreeFunc memfree;
  NPN_MemFlushFunc memflush;
  NPN_ReloadPluginsFunc reloadplugins;
};

}  // extern "C"
