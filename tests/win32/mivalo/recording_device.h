// A DirectSound device for the streaming tests: every call goes on to a real
// DirectSound device, and what is done to the buffers made through it is
// recorded: each Lock with its offset, each written part with its bytes (as
// they are at Unlock), each play cursor read, Play, Stop and the buffer's
// final release. It can also follow the play cursor on a thread of its own
// from Play to Stop, so that a test can tell what was heard. A test can also make it refuse buffers, refuse the
// notification interface or fail SetNotificationPositions, to reach the
// failure paths of the stream.
#pragma once

#include <windows.h>

#include <dsound.h>

#include <atomic>
#include <string>
#include <vector>

#include "common/win32/handles.h"

namespace mivalotest {

struct BufferEvent {
  // Position: a cursor read by the stream; Cursor: one by the follower.
  enum Kind { Lock, Write, Position, Cursor, Play, Stop, Released };
  explicit BufferEvent(Kind k) : kind(k) {}
  Kind kind;
  DWORD offset = 0;    // Lock, Write: buffer offset; Position, Cursor: the play cursor
  DWORD bytes = 0;     // Lock: bytes asked
  std::string data;    // Write: the bytes of the part
  ULONG realLeft = 0;  // Released: what the real buffer's last Release answered
};

class RecordingDevice final : public IDirectSound {
 public:
  // A new device with one reference, the caller's; it holds one on real.
  explicit RecordingDevice(IDirectSound* real);

  // Failure injection, set before the stream is made.
  HRESULT createFailure = S_OK;     // CreateSoundBuffer answers this
  bool refuseNotify = false;        // QueryInterface(IDirectSoundNotify) fails
  bool refuse3D = false;            // QueryInterface(IDirectSound3DBuffer) fails
  HRESULT setNotifyFailure = S_OK;  // SetNotificationPositions answers this
  bool followCursor = false;        // read the play cursor every 2 ms while playing

  std::vector<BufferEvent> events() const;
  ULONG references() const { return refs_.load(); }
  LONG liveBuffers() const { return liveBuffers_.load(); }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDirectSound
  HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC description,
                                              LPLPDIRECTSOUNDBUFFER out, IUnknown* outer) override;
  HRESULT STDMETHODCALLTYPE GetCaps(LPDSCAPS caps) override { return real_->GetCaps(caps); }
  HRESULT STDMETHODCALLTYPE DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER,
                                                 LPLPDIRECTSOUNDBUFFER) override {
    return DSERR_UNSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD level) override {
    return real_->SetCooperativeLevel(window, level);
  }
  HRESULT STDMETHODCALLTYPE Compact() override { return real_->Compact(); }
  HRESULT STDMETHODCALLTYPE GetSpeakerConfig(LPDWORD config) override {
    return real_->GetSpeakerConfig(config);
  }
  HRESULT STDMETHODCALLTYPE SetSpeakerConfig(DWORD config) override {
    return real_->SetSpeakerConfig(config);
  }
  HRESULT STDMETHODCALLTYPE Initialize(LPCGUID guid) override { return real_->Initialize(guid); }

  // Used by the recording buffers.
  void record(BufferEvent event);
  void bufferGone() { --liveBuffers_; }

 private:
  ~RecordingDevice();
  IDirectSound* real_;
  std::atomic<ULONG> refs_{1};
  std::atomic<LONG> liveBuffers_{0};
  mutable win::Lock lock_;
  std::vector<BufferEvent> events_;
};

// The bytes the play cursor passed over, in order: the buffer's content is
// rebuilt from the writes, and the bytes between one cursor read and the
// next (the stream's own reads and the follower's) are taken from it.
std::string heard(const std::vector<BufferEvent>& events, DWORD bufferBytes);

}  // namespace mivalotest
