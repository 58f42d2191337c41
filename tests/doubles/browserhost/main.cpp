// The browser double: loads the plug-in, embeds it once per parameter file
// in a page of its own, serves the streams it asks for, answers its message
// boxes and records every call on standard output.
//
//   browserhost [--plugin DLL] [--serve FOLDER] [--run MS] [--minor N]
//               [--chunk BYTES] [--snapshot PREFIX] [--rewindow] [--no-memory]
//               [--mid-snapshot URL FILE] [--destroy-during-box] PARAMS.txt...
//
// --no-memory: every MemAlloc fails.
// --mid-snapshot URL FILE: a picture of the area half-way through the
// stream of URL.
// --destroy-during-box: while a message box of the plug-in is up, every
// instance is destroyed, as a page closed behind the box would be.
// --rewindow: half-way through the run, each plug-in gets its window again,
// then a new one; the record tells whether the old window got its own
// window procedure back.
//
// A parameter file holds one embed parameter a line, "name=value".
#include <winsock2.h>
#include <windows.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "browser_functions.h"
#include "common/win32/handles.h"
#include "host_record.h"
#include "host_windows.h"
#include "npapi.h"
#include "url_source.h"

namespace {

struct Options {
  std::string plugin = "npvlx.dll";
  DWORD runMs = 1000;
  std::string snapshotPrefix;
  bool rewindow = false;
  bool destroyDuringBox = false;
  host::HostOptions host;
  std::vector<std::string> parameterFiles;
};

struct Embedded {
  NPP_t npp{};
  std::vector<std::string> names, values;
  std::vector<char*> argn, argv;
  HWND area = nullptr;
  NPWindow window{};
  bool created = false;
  int width = 300, height = 200;
};

bool readParameters(const std::string& path, Embedded& e) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::size_t equals = line.find('=');
    if (line.empty() || line[0] == '#' || equals == std::string::npos) continue;
    e.names.push_back(line.substr(0, equals));
    e.values.push_back(line.substr(equals + 1));
    if (e.names.back() == "width") e.width = atoi(e.values.back().c_str());
    if (e.names.back() == "height") e.height = atoi(e.values.back().c_str());
  }
  for (std::size_t i = 0; i < e.names.size(); ++i) {
    e.argn.push_back(e.names[i].data());
    e.argv.push_back(e.values[i].data());
  }
  return true;
}

bool parseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    bool hasValue = i + 1 < argc;
    if (a == "--plugin" && hasValue) o.plugin = argv[++i];
    else if (a == "--serve" && hasValue) host::setServedFolder(argv[++i]);
    else if (a == "--run" && hasValue) o.runMs = static_cast<DWORD>(atoi(argv[++i]));
    else if (a == "--minor" && hasValue) o.host.minorVersion = static_cast<uint16_t>(atoi(argv[++i]));
    else if (a == "--chunk" && hasValue) o.host.chunkSize = atoi(argv[++i]);
    else if (a == "--snapshot" && hasValue) o.snapshotPrefix = argv[++i];
    else if (a == "--rewindow") o.rewindow = true;
    else if (a == "--no-memory") o.host.outOfMemory = true;
    else if (a == "--destroy-during-box") o.destroyDuringBox = true;
    else if (a == "--mid-snapshot" && i + 2 < argc) {
      o.host.midStreamUrl = argv[++i];
      o.host.midStreamPicture = argv[++i];
    }
    else if (a.rfind("--", 0) == 0) return false;
    else o.parameterFiles.push_back(a);
  }
  return !o.parameterFiles.empty() && o.host.chunkSize > 0;
}

void pumpFor(DWORD ms, const NPPluginFuncs& plugin) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == host::kDeliverMessage) {
        host::deliverStreams(plugin);
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

// The same window again, then a new one in its place; the old one stays,
// hidden, so that anything the plug-in left on it would still run.
void moveToNewWindow(Embedded& e, int number, HWND page, const NPPluginFuncs& plugin) {
  std::string name = std::to_string(number);
  host::record("SetWindow " + name + " again -> " + std::to_string(plugin.setwindow(&e.npp, &e.window)));
  HWND old = e.area;
  RECT place{};
  GetWindowRect(old, &place);
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&place), 2);
  ShowWindow(old, SW_HIDE);
  e.area = host::createPluginArea(page, place.top, e.width, e.height);
  e.window.window = e.area;
  host::setInstanceArea(&e.npp, e.area);
  host::record("SetWindow " + name + " new -> " + std::to_string(plugin.setwindow(&e.npp, &e.window)));
  bool restored = static_cast<ULONG_PTR>(GetWindowLongPtrA(old, GWLP_WNDPROC)) ==
                      static_cast<ULONG_PTR>(GetClassLongPtrA(old, GCLP_WNDPROC)) &&
                  GetPropA(old, "instance->pdata") == nullptr;
  host::record("OldWindow " + name + (restored ? " restored" : " still subclassed"));
}

using GetEntryPoints = NPError(WINAPI*)(NPPluginFuncs*);
using Initialize = NPError(WINAPI*)(NPNetscapeFuncs*);
using Shutdown = NPError(WINAPI*)();

// What the page destroys while a box is up.
NPPluginFuncs* boxPlugin = nullptr;
std::vector<std::unique_ptr<Embedded>>* boxEmbedded = nullptr;

