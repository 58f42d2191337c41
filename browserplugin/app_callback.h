// The object each launched component calls back through: it collects the
// component's parameters and runs its commands on the owner's panel.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include "kebo_component.h"
#include "pair_list.h"
#include "plugin_state.h"

namespace npvlx {

struct Instance;

class AppCallback final : public IAppCallback {
 public:
  AppCallback(InstanceRef owner, long applicationId) : owner_(owner), applicationId_(applicationId) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IAppCallback
  HRESULT STDMETHODCALLTYPE ExecuteCmd(BSTR command) override;
  HRESULT STDMETHODCALLTYPE SetParam(BSTR name, BSTR value) override;
  HRESULT STDMETHODCALLTYPE GetParam(BSTR name, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE RemoveApp() override;

  void setComponent(IAppComponent* component) { component_ = component; }
  IAppComponent* component() const { return component_.Get(); }
  void setCookie(long cookie) { cookie_ = cookie; }
  long cookie() const { return cookie_; }
  long applicationId() const { return applicationId_; }
  kebo::PairList& parameters() { return parameters_; }
  // The owner went away, or removed the component: later calls are refused.
  void detach();

 private:
  ~AppCallback() = default;

  LONG references_ = 1;
  InstanceRef owner_;
  Microsoft::WRL::ComPtr<IAppComponent> component_;
  long applicationId_;
  long cookie_ = 0;
  kebo::PairList parameters_{kebo::kParamSeparator};
};

}  // namespace npvlx
