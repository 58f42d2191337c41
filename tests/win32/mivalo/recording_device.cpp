#include "recording_device.h"

#include <memory>

namespace mivalotest {
namespace {

// SetNotificationPositions answers the injected failure.
class FailingNotify final : public IDirectSoundNotify {
 public:
  FailingNotify(IDirectSoundNotify* real, HRESULT failure) : real_(real), failure_(failure) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    return real_->QueryInterface(riid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) {
      real_->Release();
      delete this;
    }
    return left;
  }
  HRESULT STDMETHODCALLTYPE SetNotificationPositions(DWORD, LPCDSBPOSITIONNOTIFY) override {
    return failure_;
  }

 private:
  IDirectSoundNotify* real_;
  HRESULT failure_;
  std::atomic<ULONG> refs_{1};
};

// Reads the play cursor every 2 ms from Play to Stop.
class CursorFollower {
 public:
  CursorFollower(RecordingDevice* device, IDirectSoundBuffer* real)
      : device_(device), real_(real) {
    thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
  }
  ~CursorFollower() {
    stop_.store(true);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }

 private:
  static DWORD WINAPI run(void* self) {
    auto* f = static_cast<CursorFollower*>(self);
    while (!f->stop_.load()) {
      BufferEvent e(BufferEvent::Cursor);
      if (SUCCEEDED(f->real_->GetCurrentPosition(&e.offset, nullptr))) f->device_->record(e);
      Sleep(2);
    }
    return 0;
  }
  RecordingDevice* device_;
  IDirectSoundBuffer* real_;
  std::atomic<bool> stop_{false};
  HANDLE thread_ = nullptr;
};

class RecordingBuffer final : public IDirectSoundBuffer {
 public:
  RecordingBuffer(RecordingDevice* device, IDirectSoundBuffer* real)
      : device_(device), real_(real) {
    device_->AddRef();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if ((riid == IID_IDirectSoundNotify && device_->refuseNotify) ||
        (riid == IID_IDirectSound3DBuffer && device_->refuse3D)) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    const HRESULT hr = real_->QueryInterface(riid, out);
    if (SUCCEEDED(hr) && riid == IID_IDirectSoundNotify && device_->setNotifyFailure != S_OK) {
      *out = static_cast<IDirectSoundNotify*>(
          new FailingNotify(static_cast<IDirectSoundNotify*>(*out), device_->setNotifyFailure));
    }
    return hr;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) {
      follower_.reset();
      BufferEvent gone(BufferEvent::Released);
      gone.realLeft = real_->Release();
      device_->record(gone);
      device_->bufferGone();
      device_->Release();
      delete this;
    }
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetCaps(LPDSBCAPS caps) override { return real_->GetCaps(caps); }
  HRESULT STDMETHODCALLTYPE GetCurrentPosition(LPDWORD play, LPDWORD write) override {
    DWORD cursor = 0;
    const HRESULT hr = real_->GetCurrentPosition(&cursor, write);
    if (play != nullptr) *play = cursor;
    BufferEvent e(BufferEvent::Position);
    e.offset = cursor;
    device_->record(e);
    return hr;
  }
  HRESULT STDMETHODCALLTYPE GetFormat(LPWAVEFORMATEX f, DWORD size, LPDWORD written) override {
    return real_->GetFormat(f, size, written);
  }
  HRESULT STDMETHODCALLTYPE GetVolume(LPLONG v) override { return real_->GetVolume(v); }
  HRESULT STDMETHODCALLTYPE GetPan(LPLONG v) override { return real_->GetPan(v); }
  HRESULT STDMETHODCALLTYPE GetFrequency(LPDWORD v) override { return real_->GetFrequency(v); }
  HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD v) override { return real_->GetStatus(v); }
  HRESULT STDMETHODCALLTYPE Initialize(LPDIRECTSOUND ds, LPCDSBUFFERDESC d) override {
    return real_->Initialize(ds, d);
  }
  HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID* first, LPDWORD firstBytes,
                                 LPVOID* second, LPDWORD secondBytes, DWORD flags) override {
    const HRESULT hr = real_->Lock(offset, bytes, first, firstBytes, second, secondBytes, flags);
    BufferEvent e(BufferEvent::Lock);
    e.offset = offset;
    e.bytes = bytes;
    device_->record(e);
    if (SUCCEEDED(hr)) {
      lockOffset_ = offset;
      lockStart_ = *first;
    }
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Play(DWORD r1, DWORD r2, DWORD flags) override {
    device_->record(BufferEvent(BufferEvent::Play));
    const HRESULT hr = real_->Play(r1, r2, flags);
    if (device_->followCursor && follower_ == nullptr)
      follower_ = std::make_unique<CursorFollower>(device_, real_);
    return hr;
  }
  HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD p) override {
    return real_->SetCurrentPosition(p);
  }
  HRESULT STDMETHODCALLTYPE SetFormat(LPCWAVEFORMATEX f) override { return real_->SetFormat(f); }
  HRESULT STDMETHODCALLTYPE SetVolume(LONG v) override { return real_->SetVolume(v); }
  HRESULT STDMETHODCALLTYPE SetPan(LONG v) override { return real_->SetPan(v); }
  HRESULT STDMETHODCALLTYPE SetFrequency(DWORD v) override { return real_->SetFrequency(v); }
  HRESULT STDMETHODCALLTYPE Stop() override {
    follower_.reset();
    device_->record(BufferEvent(BufferEvent::Stop));
    return real_->Stop();
  }
  HRESULT STDMETHODCALLTYPE Unlock(LPVOID first, DWORD firstBytes, LPVOID second,
                                   DWORD secondBytes) override {
    // The parts as the stream left them: the first at the locked offset, a
    // second (a lock that wrapped) at the start of the buffer.
    BufferEvent part(BufferEvent::Write);
    part.offset = first == lockStart_ ? lockOffset_ : 0;
    part.data.assign(static_cast<const char*>(first), firstBytes);
    device_->record(part);
    if (second != nullptr) {
      BufferEvent wrapped(BufferEvent::Write);
      wrapped.data.assign(static_cast<const char*>(second), secondBytes);
      device_->record(wrapped);
    }
    return real_->Unlock(first, firstBytes, second, secondBytes);
  }
  HRESULT STDMETHODCALLTYPE Restore() override { return real_->Restore(); }

 private:
  ~RecordingBuffer() = default;
  RecordingDevice* device_;
  IDirectSoundBuffer* real_;
  std::atomic<ULONG> refs_{1};
  DWORD lockOffset_ = 0;
  void* lockStart_ = nullptr;
  std::unique_ptr<CursorFollower> follower_;
};

}  // namespace

