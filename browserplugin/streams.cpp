#include "streams.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "answer_buffer.h"
#include "common/win32/handles.h"
#include "diagnostics.h"
#include "instance.h"
#include "kebo_paths.h"
#include "kebo_registry.h"
#include "operations.h"
#include "plugin_texts.h"

namespace npvlx {

namespace {

constexpr int32_t kAlwaysReady = 0x0FFFFFFF;

struct StreamRecord {
  bool isFile = false;
  win::UniqueHandle file;    // null for a download the plug-in refused to save
  std::string localPath;
  std::string url;
  std::size_t length = 0;  // bytes of a download received
  kebo::AnswerBuffer answer;
};

StreamRecord* recordOf(NPStream* stream) { return stream ? static_cast<StreamRecord*>(stream->pdata) : nullptr; }

bool isDownload(const Instance& instance, const std::string& url) {
  for (const DownloadSlot& slot : instance.downloads) {
    if (!slot.free && !slot.url.empty() && url.find(slot.url) != std::string::npos) return true;
  }
  return false;
}

// The download's file in the Kebo directory; names that would leave it are
// not saved.
void openDownloadFile(StreamRecord& record) {
  auto directory = keboDirectory();
  auto name = kebo::downloadFileName(record.url);
  if (!directory || !name) return;
  std::string path = kebo::joinKeboPath(*directory, *name);
  if (path.size() >= kFieldSize) return;
  record.localPath = path;
  record.file = win::adoptFileHandle(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

void showProgress(Instance& instance, std::size_t received) {
  if (instance.expectedSize <= 0) return;
  long long position = static_cast<long long>(received) * instance.progressBlocks / instance.expectedSize;
  instance.progressPosition = static_cast<int>(position);
  repaint(instance);
}

}  // namespace

NPError newStream(Instance& instance, NPStream* stream, uint16_t* type) {
  auto record = std::make_unique<StreamRecord>();
  record->url = stream->url ? stream->url : "";
  if (isDownload(instance, record->url)) {
    record->isFile = true;
    openDownloadFile(*record);
  }
  if (type) *type = NP_NORMAL;
  stream->pdata = record.release();
  return NPERR_NO_ERROR;
}

int32_t writeReady(Instance&, NPStream*) { return kAlwaysReady; }

int32_t writeStream(Instance& instance, NPStream* stream, int32_t length, const void* buffer) {
  StreamRecord* record = recordOf(stream);
  if (!record || length < 0 || (length > 0 && !buffer)) return -1;
  std::size_t size = static_cast<std::size_t>(length);
  if (record->isFile) {
    if (record->file) {
      DWORD written = 0;
      if (!WriteFile(record->file.get(), buffer, static_cast<DWORD>(size), &written, nullptr)) return -1;
    }
    record->length += size;
  } else if (!record->answer.append(buffer, size)) {
    // Too large for an answer: the browser stops the stream.
    return -1;
  }
  std::size_t received = record->isFile ? record->length : record->answer.text().size();
  if (!instance.loadingUrl.empty() && record->url == instance.loadingUrl) showProgress(instance, received);
  return length;
}

NPError destroyStream(Instance& instance, NPStream* stream, NPReason reason) {
  std::unique_ptr<StreamRecord> record(recordOf(stream));
  if (!record) return NPERR_NO_ERROR;
  stream->pdata = nullptr;
  if (!instance.loadingUrl.empty() && record->url == instance.loadingUrl) {
    instance.loadingUrl.clear();
    instance.progressPosition = 0;
    repaint(instance);
  }
  if (record->isFile) {
    bool saved = record->file != nullptr;
    record->file.reset();
    downloadComplete(instance, record->url, record->localPath, saved && reason == NPRES_DONE);
  } else if (record->answer.abandoned()) {
    diagnostic(texts::kAnswerTooLarge, static_cast<unsigned long>(kebo::kMaxAnswerBytes), record->url.c_str());
    sendErrorReport(instance, 1);
  } else {
    handleAnswer(instance, record->answer.text(), record->url);
  }
  return NPERR_NO_ERROR;
}

}  // namespace npvlx
