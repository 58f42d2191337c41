// In-place activation in the container's window: the control's child
// window, its window class, and the in-place interfaces. The control is
// window-only: it never activates windowless.
#include <cstdio>

#include "voxa_control.h"

namespace ravix {

namespace {

// Registered on first use, under a name made from the window procedure.
const char* windowClassName() {
  static char name[16] = {};
  if (name[0] == '\0') {
    std::snprintf(name, sizeof name, "ATL:%8.8X",
                  static_cast<unsigned>(reinterpret_cast<UINT_PTR>(&VoxaControl::windowProcedure)));
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = VoxaControl::windowProcedure;
    windowClass.hInstance = moduleInstance();
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = name;
    RegisterClassExA(&windowClass);
  }
  return name;
}

}  // namespace

void VoxaControl::createWindow(HWND parent, const RECT& position) {
  window_ = CreateWindowExA(0, windowClassName(), nullptr, WS_CHILD | WS_VISIBLE, position.left, position.top,
                            position.right - position.left, position.bottom - position.top, parent, nullptr,
                            moduleInstance(), this);
}

LRESULT CALLBACK VoxaControl::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* control = reinterpret_cast<VoxaControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (control == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    control->window_ = nullptr;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  }
  return control->onWindowMessage(window, message, wParam, lParam);
}

LRESULT VoxaControl::onWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      drawRoutine(dc, client);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_SETFOCUS:
      if (inPlaceActive_ && !uiActive_) inPlaceActivate(OLEIVERB_UIACTIVATE, nullptr);
      if (ComPtr<IOleControlSite> site = controlSite()) site->OnFocus(TRUE);
      break;
    case WM_KILLFOCUS:
      if (ComPtr<IOleControlSite> site = controlSite()) site->OnFocus(FALSE);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HRESULT VoxaControl::inPlaceActivate(LONG verb, LPCRECT) {
  if (!clientSite_) return E_UNEXPECTED;
  // Kept alive for the calls below, which may reach back into the container.
  ComPtr<IUnknown> keepAlive(outer_);
  if (!inPlaceActive_) {
    ComPtr<IOleInPlaceSite> site;
    if (FAILED(clientSite_.As(&site))) return E_FAIL;
    if (site->CanInPlaceActivate() != S_OK) return E_FAIL;
    inPlaceSite_ = site;
    inPlaceActive_ = true;
    site->OnInPlaceActivate();
  }
  HWND parent = nullptr;
  if (FAILED(inPlaceSite_->GetWindow(&parent))) return E_FAIL;
  frame_.Reset();
  uiWindow_.Reset();
  RECT position{}, clip{};
  OLEINPLACEFRAMEINFO frameInfo{};
  frameInfo.cb = sizeof frameInfo;
  inPlaceSite_->GetWindowContext(frame_.GetAddressOf(), uiWindow_.GetAddressOf(), &position, &clip, &frameInfo);
  if (window_ == nullptr) {
    createWindow(parent, position);
    if (window_ == nullptr) return E_FAIL;
  }
  SetObjectRects(&position, &clip);
  ShowWindow(window_, SW_SHOW);
  if (verb == OLEIVERB_UIACTIVATE && !uiActive_) {
    uiActive_ = true;
    inPlaceSite_->OnUIActivate();
    if (GetFocus() != window_) SetFocus(window_);
    if (frame_) {
      frame_->SetActiveObject(this, nullptr);
      frame_->SetBorderSpace(nullptr);
    }
    if (uiWindow_) {
      uiWindow_->SetActiveObject(this, nullptr);
      uiWindow_->SetBorderSpace(nullptr);
    }
  }
  clientSite_->ShowObject();
  return S_OK;
}

HRESULT VoxaControl::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = window_;
  return window_ != nullptr ? S_OK : E_FAIL;
}

HRESULT VoxaControl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT VoxaControl::InPlaceDeactivate() {
  if (!inPlaceActive_) return S_OK;
  ComPtr<IUnknown> keepAlive(outer_);
  UIDeactivate();
  inPlaceActive_ = false;
  if (window_ != nullptr) DestroyWindow(window_);
  if (inPlaceSite_) inPlaceSite_->OnInPlaceDeactivate();
  inPlaceSite_.Reset();
  frame_.Reset();
  uiWindow_.Reset();
  return S_OK;
}

HRESULT VoxaControl::UIDeactivate() {
  if (!uiActive_) return S_OK;
  uiActive_ = false;
  if (uiWindow_) uiWindow_->SetActiveObject(nullptr, nullptr);
  if (frame_) frame_->SetActiveObject(nullptr, nullptr);
  if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
  return S_OK;
}

// The window takes the position; only its part inside the clip rectangle
// shows (a page scrolled so that the control is partly hidden, say).
HRESULT VoxaControl::SetObjectRects(LPCRECT position, LPCRECT clip) {
  if (position == nullptr) return E_POINTER;
  if (window_ == nullptr) return S_OK;
  SetWindowPos(window_, nullptr, position->left, position->top, position->right - position->left,
               position->bottom - position->top, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT visible = *position;
  if (clip != nullptr && !IntersectRect(&visible, position, clip)) SetRectEmpty(&visible);
  if (EqualRect(&visible, position)) {
    SetWindowRgn(window_, nullptr, TRUE);
  } else {
    OffsetRect(&visible, -position->left, -position->top);
    SetWindowRgn(window_, CreateRectRgnIndirect(&visible), TRUE);  // the window owns the region
  }
  return S_OK;
}

HRESULT VoxaControl::ReactivateAndUndo() { return E_NOTIMPL; }

// Never active windowless: the messages of the container are not ours.
HRESULT VoxaControl::OnWindowMessage(UINT, WPARAM, LPARAM, LRESULT* result) {
  if (result != nullptr) *result = 0;
  return S_FALSE;
}

HRESULT VoxaControl::GetDropTarget(IDropTarget** target) {
  if (target == nullptr) return E_POINTER;
  *target = nullptr;
  return E_NOTIMPL;
}

HRESULT VoxaControl::OnFrameWindowActivate(BOOL) { return S_OK; }

HRESULT VoxaControl::OnDocWindowActivate(BOOL) { return S_OK; }

HRESULT VoxaControl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }

HRESULT VoxaControl::EnableModeless(BOOL) { return S_OK; }

}  // namespace ravix
