// The Kebo component double: an IAppComponent that writes every call it
// gets to a log file beside its module ("<module>.log") and, told so by a
// command, calls back through the plug-in's IAppCallback. Commands:
//   CALL NAME|KEY=VALUE|...   SetParam each pair, then ExecuteCmd(NAME)
//   REMOVE                    RemoveApp()
//   GETPARAM KEY              GetParam(KEY)
// Anything else is only logged.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <string>

#include "kebo_component.h"

namespace kebocomponent {

// Objects alive in this module; the local server ends when the last goes.
extern LONG liveObjects;
void writeLog(const std::string& line);

class TestComponent final : public IAppComponent {
 public:
  TestComponent();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE Command(BSTR command) override;
  HRESULT STDMETHODCALLTYPE SetParam(BSTR name, BSTR value) override;
  HRESULT STDMETHODCALLTYPE GetState(BSTR* state) override;
  HRESULT STDMETHODCALLTYPE Advise(IAppCallback* callback, long* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(long cookie) override;
  HRESULT STDMETHODCALLTYPE Terminate() override;

 private:
  ~TestComponent();
  void callBack(const std::string& command);

  LONG references_ = 1;
  Microsoft::WRL::ComPtr<IAppCallback> callback_;
};

// The class object of TestComponent.
class ComponentFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;
};

}  // namespace kebocomponent
