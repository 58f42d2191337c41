// One embedded plug-in: its panel, its polling of the server, its downloads
// and the components it launched.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <array>
#include <cstddef>
#include <list>
#include <string>
#include <string_view>

#include "app_callback.h"
#include "kebo_component.h"
#include "npapi.h"

namespace npvlx {

using Microsoft::WRL::ComPtr;

inline constexpr UINT_PTR kPollTimerId = 12365;
inline constexpr int kTextLineCount = 50;
inline constexpr int kDownloadSlotCount = 10;
inline constexpr UINT kDefaultProgressPeriod = 1000;
// Capacities of the fixed fields, terminating zero included.
inline constexpr std::size_t kFieldSize = 256;
inline constexpr std::size_t kSlotUrlSize = 512;

// Copies a page or server value into a fixed field, cut to its capacity.
inline void copyField(std::string& field, std::string_view value, std::size_t capacity = kFieldSize) {
  field.assign(value.substr(0, capacity - 1));
}

struct DownloadSlot {
  ComPtr<IAppComponent> component;  // the component that asked for the file
  std::string url;
  bool free = true;
};

struct LaunchedComponent {
  ComPtr<IAppComponent> component;
  ComPtr<AppCallback> callback;
  bool removeWithPlugin = false;  // "removewithvlx": ended when the plug-in goes
};

struct Instance {
  unsigned long serial = 0;  // tells this instance from a later one at its address
  HWND window = nullptr;
  uint16_t mode = 0;
  NPP browserInstance = nullptr;
  WNDPROC oldWindowProc = nullptr;
  int width = 0;
  int height = 0;
  int progressBlocks = 0;
  bool isFather = false;
  bool pollingEnabled = false;
  UINT pollPeriod = 0;
  int progressPosition = 0;
  int progressNesting = 0;
  bool progressTimerRunning = false;
  UINT progressPeriod = kDefaultProgressPeriod;
  std::string loadingUrl;       // the component package being fetched
  long expectedSize = 0;
  std::string dialogPage;
  std::string pendingPageList;  // "url", "frame": opened after an installation
  std::string errorUrl;
  std::string errorFrame;
  COLORREF background = 0xFFFFFF;
  COLORREF textColour = 0;
  std::array<DownloadSlot, kDownloadSlotCount> downloads;
  std::array<std::string, kTextLineCount> lines;  // empty: not drawn
  std::list<LaunchedComponent> components;

  // The progress timer's id is the instance's own address.
  UINT_PTR progressTimerId() const { return reinterpret_cast<UINT_PTR>(this); }
};

// Panel (panel.cpp).
NPError setWindow(Instance& instance, NPWindow* window);
void detachWindow(Instance& instance);
void repaint(Instance& instance);
void startPollTimer(Instance& instance);
void startProgressTimer(Instance& instance);
void stopProgressTimer(Instance& instance);

}  // namespace npvlx
