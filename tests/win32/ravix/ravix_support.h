// What the Ravix tests share: a folder with copies of Ravix.dll and of the
// machine double tolvane.dll, the Voxa environment's registry entry that
// points at it, a robot that answers message boxes, and an event sink that
// records what the control raises.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <functional>
#include <string>
#include <vector>

#include "activex/ravix_ids.h"
#include "common/win32/dialog_robot.h"
#include "common/win32/handles.h"

namespace ravix_test {

using Microsoft::WRL::ComPtr;

// The test folder (made once per process): Ravix.dll, Ravix.tlb's bytes as
// the DLL carries them, and "Voxa\tolvane.dll".
struct TestFolder {
  std::string root;            // ends in '\'
  std::string ravixPath;       // root + "Ravix.dll"
  std::string machineFolder;   // root + "Voxa\"
};
const TestFolder& testFolder();

// Set for a copy of the control tests started by a test: it uses the
// class as registered instead of registering its own folder's DLL.
inline constexpr const char* kUseRegisteredClass = "RAVIX_TEST_USE_REGISTERED";

// Writes the shell's open command for Voxa application files.
void setMachineCommand(const std::string& command);
void removeMachineCommand();
// The usual command: the machine's program in the test folder, quoted.
std::string standardMachineCommand();

// A registry value as text ("<missing>" when absent, "<key missing>" when the
// key is not there); name empty for the default value.
std::string registryValue(HKEY root, const std::string& key, const std::string& name = "");
bool registryKeyExists(HKEY root, const std::string& key);
std::string guidText(const GUID& guid);

// One message box the robot answered.
struct Box {
  std::string title;
  std::string text;
  HWND owner = nullptr;
};

// Answers every message box of this process with OK while it lives.
class BoxRobot {
 public:
  BoxRobot();
  ~BoxRobot();
  BoxRobot(const BoxRobot&) = delete;
  BoxRobot& operator=(const BoxRobot&) = delete;
  std::vector<Box> boxes();

 private:
  bool answer(HWND window);
  win::Lock lock_;
  std::vector<Box> boxes_;
  win::DialogRobot robot_;  // last: its thread starts once the rest is made
};

// One event as the sink received it.
struct Event {
  DISPID id = 0;
  VARTYPE type = VT_EMPTY;
  std::string text;  // Message: the text behind the reference
  LONG number = 0;   // EndMachine: the VT_I4 value
  UINT arguments = 0;
  UINT namedArguments = 0;
  LCID locale = 0;
  WORD flags = 0;
};

// An event sink for _VOXAEvents that records each call.
class RecordingSink final : public IDispatch {
 public:
  std::vector<Event> events;
  std::function<void()> onEvent;  // called after each event is recorded
  std::vector<DISPID> ids() const;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override { return InterlockedDecrement(&references_); }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID locale, WORD flags, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*) override;

 private:
  LONG references_ = 1;  // lives on the test's stack
};

// A new control through CoCreateInstance, and its sink connection.
ComPtr<IVoxa> createControl();
DWORD connect(IUnknown* control, RecordingSink& sink);

// A BSTR variable the control reads through its pointer.
class BstrVariable {
 public:
  explicit BstrVariable(const char* text);
  ~BstrVariable() { SysFreeString(value_); }
  BSTR* get() { return &value_; }

 private:
  BSTR value_ = nullptr;
};

std::vector<std::string> readLines(const std::string& path);

struct RunResult {
  int exitCode = -1;   // -1: could not start; -2: ended by the test after the timeout
  std::string output;  // stdout and stderr, without CRs
};
// Runs a program and waits for its end, its output going to a file: the
// system's own processes started on the way must not hold a pipe open.
RunResult runProgram(const std::string& commandLine, DWORD timeoutMs = 60000);

}  // namespace ravix_test
