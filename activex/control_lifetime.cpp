// Creation, identity and destruction of the Voxa control.
#include <new>

#include "com_boundary.h"
#include "machine_binding.h"
#include "voxa_control.h"

namespace ravix {

HRESULT VoxaControl::create(IUnknown* outer, REFIID iid, void** out) {
  VoxaControl* control = nullptr;
  HRESULT made = guarded([&] {
    control = new VoxaControl(outer);
    return S_OK;
  });
  if (FAILED(made)) return made;
  // The reference held during creation; dropping it destroys the object
  // when the marshaler or the interface cannot be had.
  control->inner_.AddRef();
  HRESULT result = CoCreateFreeThreadedMarshaler(control->outer_, control->freeThreadedMarshaler_.GetAddressOf());
  if (SUCCEEDED(result)) result = control->inner_.QueryInterface(iid, out);
  control->inner_.Release();
  return result;
}

VoxaControl::VoxaControl(IUnknown* outer)
    : outer_(outer != nullptr ? outer : &inner_), events_(*this, kDiidVoxaEvents) {
  LoadMachineLibrary();
}

VoxaControl::~VoxaControl() {
  if (launched_) {
    machine.machineRunning = false;
    if (machine.endMachine != nullptr) machine.endMachine(0);
  }
  // Whether it launched or not: the machine's callbacks must not reach a
  // control that is gone.
  if (machine.currentControl == this) machine.currentControl = nullptr;
  if (parentWindow_ != nullptr) SetWindowLongA(parentWindow_, GWL_WNDPROC, savedParentProc_);
  events_.disconnectAll();
  if (window_ != nullptr) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

HRESULT VoxaControl::InnerUnknown::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IUnknown)) {
    // Aggregated, the inner unknown is what the outer object keeps; alone,
    // the object's identity is its IVoxa pointer.
    if (control_.outer_ != this) {
      *out = static_cast<IUnknown*>(this);
    } else {
      *out = static_cast<IVoxa*>(&control_);
    }
    AddRef();
    return S_OK;
  }
  return control_.queryOwnInterface(iid, out);
}

ULONG VoxaControl::InnerUnknown::AddRef() { return InterlockedIncrement(&control_.references_); }

ULONG VoxaControl::InnerUnknown::Release() {
  LONG left = InterlockedDecrement(&control_.references_);
  if (left != 0) return left;
  // Kept high while the object is taken apart, so that a reference taken and
  // dropped on the way does not destroy it twice.
  control_.references_ = 1 << 30;
  // The marshaler goes first: aggregated on this object, it must not
  // outlive it.
  control_.freeThreadedMarshaler_.Reset();
  delete &control_;
  return 0;
}

HRESULT VoxaControl::QueryInterface(REFIID iid, void** out) { return outer_->QueryInterface(iid, out); }
ULONG VoxaControl::AddRef() { return outer_->AddRef(); }
ULONG VoxaControl::Release() { return outer_->Release(); }

HRESULT VoxaControl::queryOwnInterface(REFIID iid, void** out) {
  IUnknown* found = nullptr;
  if (IsEqualIID(iid, kIidVoxa) || IsEqualIID(iid, IID_IDispatch)) {
    found = static_cast<IVoxa*>(this);
  } else if (IsEqualIID(iid, IID_IProvideClassInfo) || IsEqualIID(iid, IID_IProvideClassInfo2)) {
    found = static_cast<IProvideClassInfo2*>(this);
  } else if (IsEqualIID(iid, IID_IPersistStreamInit)) {
    found = static_cast<IPersistStreamInit*>(this);
  } else if (IsEqualIID(iid, IID_IPersistStorage)) {
    found = static_cast<IPersistStorage*>(this);
  } else if (IsEqualIID(iid, IID_IQuickActivate)) {
    found = static_cast<IQuickActivate*>(this);
  } else if (IsEqualIID(iid, IID_IOleControl)) {
    found = static_cast<IOleControl*>(this);
  } else if (IsEqualIID(iid, IID_IOleObject)) {
    found = static_cast<IOleObject*>(this);
  } else if (IsEqualIID(iid, IID_IOleInPlaceActiveObject)) {
    found = static_cast<IOleInPlaceActiveObject*>(this);
  } else if (IsEqualIID(iid, IID_IViewObject) || IsEqualIID(iid, IID_IViewObject2) ||
             IsEqualIID(iid, IID_IViewObjectEx)) {
    found = static_cast<IViewObjectEx*>(this);
  } else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject) ||
             IsEqualIID(iid, IID_IOleInPlaceObjectWindowless)) {
    found = static_cast<IOleInPlaceObjectWindowless*>(this);
  } else if (IsEqualIID(iid, IID_IDataObject)) {
    found = static_cast<IDataObject*>(this);
  } else if (IsEqualIID(iid, IID_ISpecifyPropertyPages)) {
    found = static_cast<ISpecifyPropertyPages*>(this);
  } else if (IsEqualIID(iid, IID_IConnectionPointContainer)) {
    found = static_cast<IConnectionPointContainer*>(this);
  } else if (IsEqualIID(iid, IID_IObjectSafety)) {
    found = static_cast<IObjectSafety*>(this);
  } else if (IsEqualIID(iid, IID_IMarshal)) {
    // The marshaler answers for itself; its references count on this object.
    return freeThreadedMarshaler_ ? freeThreadedMarshaler_->QueryInterface(iid, out) : E_NOINTERFACE;
  }
  if (found == nullptr) return E_NOINTERFACE;
  found->AddRef();
  *out = found;
  return S_OK;
}

}  // namespace ravix
