#include "app_callback.h"

#include "common/win32/bstr_ansi.h"
#include "diagnostics.h"
#include "np_boundary.h"
#include "instance.h"
#include "operations.h"
#include "plugin_state.h"
#include "plugin_texts.h"

namespace npvlx {

HRESULT AppCallback::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid != IID_IUnknown && iid != IID_IAppCallback) return E_NOINTERFACE;
  *object = static_cast<IAppCallback*>(this);
  AddRef();
  return S_OK;
}

ULONG AppCallback::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG AppCallback::Release() {
  LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT AppCallback::ExecuteCmd(BSTR command) {
  const HRESULT result = guarded(E_OUTOFMEMORY, [&] {
    if (!isLive(owner_)) {
      diagnostic(texts::kBadOwner);
      return S_FALSE;
    }
    Microsoft::WRL::ComPtr<AppCallback> keepAlive(this);
    executeComponentCommand(*owner_.instance, *this, win::bstrToAnsi(command));
    parameters_.clear();
    return S_OK;
  });
  // A command that failed half-way leaves no parameters for the next one.
  if (result == E_OUTOFMEMORY) parameters_.clear();
  return result;
}

HRESULT AppCallback::SetParam(BSTR name, BSTR value) {
  return guarded(E_OUTOFMEMORY, [&] {
    parameters_.set(win::bstrToAnsi(name), win::bstrToAnsi(value));
    return S_OK;
  });
}

HRESULT AppCallback::GetParam(BSTR, BSTR* value) {
  if (value) *value = nullptr;
  return S_OK;
}

HRESULT AppCallback::RemoveApp() {
  Microsoft::WRL::ComPtr<AppCallback> keepAlive(this);
  return guarded(E_OUTOFMEMORY, [&] {
    if (isLive(owner_)) {
      auto& list = owner_.instance->components;
      for (auto it = list.begin(); it != list.end(); ++it) {
        if (it->callback.Get() == this) {
          list.erase(it);
          // A removed component no longer commands the panel.
          detach();
          return S_OK;
        }
      }
    }
    diagnostic(texts::kBadCallback, static_cast<long>(reinterpret_cast<LONG_PTR>(this)));
    return S_FALSE;
  });
}

void AppCallback::detach() {
  owner_ = {};
  component_.Reset();
}

}  // namespace npvlx
