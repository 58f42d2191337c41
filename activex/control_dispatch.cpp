// IVoxa and its IDispatch through the type library, the class information,
// and the control's two events.
#include <vector>

#include "com_boundary.h"
#include "common/win32/bstr_ansi.h"
#include "machine_binding.h"
#include "voxa_control.h"

namespace ravix {

namespace {

// The text a BSTR* input points at, in the ANSI code page; false for a null
// BSTR (or a null pointer), which the machine receives as a null pointer.
bool readInput(BSTR* input, std::string& text) {
  if (input == nullptr || *input == nullptr) return false;
  text = win::bstrToAnsi(*input);
  return true;
}

}  // namespace

HRESULT VoxaControl::typeLibrary(ITypeLib** library) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(moduleInstance(), path, MAX_PATH);
  return LoadTypeLibEx(path, REGKIND_NONE, library);
}

HRESULT VoxaControl::dispatchTypeInfo(ITypeInfo** info) {
  *info = nullptr;
  if (!dispatchInfo_) {
    ComPtr<ITypeLib> library;
    HRESULT result = typeLibrary(library.GetAddressOf());
    if (FAILED(result)) return result;
    result = library->GetTypeInfoOfGuid(kIidVoxa, dispatchInfo_.GetAddressOf());
    if (FAILED(result)) return result;
  }
  *info = dispatchInfo_.Get();
  (*info)->AddRef();
  return S_OK;
}

HRESULT VoxaControl::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT VoxaControl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  return dispatchTypeInfo(info);
}

HRESULT VoxaControl::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  ComPtr<ITypeInfo> info;
  HRESULT result = dispatchTypeInfo(info.GetAddressOf());
  if (FAILED(result)) return result;
  return info->GetIDsOfNames(names, count, ids);
}

HRESULT VoxaControl::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                            EXCEPINFO* exception, UINT* argumentError) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  ComPtr<ITypeInfo> info;
  HRESULT found = dispatchTypeInfo(info.GetAddressOf());
  if (FAILED(found)) return found;
  return info->Invoke(static_cast<IVoxa*>(this), id, flags, params, result, exception, argumentError);
}

HRESULT VoxaControl::GetClassInfo(ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  ComPtr<ITypeLib> library;
  HRESULT result = typeLibrary(library.GetAddressOf());
  if (FAILED(result)) return result;
  return library->GetTypeInfoOfGuid(kClsidVoxa, info);
}

HRESULT VoxaControl::GetGUID(DWORD kind, GUID* guid) {
  if (guid == nullptr) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
    *guid = GUID_NULL;
    return E_FAIL;
  }
  *guid = kDiidVoxaEvents;
  return S_OK;
}

HRESULT VoxaControl::About() { return S_OK; }

namespace {

// The outcome also as the result a script sees: S_FALSE reaches a script
// host as a success, so the HRESULT alone would not tell it apart.
HRESULT answer(long* result, HRESULT outcome) {
  if (result != nullptr) *result = outcome;
  return outcome;
}

}  // namespace

HRESULT VoxaControl::LaunchMachine(BSTR* CmdLine, long CmdShow, long MemSize, long* result) {
  return answer(result, guarded([&] { return launch(CmdLine, CmdShow, MemSize); }));
}

HRESULT VoxaControl::launch(BSTR* CmdLine, long CmdShow, long MemSize) {
  if (machine.machineRunning || machine.winMain == nullptr) return S_FALSE;
  std::string commandLine;
  bool hasCommandLine = readInput(CmdLine, commandLine);
  machine.currentControl = this;
  raiseEndMachine();
  int started = machine.winMain(0, 0, hasCommandLine ? commandLine.c_str() : nullptr, CmdShow, 0, MemSize, window_,
                                MachineMessageCallback);
  if (started == 0) {
    machine.machineRunning = false;
    return S_FALSE;
  }
  machine.machineRunning = true;
  launched_ = true;
  if (machine.setEndCallback != nullptr) machine.setEndCallback(MachineEndCallback);
  raiseEndMachine();
  parentWindow_ = window_ != nullptr ? GetParent(window_) : nullptr;
  if (parentWindow_ != nullptr) savedParentProc_ = GetWindowLongA(parentWindow_, GWL_WNDPROC);
  return S_OK;
}

HRESULT VoxaControl::SendMessage(BSTR* msg, long* result) {
  if (!machine.machineRunning || machine.sendMessage == nullptr) return answer(result, S_FALSE);
  return answer(result, guarded([&] {
    std::string text;
    bool hasText = readInput(msg, text);
    return static_cast<HRESULT>(machine.sendMessage(hasText ? text.c_str() : nullptr));
  }));
}

void VoxaControl::raiseEvent(DISPID id, VARIANT& argument) {
  // Taken before the calls: a sink may disconnect, or the last reference to
  // the control may be dropped, while the event is being raised.
  ComPtr<IUnknown> keepAlive(outer_);
  DISPPARAMS params{&argument, nullptr, 1, 0};
  for (const auto& sink : events_.sinks()) {
    sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
  }
}

void VoxaControl::raiseMessage(const std::string& text) {
  BSTR message = win::ansiToBstr(text).release();
  VARIANT argument;
  VariantInit(&argument);
  V_VT(&argument) = VT_BYREF | VT_BSTR;
  V_BSTRREF(&argument) = &message;
  raiseEvent(kDispidMessage, argument);
  // Whatever the sinks left in the variable is freed.
  SysFreeString(message);
}

void VoxaControl::raiseEndMachine() {
  VARIANT argument;
  VariantInit(&argument);
  V_VT(&argument) = VT_I4;
  V_I4(&argument) = 16;
  raiseEvent(kDispidEndMachine, argument);
}

}  // namespace ravix
