#include "ravix_support.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "common/win32/bstr_ansi.h"
#include "common/win32/process_run.h"
#include "common/win32/registry_tree.h"
#include "machine_binding.h"

namespace ravix_test {

namespace {

// A program built beside the test program, found by the search that starts
// in the program's own folder (that folder has no drive letter under Wine).
std::string builtFile(const char* name) {
  char path[MAX_PATH] = {};
  SearchPathA(nullptr, name, nullptr, sizeof path, path, nullptr);
  return path;
}

TestFolder makeTestFolder() {
  TestFolder folder;
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  folder.root = std::string(temp) + "ravix" + std::to_string(GetCurrentProcessId()) + "\\";
  folder.ravixPath = folder.root + "Ravix.dll";
  folder.machineFolder = folder.root + "Voxa\\";
  CreateDirectoryA(folder.root.c_str(), nullptr);
  CreateDirectoryA(folder.machineFolder.c_str(), nullptr);
  CopyFileA(builtFile("Ravix.dll").c_str(), folder.ravixPath.c_str(), FALSE);
  CopyFileA(builtFile("tolvane.dll").c_str(), (folder.machineFolder + "tolvane.dll").c_str(), FALSE);
  return folder;
}

}  // namespace

const TestFolder& testFolder() {
  static TestFolder folder = makeTestFolder();
  return folder;
}

void setMachineCommand(const std::string& command) {
  RegSetValueA(HKEY_CLASSES_ROOT, ravix::kMachineCommandKey, REG_SZ, command.c_str(),
               static_cast<DWORD>(command.size()));
}

void removeMachineCommand() { win::deleteRegistryTree(HKEY_CLASSES_ROOT, "vxm_auto_file"); }

std::string standardMachineCommand() { return "\"" + testFolder().machineFolder + "voxa.exe\" \"%1\""; }

std::string registryValue(HKEY root, const std::string& key, const std::string& name) {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return "<key missing>";
  win::UniqueRegKey opened(raw);
  char value[2048] = {};
  DWORD size = sizeof value - 1;
  DWORD type = 0;
  if (RegQueryValueExA(opened.get(), name.empty() ? nullptr : name.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS) {
    return "<missing>";
  }
  return value;
}

bool registryKeyExists(HKEY root, const std::string& key) {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return false;
  RegCloseKey(raw);
  return true;
}

std::string guidText(const GUID& guid) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", guid.Data1, guid.Data2,
                guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                guid.Data4[6], guid.Data4[7]);
  return text;
}

BoxRobot::BoxRobot()
    : robot_(GetCurrentProcessId(), [this](HWND window) { return answer(window); }) {}

BoxRobot::~BoxRobot() { robot_.stop(); }

std::vector<Box> BoxRobot::boxes() {
  win::LockHolder hold(lock_);
  return boxes_;
}

// Answers a message box of this process; other dialogs are passed over.
bool BoxRobot::answer(HWND window) {
  HWND text = GetDlgItem(window, 0xFFFF);
  if (text == nullptr) return false;
  win::LockHolder hold(lock_);
  Box box;
  char buffer[512] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  box.title = buffer;
  GetWindowTextA(text, buffer, sizeof buffer);
  box.text = buffer;
  box.owner = GetWindow(window, GW_OWNER);
  boxes_.push_back(box);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
  return true;
}

std::vector<DISPID> RecordingSink::ids() const {
  std::vector<DISPID> found;
  for (const auto& event : events) found.push_back(event.id);
  return found;
}

HRESULT RecordingSink::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) && !IsEqualIID(iid, ravix::kDiidVoxaEvents)) {
    return E_NOINTERFACE;
  }
  *out = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

HRESULT RecordingSink::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}

HRESULT RecordingSink::Invoke(DISPID id, REFIID, LCID locale, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                              UINT*) {
  Event event;
  event.id = id;
  event.locale = locale;
  event.flags = flags;
  event.arguments = params->cArgs;
  event.namedArguments = params->cNamedArgs;
  if (params->cArgs > 0) {
    VARIANT& argument = params->rgvarg[0];
    event.type = V_VT(&argument);
    if (V_VT(&argument) == (VT_BYREF | VT_BSTR)) event.text = win::bstrToAnsi(*V_BSTRREF(&argument));
    if (V_VT(&argument) == VT_I4) event.number = V_I4(&argument);
  }
  events.push_back(event);
  if (onEvent) onEvent();
  return S_OK;
}

ComPtr<IVoxa> createControl() {
  ComPtr<IVoxa> control;
  CoCreateInstance(ravix::kClsidVoxa, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IVoxa),
                   reinterpret_cast<void**>(control.GetAddressOf()));
  return control;
}

DWORD connect(IUnknown* control, RecordingSink& sink) {
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> point;
  DWORD cookie = 0;
  if (SUCCEEDED(control->QueryInterface(IID_PPV_ARGS(&container))) &&
      SUCCEEDED(container->FindConnectionPoint(ravix::kDiidVoxaEvents, &point))) {
    point->Advise(&sink, &cookie);
  }
  return cookie;
}

BstrVariable::BstrVariable(const char* text) {
  if (text != nullptr) value_ = win::ansiToBstr(text).release();
}

std::vector<std::string> readLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

RunResult runProgram(const std::string& commandLine, DWORD timeoutMs) {
  static int counter = 0;
  std::string outputPath = testFolder().root + "output" + std::to_string(++counter) + ".txt";
  win::ProcessRun run =
      win::runWithOutputFile(commandLine, outputPath, testFolder().root.c_str(), timeoutMs);
  RunResult result;
  if (!run.started) return result;
  result.exitCode = run.finished ? run.exitCode : -2;
  for (char c : run.output) {
    if (c != '\r') result.output += c;
  }
  return result;
}

}  // namespace ravix_test
