// The control's picture: the draw routine, and the view and data objects
// that end in it.
#include "voxa_control.h"

namespace ravix {

// Draws nothing: the machine paints the window. Asks for its own activation
// and tells the site that its keyboard information may have changed.
HRESULT VoxaControl::drawRoutine(HDC, const RECT&) {
  inPlaceActivate(OLEIVERB_UIACTIVATE, nullptr);
  if (ComPtr<IOleControlSite> site = controlSite()) site->OnControlInfoChanged();
  return S_OK;
}

HRESULT VoxaControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC drawDc, LPCRECTL bounds, LPCRECTL,
                          BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (drawDc == nullptr) return E_INVALIDARG;
  RECT area{};
  if (bounds != nullptr) {
    area = {bounds->left, bounds->top, bounds->right, bounds->bottom};
  } else if (window_ != nullptr) {
    GetClientRect(window_, &area);
  }
  return drawRoutine(drawDc, area);
}

HRESULT VoxaControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colours) {
  if (colours != nullptr) *colours = nullptr;
  return E_NOTIMPL;
}

HRESULT VoxaControl::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }

HRESULT VoxaControl::Unfreeze(DWORD) { return E_NOTIMPL; }

HRESULT VoxaControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  viewSink_ = sink;
  viewAdviseAspects_ = aspects;
  viewAdviseFlags_ = flags;
  return S_OK;
}

HRESULT VoxaControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects != nullptr) *aspects = viewAdviseAspects_;
  if (flags != nullptr) *flags = viewAdviseFlags_;
  if (sink != nullptr) {
    *sink = viewSink_.Get();
    if (*sink != nullptr) (*sink)->AddRef();
  }
  return S_OK;
}

HRESULT VoxaControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  return GetExtent(aspect, size);
}

HRESULT VoxaControl::GetRect(DWORD, LPRECTL) { return E_NOTIMPL; }

HRESULT VoxaControl::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT point, LONG, DWORD* hit) {
  if (bounds == nullptr || hit == nullptr) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return E_FAIL;
  *hit = PtInRect(bounds, point) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}

HRESULT VoxaControl::QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT rect, LONG, DWORD* hit) {
  if (bounds == nullptr || rect == nullptr || hit == nullptr) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return E_FAIL;
  RECT common;
  *hit = IntersectRect(&common, bounds, rect) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}

HRESULT VoxaControl::GetNaturalExtent(DWORD aspect, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO* info, LPSIZEL size) {
  if (info == nullptr || size == nullptr) return E_POINTER;
  if (aspect != DVASPECT_CONTENT || info->dwExtentMode != DVEXTENT_CONTENT) return E_NOTIMPL;
  *size = extent_;
  return S_OK;
}

// A metafile of the control's extent, drawn by the draw routine.
HRESULT VoxaControl::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (format == nullptr || medium == nullptr) return E_POINTER;
  if (format->cfFormat != CF_METAFILEPICT || !(format->tymed & TYMED_MFPICT) ||
      format->dwAspect != DVASPECT_CONTENT) {
    return DV_E_FORMATETC;
  }
  HDC dc = CreateMetaFileA(nullptr);
  if (dc == nullptr) return E_OUTOFMEMORY;
  // Logical units of the metafile: HIMETRIC, as the picture's extent.
  RECT bounds{0, 0, extent_.cx, extent_.cy};
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetWindowExtEx(dc, extent_.cx, extent_.cy, nullptr);
  drawRoutine(dc, bounds);
  HMETAFILE metafile = CloseMetaFile(dc);
  if (metafile == nullptr) return E_OUTOFMEMORY;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, sizeof(METAFILEPICT));
  auto* picture = memory != nullptr ? static_cast<METAFILEPICT*>(GlobalLock(memory)) : nullptr;
  if (picture == nullptr) {
    if (memory != nullptr) GlobalFree(memory);
    DeleteMetaFile(metafile);
    return E_OUTOFMEMORY;
  }
  picture->mm = MM_ANISOTROPIC;
  picture->xExt = extent_.cx;
  picture->yExt = extent_.cy;
  picture->hMF = metafile;
  GlobalUnlock(memory);
  medium->tymed = TYMED_MFPICT;
  medium->hMetaFilePict = memory;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

HRESULT VoxaControl::GetDataHere(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }

HRESULT VoxaControl::QueryGetData(FORMATETC*) { return E_NOTIMPL; }

HRESULT VoxaControl::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* canonical) {
  if (canonical != nullptr) canonical->ptd = nullptr;
  return E_NOTIMPL;
}

HRESULT VoxaControl::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }

HRESULT VoxaControl::EnumFormatEtc(DWORD, IEnumFORMATETC** formats) {
  if (formats != nullptr) *formats = nullptr;
  return E_NOTIMPL;
}

HRESULT VoxaControl::DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) {
  if (connection == nullptr) return E_POINTER;
  *connection = 0;
  if (!dataAdviseHolder_) {
    HRESULT result = CreateDataAdviseHolder(dataAdviseHolder_.GetAddressOf());
    if (FAILED(result)) return result;
  }
  return dataAdviseHolder_->Advise(this, format, flags, sink, connection);
}

HRESULT VoxaControl::DUnadvise(DWORD connection) {
  return dataAdviseHolder_ ? dataAdviseHolder_->Unadvise(connection) : OLE_E_NOCONNECTION;
}

HRESULT VoxaControl::EnumDAdvise(IEnumSTATDATA** advises) {
  if (advises == nullptr) return E_POINTER;
  *advises = nullptr;
  return dataAdviseHolder_ ? dataAdviseHolder_->EnumAdvise(advises) : E_FAIL;
}

}  // namespace ravix
