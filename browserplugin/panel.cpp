// The panel: the browser's window subclassed, 50 lines of text over the
// background colour and a bar of progress blocks at the bottom, the poll
// timer and the progress timer.
#include <algorithm>

#include "browser_calls.h"
#include "common/win32/handles.h"
#include "instance.h"
#include "np_boundary.h"

namespace npvlx {

namespace {

constexpr char kInstanceProperty[] = "instance->pdata";

Instance* instanceOf(HWND window) {
  return static_cast<Instance*>(GetPropA(window, kInstanceProperty));
}

void paint(Instance& instance, HDC dc) {
  RECT client{};
  GetClientRect(instance.window, &client);
  win::UniqueGdiObject background(CreateSolidBrush(instance.background));
  FillRect(dc, &client, static_cast<HBRUSH>(background.get()));

  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SetTextColor(dc, instance.textColour);
  SetBkColor(dc, instance.background);
  SetBkMode(dc, OPAQUE);
  for (int i = 0; i < kTextLineCount; ++i) {
    const std::string& line = instance.lines[i];
    if (!line.empty()) TextOutA(dc, 0, i * metrics.tmHeight, line.c_str(), static_cast<int>(line.size()));
  }

  if (instance.progressBlocks <= 0) return;
  int lit = instance.progressPosition;
  if (lit > instance.progressBlocks) lit %= instance.progressBlocks;
  HBRUSH highlight = GetSysColorBrush(COLOR_HIGHLIGHT);
  int top = instance.height - 11;
  int bottom = top + std::min(instance.height, 10);
  for (int k = 0; k < lit; ++k) {
    RECT block{10 * k, top, 10 * k + 8, bottom};
    FillRect(dc, &block, highlight);
  }
}

// The panel's share of the window's messages; false for the others.
bool handlePanelMessage(Instance* instance, HWND window, UINT message, WPARAM wParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    paint(*instance, dc);
    EndPaint(window, &ps);
    return true;
  }
  if (message == WM_TIMER && window == instance->window) {
    if (wParam == kPollTimerId && instance->pollingEnabled) {
      getUrl(*instance, instance->dialogPage, std::nullopt);
      return true;
    }
    if (wParam != kPollTimerId && instance->progressTimerRunning) {
      ++instance->progressPosition;
      repaint(*instance);
      return true;
    }
  }
  return false;
}

LRESULT CALLBACK panelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Instance* instance = instanceOf(window);
  if (!instance) return DefWindowProcA(window, message, wParam, lParam);
  // Out of memory: the message is dropped (answered 0).
  if (guarded(true, [&] { return handlePanelMessage(instance, window, message, wParam); })) return 0;
  return CallWindowProcA(instance->oldWindowProc, window, message, wParam, lParam);
}

void killTimers(Instance& instance) {
  KillTimer(instance.window, kPollTimerId);
  KillTimer(instance.window, instance.progressTimerId());
}

}  // namespace

void detachWindow(Instance& instance) {
  if (!instance.window) return;
  killTimers(instance);
  if (instance.oldWindowProc) {
    SetWindowLongPtrA(instance.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(instance.oldWindowProc));
  }
  RemovePropA(instance.window, kInstanceProperty);
  instance.window = nullptr;
  instance.oldWindowProc = nullptr;
}

NPError setWindow(Instance& instance, NPWindow* window) {
  HWND handle = window ? static_cast<HWND>(window->window) : nullptr;
  if (!handle) {
    detachWindow(instance);
    return NPERR_NO_ERROR;
  }
  if (handle == instance.window) {
    repaint(instance);
    return NPERR_NO_ERROR;
  }
  detachWindow(instance);
  instance.window = handle;
  instance.oldWindowProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&panelProc)));
  SetPropA(handle, kInstanceProperty, &instance);
  if (instance.pollingEnabled) startPollTimer(instance);
  if (instance.progressNesting > 0) startProgressTimer(instance);
  InvalidateRect(handle, nullptr, TRUE);
  UpdateWindow(handle);
  return NPERR_NO_ERROR;
}

void repaint(Instance& instance) {
  if (!instance.window) return;
  InvalidateRect(instance.window, nullptr, TRUE);
  UpdateWindow(instance.window);
}

void startPollTimer(Instance& instance) {
  if (instance.window) SetTimer(instance.window, kPollTimerId, instance.pollPeriod, nullptr);
}

void startProgressTimer(Instance& instance) {
  instance.progressTimerRunning = true;
  if (instance.window) SetTimer(instance.window, instance.progressTimerId(), instance.progressPeriod, nullptr);
}

void stopProgressTimer(Instance& instance) {
  if (instance.window) KillTimer(instance.window, instance.progressTimerId());
  instance.progressTimerRunning = false;
}

}  // namespace npvlx
