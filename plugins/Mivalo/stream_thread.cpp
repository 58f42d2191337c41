#include "stream_thread.h"

#include <dsound.h>

#include "com_report.h"
#include "mivalo_machine.h"
#include "sound_rules.h"
#include "stream_cursor.h"
#include "stream_record.h"

namespace mivalo {
namespace {

// The wave data of the stream's file, from its first sample byte.
class FileSource : public ByteSource {
 public:
  FileSource(HMMIO file, LONG start) : file_(file), start_(start) {}
  uint32_t read(uint8_t* into, uint32_t count) override {
    const LONG got = mmioRead(file_, reinterpret_cast<HPSTR>(into), static_cast<LONG>(count));
    return got > 0 ? static_cast<uint32_t>(got) : 0;
  }
  void seekToStart() override { mmioSeek(file_, start_, SEEK_SET); }

 private:
  HMMIO file_;
  LONG start_;
};

// A log line, unless the stream's machine has ended.
void say(const char* text) {
  if (machineListens()) gVm->vmLog(0, "%s", text);
}

// Fills the locked parts of one Lock from the cursor and unlocks them;
// false when the buffer could not be locked.
bool fillLocked(IDirectSoundBuffer* buffer, StreamCursor& cursor, DWORD offset, DWORD bytes) {
  void* first = nullptr;
  void* second = nullptr;
  DWORD firstBytes = 0;
  DWORD secondBytes = 0;
  if (FAILED(
          COM_REPORT(buffer->Lock(offset, bytes, &first, &firstBytes, &second, &secondBytes, 0))))
    return false;
  cursor.fill(static_cast<uint8_t*>(first), firstBytes);
  if (second != nullptr) cursor.fill(static_cast<uint8_t*>(second), secondBytes);
  COM_REPORT(buffer->Unlock(first, firstBytes, second, secondBytes));
  return true;
}

// Releases everything the stream holds, frees its record and ends the
// thread: every ending, a failed notification set-up included, closes the
// file and frees the record.
[[noreturn]] void endStream(StreamRecord* record, IDirectSoundNotify* notify, HANDLE event,
                            const char* lastWords) {
  if (notify != nullptr) notify->Release();
  record->buffer->Release();
  if (event != nullptr) CloseHandle(event);
  mmioClose(record->file, 0);
  record->device->Release();
  HANDLE thread = record->thread;
  HMODULE module = record->module;
  freeStreamRecord(record);
  CloseHandle(thread);
  if (lastWords != nullptr) say(lastWords);
  if (module != nullptr) FreeLibraryAndExitThread(module, 0);
  ExitThread(0);
}

}  // namespace

DWORD WINAPI streamThread(void* parameter) {
  auto* record = static_cast<StreamRecord*>(parameter);
  IDirectSoundBuffer* buffer = record->buffer;
  tStreamMachine = record->machine;

  // The first sample byte is the start of every loop.
  const LONG start = mmioSeek(record->file, 0, SEEK_CUR);
  if (machineListens()) gVm->vmLog(0, "origin pos in file: %d\n", static_cast<int>(start));
  FileSource source(record->file, start);
  StreamCursor cursor(source, static_cast<uint32_t>(record->dataEnd - start), record->loops,
                      silenceByte(record->format.blockAlign, record->format.channels));

  // The first fill: the whole buffer.
  fillLocked(buffer, cursor, 0, kStreamBufferBytes);

  // Notifications at the middle and at the end of the buffer.
  IDirectSoundNotify* notify = nullptr;
  if (FAILED(COM_REPORT(
          buffer->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&notify))))) {
    say("Query interface aborted\n");
    endStream(record, nullptr, nullptr, nullptr);
  }
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  DSBPOSITIONNOTIFY positions[2] = {{kNotifyOffsets[0], event}, {kNotifyOffsets[1], event}};
  if (event == nullptr || FAILED(COM_REPORT(notify->SetNotificationPositions(2, positions)))) {
    say("Notification aborted\n");
    record->stopRequested.store(1);
    endStream(record, notify, event, nullptr);
  }

  // Play looping; refill the half not playing at each
  // notification. Once the last data byte is in the buffer the halves are
  // refilled with silence, and the stream ends when the play cursor has
  // passed that byte (time-outs look too), or when a stop is asked for.
  COM_REPORT(buffer->Play(0, 0, DSBPLAY_LOOPING));
  HalfMap halves;
  for (;;) {
    const bool signalled = WaitForSingleObject(event, kStreamWaitMs) == WAIT_OBJECT_0;
    DWORD play = 0;
    if ((signalled || cursor.ended()) &&
        SUCCEEDED(COM_REPORT(buffer->GetCurrentPosition(&play, nullptr)))) {
      if (cursor.ended() && halves.played(play) >= cursor.dataEnd()) {
        record->stopRequested.store(1);
      } else if (signalled) {
        const uint32_t half = refillOffset(play);
        const uint64_t from = cursor.filled();
        if (fillLocked(buffer, cursor, half, kStreamHalfBytes)) halves.refilling(half, from);
      }
    }
    // A stream whose machine has ended can no longer be stopped by its
    // program: it ends, without a word.
    if (!machineListens()) {
      COM_REPORT(buffer->Stop());
      endStream(record, notify, event, nullptr);
    }
    if (record->stopRequested.load() != 0) {
      say("Stop.\n");
      COM_REPORT(buffer->Stop());
      endStream(record, notify, event, "Stopped.\n");
    }
  }
}

}  // namespace mivalo