RecordingDevice::RecordingDevice(IDirectSound* real) : real_(real) { real_->AddRef(); }

RecordingDevice::~RecordingDevice() { real_->Release(); }

HRESULT RecordingDevice::QueryInterface(REFIID riid, void** out) {
  if (riid == IID_IUnknown || riid == IID_IDirectSound) {
    AddRef();
    *out = static_cast<IDirectSound*>(this);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG RecordingDevice::AddRef() { return ++refs_; }

ULONG RecordingDevice::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT RecordingDevice::CreateSoundBuffer(LPCDSBUFFERDESC description, LPLPDIRECTSOUNDBUFFER out,
                                           IUnknown* outer) {
  *out = nullptr;
  if (createFailure != S_OK) return createFailure;
  IDirectSoundBuffer* real = nullptr;
  const HRESULT hr = real_->CreateSoundBuffer(description, &real, outer);
  if (FAILED(hr)) return hr;
  ++liveBuffers_;
  *out = new RecordingBuffer(this, real);
  return hr;
}

void RecordingDevice::record(BufferEvent event) {
  win::LockHolder hold(lock_);
  events_.push_back(std::move(event));
}

std::vector<BufferEvent> RecordingDevice::events() const {
  win::LockHolder hold(lock_);
  return events_;
}

std::string heard(const std::vector<BufferEvent>& events, DWORD bufferBytes) {
  std::string buffer(bufferBytes, '\0');
  std::string out;
  bool playing = false;
  DWORD last = 0;
  for (const BufferEvent& e : events) {
    if (e.kind == BufferEvent::Write) {
      buffer.replace(e.offset, e.data.size(), e.data);
    } else if (e.kind == BufferEvent::Play) {
      playing = true;
    } else if (e.kind == BufferEvent::Stop) {
      playing = false;
    } else if (playing && (e.kind == BufferEvent::Position || e.kind == BufferEvent::Cursor)) {
      for (DWORD p = last; p != e.offset; p = (p + 1) % bufferBytes) out += buffer[p];
      last = e.offset;
    }
  }
  return out;
}

}  // namespace mivalotest
