#include "test_component.h"

#include <cstdio>

#include "common/win32/bstr_ansi.h"
#include "common/win32/handles.h"

namespace kebocomponent {

LONG liveObjects = 0;

namespace {

HMODULE thisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&thisModule), &module);
  return module;
}

std::string hex(HRESULT hr) {
  char text[16];
  snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

}  // namespace

void writeLog(const std::string& line) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(thisModule(), path, MAX_PATH - 5);
  if (length == 0) return;
  strcpy(path + length, ".log");
  auto file = win::adoptFileHandle(CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

TestComponent::TestComponent() {
  InterlockedIncrement(&liveObjects);
  writeLog("Created");
}

TestComponent::~TestComponent() {
  writeLog("Released");
  InterlockedDecrement(&liveObjects);
}

HRESULT TestComponent::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid != IID_IUnknown && iid != IID_IAppComponent) return E_NOINTERFACE;
  *object = static_cast<IAppComponent*>(this);
  AddRef();
  return S_OK;
}

ULONG TestComponent::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG TestComponent::Release() {
  LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT TestComponent::Command(BSTR command) {
  // The plug-in may let go of this component while it calls back.
  Microsoft::WRL::ComPtr<IAppComponent> keepAlive(this);
  std::string text = win::bstrToAnsi(command);
  writeLog("Command " + text);
  if (callback_) callBack(text);
  return S_OK;
}

void TestComponent::callBack(const std::string& text) {
  if (text == "REMOVE") {
    writeLog("RemoveApp -> " + hex(callback_->RemoveApp()));
  } else if (text.rfind("GETPARAM ", 0) == 0) {
    BSTR value = reinterpret_cast<BSTR>(1);
    auto name = win::ansiToBstr(text.substr(9));
    HRESULT hr = callback_->GetParam(name.get(), &value);
    writeLog("GetParam -> " + hex(hr) + (value ? " value" : " null"));
    if (value && value != reinterpret_cast<BSTR>(1)) SysFreeString(value);
  } else if (text.rfind("CALL ", 0) == 0) {
    std::string rest = text.substr(5);
    std::size_t bar = rest.find('|');
    std::string name = rest.substr(0, bar);
    while (bar != std::string::npos) {
      std::size_t next = rest.find('|', bar + 1);
      std::string pair = rest.substr(bar + 1, next == std::string::npos ? std::string::npos : next - bar - 1);
      std::size_t equals = pair.find('=');
      auto key = win::ansiToBstr(pair.substr(0, equals));
      auto value = win::ansiToBstr(equals == std::string::npos ? "" : pair.substr(equals + 1));
      callback_->SetParam(key.get(), value.get());
      bar = next;
    }
    auto command = win::ansiToBstr(name);
    writeLog("ExecuteCmd " + name + " -> " + hex(callback_->ExecuteCmd(command.get())));
  }
}

HRESULT TestComponent::SetParam(BSTR name, BSTR value) {
  writeLog("SetParam " + win::bstrToAnsi(name) + "=" + win::bstrToAnsi(value));
  return S_OK;
}

HRESULT TestComponent::GetState(BSTR* state) {
  if (!state) return E_POINTER;
  *state = SysAllocString(L"ready");
  return S_OK;
}

HRESULT TestComponent::Advise(IAppCallback* callback, long* cookie) {
  writeLog("Advise");
  callback_ = callback;
  if (cookie) *cookie = 7;
  return S_OK;
}

HRESULT TestComponent::Unadvise(long cookie) {
  writeLog("Unadvise " + std::to_string(cookie));
  callback_.Reset();
  return S_OK;
}

HRESULT TestComponent::Terminate() {
  writeLog("Terminate");
  return S_OK;
}

HRESULT ComponentFactory::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
  *object = static_cast<IClassFactory*>(this);
  return S_OK;
}

HRESULT ComponentFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  auto* component = new (std::nothrow) TestComponent();
  if (!component) return E_OUTOFMEMORY;
  HRESULT hr = component->QueryInterface(iid, object);
  component->Release();
  return hr;
}

HRESULT ComponentFactory::LockServer(BOOL lock) {
  if (lock) {
    InterlockedIncrement(&liveObjects);
  } else {
    InterlockedDecrement(&liveObjects);
  }
  return S_OK;
}

}  // namespace kebocomponent
