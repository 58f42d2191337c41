// The control's own answers: keyboard (IOleControl, TranslateAccelerator),
// safety for scripting, its property page and its connection point.
#include "module.h"
#include "voxa_control.h"

namespace ravix {

namespace {

// The system's stock colour property page.
constexpr CLSID kStockColorPage = {0x7EBDAAE1, 0x8120, 0x11CF, {0x89, 0x9F, 0x00, 0xAA, 0x00, 0x68, 0x8B, 0x10}};

}  // namespace

ComPtr<IOleControlSite> VoxaControl::controlSite() const {
  ComPtr<IOleControlSite> site;
  if (clientSite_) clientSite_.As(&site);
  return site;
}

HRESULT VoxaControl::GetControlInfo(CONTROLINFO* info) {
  MessageBoxA(window_, "GetInfo", "MSG", MB_OK);
  if (info == nullptr) return E_POINTER;
  info->cb = sizeof(CONTROLINFO);
  info->hAccel = LoadAcceleratorsA(moduleInstance(), "VOXAKEYS");
  info->cAccel = 1;
  info->dwFlags = CTRLINFO_EATS_RETURN | CTRLINFO_EATS_ESCAPE;
  return S_OK;
}

HRESULT VoxaControl::OnMnemonic(MSG* message) {
  MessageBoxA(window_, "OnMnemonic", "MSG", MB_OK);
  if (message == nullptr) return E_POINTER;
  PostMessageA(window_, message->message, message->wParam, message->lParam);
  return S_OK;
}

HRESULT VoxaControl::OnAmbientPropertyChange(DISPID) { return S_OK; }

HRESULT VoxaControl::FreezeEvents(BOOL) { return S_OK; }

// Tab, Return and Backspace go to the container; every other key stays
// with the control. The keyboard messages: WM_KEYDOWN up to WM_SYSDEADCHAR
// and the one after it.
constexpr UINT kLastKeyboardMessage = 0x108;

HRESULT VoxaControl::TranslateAccelerator(LPMSG message) {
  if (message == nullptr) return S_FALSE;
  bool keyboard = message->message >= WM_KEYDOWN && message->message <= kLastKeyboardMessage;
  bool passedOn = message->wParam == VK_TAB || message->wParam == VK_RETURN || message->wParam == VK_BACK;
  if (!keyboard || !passedOn) return S_FALSE;
  ComPtr<IOleControlSite> site = controlSite();
  if (!site) return S_FALSE;
  return site->TranslateAccelerator(message, 0);
}

HRESULT VoxaControl::GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) {
  if (supported == nullptr || enabled == nullptr) return E_POINTER;
  if (!IsEqualIID(iid, IID_IDispatch)) {
    *supported = 0;
    *enabled = 0;
    return E_NOINTERFACE;
  }
  *supported = INTERFACESAFE_FOR_UNTRUSTED_CALLER;
  *enabled = safetyOptions_ & INTERFACESAFE_FOR_UNTRUSTED_CALLER;
  return S_OK;
}

HRESULT VoxaControl::SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) {
  if (!IsEqualIID(iid, IID_IDispatch)) return E_NOINTERFACE;
  safetyOptions_ = enabled & mask;
  return S_OK;
}

HRESULT VoxaControl::GetPages(CAUUID* pages) {
  if (pages == nullptr) return E_POINTER;
  pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
  if (pages->pElems == nullptr) {
    pages->cElems = 0;
    return E_OUTOFMEMORY;
  }
  pages->cElems = 1;
  pages->pElems[0] = kStockColorPage;
  return S_OK;
}

HRESULT VoxaControl::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (points != nullptr) *points = nullptr;
  return enumerateConnectionPoints(&events_, points);
}

HRESULT VoxaControl::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (point == nullptr) return E_POINTER;
  *point = nullptr;
  if (!IsEqualIID(iid, kDiidVoxaEvents)) return CONNECT_E_NOCONNECTION;
  *point = &events_;
  events_.AddRef();
  return S_OK;
}

}  // namespace ravix
