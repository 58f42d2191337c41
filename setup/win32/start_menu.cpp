// The program group (a folder of the Start menu's Programs folder) and its
// shell links.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

#include "argument_text.h"
#include "paths.h"
#include "system_commands.h"

namespace setup::win32 {

namespace {

using Microsoft::WRL::ComPtr;

std::string programsFolder(Interpreter& in) {
  LPITEMIDLIST list = nullptr;
  char path[MAX_PATH] = {};
  HWND owner = static_cast<HWND>(in.host().backgroundWindow());
  if (SUCCEEDED(SHGetSpecialFolderLocation(owner, CSIDL_PROGRAMS, &list))) {
    if (!SHGetPathFromIDListA(list, path)) path[0] = '\0';
    CoTaskMemFree(list);
  }
  return path;
}

// Saves link name.lnk in the program group, pointing at target with the
// destination as its working directory; every failure is silent.
void saveLink(Interpreter& in, const std::string& target, const std::string& name) {
  Value group = in.variable("PROGRAMGROUP");
  std::string folder = programsFolder(in);
  if (!group || folder.empty() || !fitsMaxPath(target)) return;
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(link.GetAddressOf())))) {
    return;
  }
  link->SetPath(target.c_str());
  link->SetWorkingDirectory(textOf(in.variable("DSTDIR")).c_str());
  link->SetDescription("");
  ComPtr<IPersistFile> file;
  if (FAILED(link.As(&file))) return;
  std::string path = folder + "\\" + *group + "\\" + name + ".lnk";
  wchar_t widePath[MAX_PATH];
  if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH) == 0) return;
  file->Save(widePath, TRUE);
}

}  // namespace

void MkPgmGroup(Interpreter& in, const CommandCall& call) {
  in.SetStatusText(call.window, kStatusLine, "Creating program group\n%s",
                   textOf(call.value1).c_str());
  std::string folder = programsFolder(in);
  if (call.value1 && !folder.empty()) CreateDirectoryA((folder + "\\" + *call.value1).c_str(), nullptr);
}

void GetPgmGroup(Interpreter& in, const CommandCall& call) {
  in.variables().set(call.word1, programsFolder(in));
}

void DelPgmGroup(Interpreter&, const CommandCall&) {}

void MkLink(Interpreter& in, const CommandCall& call) {
  in.SetStatusText(call.window, kStatusLine, "Creating link to\n%s", textOf(call.value2).c_str());
  Value target = joinPath(in.variable("DSTDIR"), call.value1);
  if (target && call.value2) saveLink(in, *target, *call.value2);
}

void CreateSourceLink(Interpreter& in, const CommandCall& call) {
  in.SetStatusText(call.window, kStatusLine, "Creating link to\n%s", textOf(call.value2).c_str());
  Value target = joinPath(in.variable("SRCDIR"), call.value1);
  if (target && call.value2) saveLink(in, *target, *call.value2);
}

}  // namespace setup::win32
