// The control as an embedded object: IOleObject and IQuickActivate.
#include "voxa_control.h"

namespace ravix {

namespace {

// What the control asks of its container, as registered under "MiscStatus".
constexpr DWORD kMiscStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
                              OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
constexpr DWORD kViewStatus = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;

}  // namespace

HRESULT VoxaControl::SetClientSite(IOleClientSite* site) {
  clientSite_ = site;
  return S_OK;
}

HRESULT VoxaControl::GetClientSite(IOleClientSite** site) {
  if (site == nullptr) return E_POINTER;
  *site = clientSite_.Get();
  if (*site != nullptr) (*site)->AddRef();
  return S_OK;
}

HRESULT VoxaControl::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

// Closing lets go of every sink the container gave: a sink that holds the
// control would otherwise keep it, and its machine, alive for ever. A dirty
// control asked to save asks its site to do it first.
HRESULT VoxaControl::Close(DWORD saveOption) {
  if (inPlaceActive_) InPlaceDeactivate();
  const bool save = saveOption == OLECLOSE_SAVEIFDIRTY || saveOption == OLECLOSE_PROMPTSAVE;
  if (save && dirty_ && clientSite_) {
    clientSite_->SaveObject();
    if (oleAdviseHolder_) oleAdviseHolder_->SendOnSave();
  }
  viewSink_.Reset();
  if (oleAdviseHolder_) {
    oleAdviseHolder_->SendOnClose();
    oleAdviseHolder_.Reset();
  }
  return S_OK;
}

HRESULT VoxaControl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

HRESULT VoxaControl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker != nullptr) *moniker = nullptr;
  return E_NOTIMPL;
}

HRESULT VoxaControl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

HRESULT VoxaControl::GetClipboardData(DWORD, IDataObject** data) {
  if (data != nullptr) *data = nullptr;
  return E_NOTIMPL;
}

HRESULT VoxaControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT position) {
  if (site != nullptr && !clientSite_) clientSite_ = site;
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
      return inPlaceActivate(verb, position);
    case OLEIVERB_HIDE:
      UIDeactivate();
      if (window_ != nullptr) ShowWindow(window_, SW_HIDE);
      return S_OK;
    case OLEIVERB_PROPERTIES:
      return showPropertyFrame(parent);
    case OLEIVERB_OPEN:  // the control has no window of its own to open
    case OLEIVERB_DISCARDUNDOSTATE:
      return S_OK;
    default:
      return E_NOTIMPL;
  }
}

HRESULT VoxaControl::showPropertyFrame(HWND parent) {
  CAUUID pages{};
  HRESULT result = GetPages(&pages);
  if (FAILED(result)) return result;
  wchar_t caption[] = L"Voxa";
  result = OleCreatePropertyFrame(parent, 0, 0, caption, 1, &outer_, pages.cElems, pages.pElems,
                                  GetUserDefaultLCID(), 0, nullptr);
  CoTaskMemFree(pages.pElems);
  return result;
}

HRESULT VoxaControl::EnumVerbs(IEnumOLEVERB** verbs) {
  if (verbs == nullptr) return E_POINTER;
  return OleRegEnumVerbs(kClsidVoxa, verbs);
}

HRESULT VoxaControl::Update() { return S_OK; }

HRESULT VoxaControl::IsUpToDate() { return S_OK; }

HRESULT VoxaControl::GetUserClassID(CLSID* clsid) { return GetClassID(clsid); }

HRESULT VoxaControl::GetUserType(DWORD form, LPOLESTR* type) {
  if (type == nullptr) return E_POINTER;
  return OleRegGetUserType(kClsidVoxa, form, type);
}

HRESULT VoxaControl::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (size == nullptr) return E_POINTER;
  if (size->cx != extent_.cx || size->cy != extent_.cy) dirty_ = true;
  extent_ = *size;
  return S_OK;
}

HRESULT VoxaControl::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return E_FAIL;
  if (size == nullptr) return E_POINTER;
  *size = extent_;
  return S_OK;
}

HRESULT VoxaControl::Advise(IAdviseSink* sink, DWORD* connection) {
  if (connection == nullptr) return E_POINTER;
  *connection = 0;
  if (!oleAdviseHolder_) {
    HRESULT result = CreateOleAdviseHolder(oleAdviseHolder_.GetAddressOf());
    if (FAILED(result)) return result;
  }
  return oleAdviseHolder_->Advise(sink, connection);
}

HRESULT VoxaControl::Unadvise(DWORD connection) {
  return oleAdviseHolder_ ? oleAdviseHolder_->Unadvise(connection) : OLE_E_NOCONNECTION;
}

HRESULT VoxaControl::EnumAdvise(IEnumSTATDATA** advises) {
  if (advises == nullptr) return E_POINTER;
  *advises = nullptr;
  return oleAdviseHolder_ ? oleAdviseHolder_->EnumAdvise(advises) : E_FAIL;
}

// As registered: the content aspect has its flags, every other aspect none.
HRESULT VoxaControl::GetMiscStatus(DWORD aspect, DWORD* status) {
  if (status == nullptr) return E_POINTER;
  *status = aspect == DVASPECT_CONTENT ? kMiscStatus : 0;
  return S_OK;
}

HRESULT VoxaControl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

HRESULT VoxaControl::QuickActivate(QACONTAINER* container, QACONTROL* control) {
  if (container == nullptr || control == nullptr) return E_POINTER;
  if (container->cbSize < sizeof(QACONTAINER) || control->cbSize < sizeof(QACONTROL)) return E_INVALIDARG;
  clientSite_ = container->pClientSite;
  if (container->pAdviseSink != nullptr) SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
  control->dwEventCookie = 0;
  if (container->pUnkEventSink != nullptr) events_.Advise(container->pUnkEventSink, &control->dwEventCookie);
  control->dwMiscStatus = kMiscStatus;
  control->dwViewStatus = kViewStatus;
  control->dwPropNotifyCookie = 0;
  control->dwPointerActivationPolicy = 0;
  return S_OK;
}

HRESULT VoxaControl::SetContentExtent(LPSIZEL size) { return SetExtent(DVASPECT_CONTENT, size); }

HRESULT VoxaControl::GetContentExtent(LPSIZEL size) { return GetExtent(DVASPECT_CONTENT, size); }

HRESULT VoxaControl::GetViewStatus(DWORD* status) {
  if (status == nullptr) return E_POINTER;
  *status = kViewStatus;
  return S_OK;
}

}  // namespace ravix
