// Register and Unregister (a DLL's own registration exports) and the font
// resource commands.
#include <windows.h>

#include "argument_text.h"
#include "common/win32/handles.h"
#include "paths.h"
#include "system_commands.h"

namespace setup::win32 {

namespace {

constexpr const char* kCannotLoad = "Unable to register the file %s.\n(Cannot load the DLL.)";
constexpr const char* kNoRegisterExport =
    "Unable to register the file %s.\n(The DLL cannot be selfregistered.)";
constexpr const char* kNoUnregisterExport =
    "Unable to unregister the file %s.\n(The DLL cannot be selfunregistered.)";

using RegistrationExport = HRESULT(STDAPICALLTYPE*)();

void selfRegister(Interpreter& in, const std::string& path, const char* exportName,
                  const char* noExportMessage) {
  win::UniqueModule library(LoadLibraryA(path.c_str()));
  if (!library) {
    in.ShowError(kCannotLoad, path.c_str());
    return;
  }
  auto entry = reinterpret_cast<RegistrationExport>(
      reinterpret_cast<void*>(GetProcAddress(library.get(), exportName)));
  if (entry == nullptr) {
    in.ShowError(noExportMessage, path.c_str());
    return;
  }
  entry();
}

}  // namespace

void Register(Interpreter& in, const CommandCall& call) {
  Value path = joinPath(in.variable("DSTDIR"), call.value1);
  in.SetStatusText(call.window, kStatusLine, "Registering file\n%s", textOf(path).c_str());
  if (path) selfRegister(in, *path, "DllRegisterServer", kNoRegisterExport);
}

void Unregister(Interpreter& in, const CommandCall& call) {
  Value path = hasText(call.value2) ? joinPath(call.value2, call.value1) : call.value1;
  if (path) selfRegister(in, *path, "DllUnregisterServer", kNoUnregisterExport);
}

void RegisterFont(Interpreter&, const CommandCall& call) {
  if (call.value1) AddFontResourceA(call.value1->c_str());
}

void UnregisterFont(Interpreter&, const CommandCall& call) {
  if (call.value1) RemoveFontResourceA(call.value1->c_str());
}

}  // namespace setup::win32
