// The commands a component runs on its owner's panel through ExecuteCmd,
// with the arguments it set beforehand, and the end of its downloads.
#include <cstring>
#include <string>

#include "app_callback.h"
#include "browser_calls.h"
#include "common/win32/bstr_ansi.h"
#include "instance.h"
#include "operations.h"

namespace npvlx {

namespace {

constexpr long kSendToFrameFailed = 40;

void startProgress(Instance& owner, const kebo::PairList& args) {
  ++owner.progressNesting;
  long period = args.number("PBTMOUT", kDefaultProgressPeriod);
  owner.progressPeriod = period > 0 ? static_cast<UINT>(period) : kDefaultProgressPeriod;
  startProgressTimer(owner);
}

// Unmatched stops do not count below zero, so the next start and stop pair
// still ends its timer.
void stopProgress(Instance& owner) {
  if (owner.progressNesting > 0) --owner.progressNesting;
  if (owner.progressNesting == 0 && owner.progressTimerRunning) {
    stopProgressTimer(owner);
    owner.progressPosition = 0;
    repaint(owner);
  }
}

// A slot for the file; with every slot busy, or no URL, the request is
// dropped.
void startDownload(Instance& owner, AppCallback& callback, const kebo::PairList& args) {
  std::string_view url = args.value("URL");
  if (url.empty() || !callback.component()) return;
  for (DownloadSlot& slot : owner.downloads) {
    if (!slot.free) continue;
    slot.free = false;
    copyField(slot.url, url, kSlotUrlSize);
    slot.component = callback.component();
    getUrl(owner, slot.url, std::nullopt);
    return;
  }
}

void setMessage(Instance& owner, const kebo::PairList& args) {
  long line = args.number("NUMMSG");
  if (line >= 0 && line < kTextLineCount) owner.lines[line] = args.value("TEXTMSG");
  repaint(owner);
}

// Generated HTML into a browser frame, its terminating zero included.
void sendToFrame(Instance& owner, const kebo::PairList& args) {
  std::string frame(args.value("FRMNAME"));
  if (frame.empty()) frame = "_blank";
  std::string data(args.value("FRMDATA"));
  NPStream* stream = nullptr;
  if (newBrowserStream(owner, "text/html", frame, &stream) != NPERR_NO_ERROR || !stream) {
    sendErrorReport(owner, kSendToFrameFailed);
    return;
  }
  int32_t length = static_cast<int32_t>(data.size() + 1);
  bool written = writeBrowserStream(owner, stream, data.c_str(), length) == length;
  bool closed = destroyBrowserStream(owner, stream, NPRES_DONE) == NPERR_NO_ERROR;
  if (!written || !closed) sendErrorReport(owner, kSendToFrameFailed);
}

}  // namespace

void executeComponentCommand(Instance& owner, AppCallback& callback, const std::string& command) {
  const kebo::PairList& args = callback.parameters();
  if (command == "STARTPB") {
    startProgress(owner, args);
  } else if (command == "STOPPB") {
    stopProgress(owner);
  } else if (command == "SEND") {
    sendToServer(owner, args);
  } else if (command == "DOWNLOAD") {
    startDownload(owner, callback, args);
  } else if (command == "SETMSG") {
    setMessage(owner, args);
  } else if (command == "SENDB") {
    sendToFrame(owner, args);
  } else if (command == "EXECA") {
    std::string answer(args.value("ADATA"));
    handleAnswer(owner, answer, std::nullopt);
  }
}

void downloadComplete(Instance& instance, const std::string& streamUrl, const std::string& localPath,
                      bool completed) {
  for (DownloadSlot& slot : instance.downloads) {
    if (slot.free || slot.url.empty() || streamUrl.find(slot.url) == std::string::npos) continue;
    ComPtr<IAppComponent> component = std::move(slot.component);
    slot.url.clear();
    slot.free = true;
    if (!component) return;
    auto pathKey = win::ansiToBstr("DLPATH");
    auto path = win::ansiToBstr(localPath);
    auto urlKey = win::ansiToBstr("DLURL");
    auto url = win::ansiToBstr(streamUrl);
    component->SetParam(pathKey.get(), path.get());
    component->SetParam(urlKey.get(), url.get());
    auto done = win::ansiToBstr(completed ? "DLDONE" : "DLERR");
    component->Command(done.get());
    return;
  }
}

}  // namespace npvlx
