#include "test_site.h"

namespace ravix_test {

TestSite::TestSite(bool withControlSite) : withControlSite_(withControlSite) {
  host_ = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400, 300,
                          nullptr, nullptr, nullptr, nullptr);
}

TestSite::~TestSite() { DestroyWindow(host_); }

HRESULT TestSite::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite)) {
    *out = static_cast<IOleClientSite*>(this);
  } else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite)) {
    *out = static_cast<IOleInPlaceSite*>(this);
  } else if (withControlSite_ && IsEqualIID(iid, IID_IOleControlSite)) {
    *out = static_cast<IOleControlSite*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

HRESULT TestSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  *moniker = nullptr;
  return E_NOTIMPL;
}

HRESULT TestSite::GetContainer(IOleContainer** container) {
  *container = nullptr;
  return E_NOINTERFACE;
}

HRESULT TestSite::GetWindow(HWND* window) {
  *window = host_;
  return S_OK;
}

HRESULT TestSite::OnInPlaceActivate() {
  ++inPlaceActivations;
  return S_OK;
}

HRESULT TestSite::OnUIActivate() {
  ++uiActivations;
  return S_OK;
}

HRESULT TestSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT positionOut,
                                   LPRECT clip, LPOLEINPLACEFRAMEINFO) {
  *frame = nullptr;
  *document = nullptr;
  *positionOut = position;
  *clip = position;
  return S_OK;
}

HRESULT TestSite::OnControlInfoChanged() {
  ++controlInfoChanges;
  return S_OK;
}

HRESULT TestSite::GetExtendedControl(IDispatch** control) {
  *control = nullptr;
  return E_NOTIMPL;
}

HRESULT TestSite::TranslateAccelerator(MSG* message, DWORD modifierFlags) {
  translated.push_back(*message);
  modifiers.push_back(modifierFlags);
  return S_OK;
}

HRESULT TestSite::OnFocus(BOOL gotFocus) {
  focus.push_back(gotFocus);
  return S_OK;
}

}  // namespace ravix_test
