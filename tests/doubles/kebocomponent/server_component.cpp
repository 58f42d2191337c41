// keboserver.exe: the component double as a local server.
//   keboserver /regserver    registers the class and the interfaces' type
//                            library (the interfaces are marshalled from it)
//   keboserver -Embedding    serves until its last object is released
#include <windows.h>

#include <cstring>

#include "component_ids.h"
#include "registration.h"
#include "test_component.h"

using namespace kebocomponent;

namespace {

constexpr DWORD kIdleLimitMs = 60000;

int registerServer() {
  writeLog("regserver");
  std::string path = modulePath(nullptr);
  if (!registerClass(kServerComponentClsid, "LocalServer32", "\"" + path + "\"")) return 1;
  wchar_t widePath[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(widePath, REGKIND_REGISTER, &library))) return 1;
  library->Release();
  return 0;
}

int serve() {
  ComponentFactory factory;
  DWORD registration = 0;
  if (FAILED(CoRegisterClassObject(kServerComponentClsid, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                   &registration))) {
    return 1;
  }
  bool served = false;
  DWORD idleSince = GetTickCount();
  while (true) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    if (liveObjects > 0) {
      served = true;
      idleSince = GetTickCount();
    } else if (served || GetTickCount() - idleSince > kIdleLimitMs) {
      break;
    }
  }
  CoRevokeClassObject(registration);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  if (FAILED(CoInitialize(nullptr))) return 1;
  int result = 0;
  if (strstr(commandLine, "regserver")) {
    result = registerServer();
  } else if (strstr(commandLine, "unregserver")) {
    result = unregisterClass(kServerComponentClsid) ? 0 : 1;
  } else {
    result = serve();
  }
  CoUninitialize();
  return result;
}
