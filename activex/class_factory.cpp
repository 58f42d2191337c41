#include "class_factory.h"

#include <unknwn.h>

#include "module.h"
#include "voxa_control.h"

namespace ravix {

namespace {

// One static factory; each reference to it holds a lock on the module.
class VoxaClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    lockModule();
    return 2;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    unlockModule();
    return 1;
  }

  // With an outer unknown the control is created in its aggregatable form,
  // and then only its inner unknown may be asked for.
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    return VoxaControl::create(outer, iid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) {
      lockModule();
    } else {
      unlockModule();
    }
    return S_OK;
  }
};

VoxaClassFactory factory;

}  // namespace

HRESULT getVoxaClassFactory(REFIID iid, void** out) { return factory.QueryInterface(iid, out); }

}  // namespace ravix