void destroyAllInstances() {
  for (std::size_t i = 0; i < boxEmbedded->size(); ++i) {
    Embedded& e = *(*boxEmbedded)[i];
    if (!e.created) continue;
    e.created = false;
    host::record("Destroy " + std::to_string(i) + " during box -> " + std::to_string(boxPlugin->destroy(&e.npp, nullptr)));
    host::nameInstance(&e.npp, -1);
  }
}

template <typename F>
F exportOf(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parseOptions(argc, argv, options)) {
    fprintf(stderr, "usage: browserhost [--plugin DLL] [--serve FOLDER] [--run MS] [--minor N] "
                    "[--chunk BYTES] [--snapshot PREFIX] [--rewindow] [--no-memory]\n"
                    "                   [--mid-snapshot URL FILE] [--destroy-during-box] PARAMS.txt...\n");
    return 2;
  }
  WSADATA wsa;
  WSAStartup(MAKEWORD(1, 1), &wsa);
  std::vector<std::unique_ptr<Embedded>> embedded;
  for (const std::string& file : options.parameterFiles) {
    embedded.push_back(std::make_unique<Embedded>());
    if (!readParameters(file, *embedded.back())) {
      fprintf(stderr, "browserhost: cannot read %s\n", file.c_str());
      return 2;
    }
  }

  win::UniqueModule plugin(LoadLibraryA(options.plugin.c_str()));
  if (!plugin) {
    fprintf(stderr, "browserhost: cannot load %s\n", options.plugin.c_str());
    return 2;
  }
  auto getEntryPoints = exportOf<GetEntryPoints>(plugin.get(), "NP_GetEntryPoints");
  auto initialize = exportOf<Initialize>(plugin.get(), "NP_Initialize");
  auto shutdown = exportOf<Shutdown>(plugin.get(), "NP_Shutdown");
  if (!getEntryPoints || !initialize || !shutdown) {
    fprintf(stderr, "browserhost: %s lacks the plug-in exports\n", options.plugin.c_str());
    return 2;
  }

  int pageHeight = 0, pageWidth = 100;
  for (auto& e : embedded) {
    pageHeight += e->height;
    pageWidth = std::max(pageWidth, e->width);
  }
  HWND page = host::createPage(pageWidth, pageHeight);
  NPPluginFuncs pluginTable{};
  boxPlugin = &pluginTable;
  boxEmbedded = &embedded;
  host::startMessageBoxRobot(page, options.destroyDuringBox ? destroyAllInstances : nullptr);

  pluginTable.size = sizeof pluginTable;
  host::record("NP_GetEntryPoints -> " + std::to_string(getEntryPoints(&pluginTable)));
  NPNetscapeFuncs browser = host::browserTable(options.host, page);
  host::record("NP_Initialize -> " + std::to_string(initialize(&browser)));

  int top = 0;
  for (std::size_t i = 0; i < embedded.size(); ++i) {
    Embedded& e = *embedded[i];
    host::nameInstance(&e.npp, static_cast<int>(i));
    NPError created = pluginTable.newp(const_cast<char*>("application/x-KEBO-VLX"), &e.npp, 1,
                                       static_cast<int16_t>(e.argn.size()), e.argn.data(), e.argv.data(), nullptr);
    host::record("New " + std::to_string(i) + " -> " + std::to_string(created));
    e.created = created == NPERR_NO_ERROR;
    if (!e.created) {
      host::nameInstance(&e.npp, -1);
      continue;
    }
    e.area = host::createPluginArea(page, top, e.width, e.height);
    host::setInstanceArea(&e.npp, e.area);
    top += e.height;
    e.window = NPWindow{e.area, 0, 0, static_cast<uint32_t>(e.width), static_cast<uint32_t>(e.height),
                        NPRect{0, 0, static_cast<uint16_t>(e.height), static_cast<uint16_t>(e.width)},
                        NPWindowTypeWindow};
    host::record("SetWindow " + std::to_string(i) + " -> " + std::to_string(pluginTable.setwindow(&e.npp, &e.window)));
  }

  if (options.rewindow) {
    pumpFor(options.runMs / 2, pluginTable);
    for (std::size_t i = 0; i < embedded.size(); ++i) {
      if (embedded[i]->created) moveToNewWindow(*embedded[i], static_cast<int>(i), page, pluginTable);
    }
    pumpFor(options.runMs - options.runMs / 2, pluginTable);
  } else {
    pumpFor(options.runMs, pluginTable);
  }

  for (std::size_t i = 0; i < embedded.size(); ++i) {
    Embedded& e = *embedded[i];
    if (!e.created) continue;
    if (!options.snapshotPrefix.empty()) {
      std::string path = options.snapshotPrefix + "-" + std::to_string(i) + ".bmp";
      // A display that is still starting may refuse the first picture.
      bool saved = host::saveSnapshot(e.area, path);
      for (int attempt = 0; attempt < 3 && !saved; ++attempt) {
        pumpFor(200, pluginTable);
        saved = host::saveSnapshot(e.area, path);
      }
      host::record("Snapshot " + std::to_string(i) + (saved ? " saved" : " failed"));
    }
  }
  for (std::size_t i = 0; i < embedded.size(); ++i) {
    Embedded& e = *embedded[i];
    if (!e.created) continue;
    host::record("Destroy " + std::to_string(i) + " -> " + std::to_string(pluginTable.destroy(&e.npp, nullptr)));
    host::nameInstance(&e.npp, -1);
  }
  host::record("NP_Shutdown -> " + std::to_string(shutdown()));
  DestroyWindow(page);
  return 0;
}
