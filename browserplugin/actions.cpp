// Server answers: the action block selects what the instance does.
#include <optional>

#include "answer.h"
#include "browser_calls.h"
#include "diagnostics.h"
#include "instance.h"
#include "kebo_registry.h"
#include "operations.h"
#include "plugin_state.h"
#include "plugin_texts.h"
#include "server_requests.h"
#include "trusted_servers.h"

namespace npvlx {

namespace {

// An empty or missing frame: the answer comes back to the plug-in.
std::optional<std::string> frameOf(const kebo::PairList& pairs, const char* key) {
  std::string_view frame = pairs.value(key);
  if (frame.empty()) return std::nullopt;
  return std::string(frame);
}

void openPendingPage(Instance& instance) {
  kebo::PairList page(kebo::kParamSeparator);
  page.parseForward(instance.pendingPageList);
  std::string url(page.value("url"));
  std::string frame(page.value("frame"));
  if (frame.empty()) frame = "_self";
  if (!url.empty()) getUrl(instance, url, frame);
  instance.lines[0].clear();
  instance.pendingPageList.clear();
  repaint(instance);
}

void reportComponents(Instance& instance, const kebo::PairList& pairs) {
  std::string text = kebo::componentReport(pairs.value("url"), installedComponents());
  getUrl(instance, text, frameOf(pairs, "frame"));
}

// Only the Kebo servers named at installation may have a component written
// and registered, or started: any other page could run code of its own.
bool fromTrustedServer(const Instance& instance, const std::optional<std::string>& source, long action) {
  std::string servers = trustedServers();
  bool trusted = kebo::isOnTrustedServer(instance.dialogPage, servers) &&
                 (!source || kebo::isOnTrustedServer(*source, servers));
  if (!trusted) diagnostic(texts::kUntrustedServer, action, instance.dialogPage.c_str(), source ? source->c_str() : "");
  return trusted;
}

}  // namespace

void handleAnswer(Instance& instance, std::string_view text, const std::optional<std::string>& source) {
  auto answer = kebo::parseAnswer(text);
  if (!answer) return;
  const kebo::PairList& pairs = answer->pairs;
  long action = answer->action();
  if ((action == 2 || action == 3) && !fromTrustedServer(instance, source, action)) {
    sendErrorReport(instance, 1);
    return;
  }
  switch (action) {
    case 0:
      break;
    case 1:
      getUrl(instance, std::string(pairs.value("url")), frameOf(pairs, "frame"));
      break;
    case 2: {
      InstanceRef ref = refOf(instance);
      InstallResult result = installComponent(pairs, answer->payload);
      // A component's registration may run a message loop.
      if (!isLive(ref)) return;
      if (result == InstallResult::Installed) {
        openPendingPage(instance);
      } else {
        sendErrorReport(instance, static_cast<long>(result));
      }
      break;
    }
    case 3:
      launchComponent(instance, pairs);
      break;
    case 4: {
      getUrl(instance, std::string(pairs.value("url")), frameOf(pairs, "frame"));
      long timeout = pairs.number("timeout");
      if (instance.pollingEnabled && timeout > 0) {
        if (instance.window) KillTimer(instance.window, kPollTimerId);
        instance.pollPeriod = static_cast<UINT>(timeout);
        startPollTimer(instance);
      }
      break;
    }
    case 5:
      reportComponents(instance, pairs);
      break;
    default:
      diagnostic(texts::kBadAction, action);
      break;
  }
}

void sendToServer(Instance& instance, const kebo::PairList& pairs) {
  auto request = kebo::sendRequest(pairs, instance.dialogPage);
  if (!request) {
    diagnostic(texts::kNoDialogPage, pairs.serialise().c_str());
    return;
  }
  getUrl(instance, request->url, request->target);
}

void sendErrorReport(Instance& instance, long number) {
  sendToServer(instance, kebo::errorReportPairs(number, instance.errorUrl, instance.errorFrame));
}

}  // namespace npvlx
