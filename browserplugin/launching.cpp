// Launching a component: its CLSID and version from the Kebo key, the COM
// object, the callback it reports through, then its parameters and commands.
#include <string>

#include "app_callback.h"
#include "browser_calls.h"
#include "common/win32/bstr_ansi.h"
#include "instance.h"
#include "kebo_registry.h"
#include "launch_params.h"
#include "operations.h"
#include "plugin_state.h"
#include "plugin_texts.h"

namespace npvlx {

namespace {

enum LaunchFailure { kNoVersion = 1, kOldVersion = 2, kNotCreated = 3, kBadClsid = 4, kNotRegistered = 5 };

// The component's CLSID, checked against the version the page asks for;
// 0 or a failure number.
int findComponent(const std::string& name, long wantedVersion, CLSID& clsid) {
  auto key = readComponentKey(name);
  if (!key || !key->clsid) return kNotRegistered;
  auto text = win::ansiToBstr(*key->clsid);
  if (!text || FAILED(CLSIDFromString(text.get(), &clsid))) return kBadClsid;
  if (!key->version) return kNoVersion;
  if (*key->version < wantedVersion) return kOldVersion;
  return 0;
}

void feedComponent(IAppComponent* component, const kebo::PairList& launchPairs) {
  for (const auto& pair : launchPairs.pairs()) {
    auto value = win::ansiToBstr(pair.value);
    if (kebo::sameKey(pair.key, "CMD")) {
      component->Command(value.get());
    } else {
      auto key = win::ansiToBstr(pair.key);
      component->SetParam(key.get(), value.get());
    }
  }
}

void askForInstallation(Instance& instance, const kebo::PairList& parameters, const std::string& name) {
  std::string message = texts::kComponentPrefix + name + texts::kNeedsInstalling;
  InstanceRef ref = refOf(instance);
  MessageBoxA(instance.window, message.c_str(), texts::kBoxTitle, MB_OK | MB_ICONINFORMATION);
  if (!isLive(ref)) return;
  std::string_view packageUrl = parameters.value("urldata");
  if (packageUrl.empty()) return;
  copyField(instance.loadingUrl, packageUrl);
  instance.expectedSize = parameters.number("sizedata");
  copyField(instance.pendingPageList, parameters.value("thispage"));
  instance.lines[0] = texts::kPleaseWait;
  repaint(instance);
  getUrl(instance, instance.loadingUrl, std::nullopt);
}

}  // namespace

void launchComponent(Instance& instance, const kebo::PairList& parameters) {
  std::string name(parameters.value("launchapp"));
  kebo::PairList launchPairs(kebo::kParamSeparator);
  launchPairs.parseForward(kebo::gatherLaunchText(parameters));

  CLSID clsid{};
  ComPtr<IAppComponent> component;
  InstanceRef ref = refOf(instance);
  bool created = findComponent(name, parameters.number("version"), clsid) == 0 &&
                 SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                            IID_IAppComponent, reinterpret_cast<void**>(component.GetAddressOf())));
  // Starting a local server runs a message loop.
  if (!isLive(ref)) return;
  if (!created) {
    askForInstallation(instance, parameters, name);
    return;
  }

  // A child reports to the father's panel, and lives in the father's list.
  Instance* owner = &instance;
  if (kebo::sameKey(parameters.value("ischild"), "yes") && isLive(pluginState().father)) {
    owner = pluginState().father;
  }
  ComPtr<AppCallback> callback;
  callback.Attach(new AppCallback(refOf(*owner), parameters.number("appid")));
  callback->setComponent(component.Get());
  owner->components.push_back(
      LaunchedComponent{component, callback, kebo::sameKey(parameters.value("removewithvlx"), "yes")});
  long cookie = 0;
  if (SUCCEEDED(component->Advise(callback.Get(), &cookie))) callback->setCookie(cookie);
  feedComponent(component.Get(), launchPairs);
}

void releaseComponents(Instance& instance) {
  auto list = std::move(instance.components);
  instance.components.clear();
  for (LaunchedComponent& launched : list) {
    for (DownloadSlot& slot : instance.downloads) {
      if (slot.component.Get() == launched.component.Get()) {
        slot.component.Reset();
        slot.url.clear();
        slot.free = true;
      }
    }
    launched.component->Unadvise(launched.callback->cookie());
    if (launched.removeWithPlugin) launched.component->Terminate();
    launched.callback->detach();
  }
}

}  // namespace npvlx
