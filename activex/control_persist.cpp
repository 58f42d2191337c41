// Persistence of the control: no properties of its own, only the version of
// the saved form and the control's extent, as a stream or as the stream
// "Contents" of a storage.
#include "voxa_control.h"

namespace ravix {

namespace {

constexpr DWORD kSavedVersion = 0x0200;
const wchar_t kContentsStream[] = L"Contents";

// Reads exactly size bytes; a short stream is a failure.
HRESULT readExactly(IStream* stream, void* data, ULONG size) {
  ULONG read = 0;
  HRESULT result = stream->Read(data, size, &read);
  if (FAILED(result)) return result;
  return read == size ? S_OK : STG_E_READFAULT;
}

}  // namespace

HRESULT VoxaControl::GetClassID(CLSID* clsid) {
  if (clsid == nullptr) return E_POINTER;
  *clsid = kClsidVoxa;
  return S_OK;
}

HRESULT VoxaControl::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

// Forms up to this version carry the extent; later ones are taken without it.
HRESULT VoxaControl::Load(IStream* stream) {
  if (stream == nullptr) return E_POINTER;
  DWORD version = 0;
  HRESULT result = readExactly(stream, &version, sizeof version);
  if (FAILED(result) || version > kSavedVersion) return result;
  SIZEL extent{};
  result = readExactly(stream, &extent, sizeof extent);
  if (FAILED(result)) return result;
  extent_ = extent;
  dirty_ = false;
  return S_OK;
}

HRESULT VoxaControl::Save(IStream* stream, BOOL clearDirty) {
  if (stream == nullptr) return E_POINTER;
  DWORD version = kSavedVersion;
  HRESULT result = stream->Write(&version, sizeof version, nullptr);
  if (SUCCEEDED(result)) result = stream->Write(&extent_, sizeof extent_, nullptr);
  if (FAILED(result)) return result;
  if (clearDirty) dirty_ = false;
  return S_OK;
}

HRESULT VoxaControl::GetSizeMax(ULARGE_INTEGER* size) {
  if (size == nullptr) return E_POINTER;
  size->QuadPart = sizeof(DWORD) + sizeof(SIZEL);
  return S_OK;
}

HRESULT VoxaControl::InitNew() { return S_OK; }

HRESULT VoxaControl::InitNew(IStorage* storage) { return storage != nullptr ? S_OK : E_POINTER; }

HRESULT VoxaControl::Load(IStorage* storage) {
  if (storage == nullptr) return E_POINTER;
  ComPtr<IStream> stream;
  HRESULT result = storage->OpenStream(kContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                       stream.GetAddressOf());
  if (FAILED(result)) return result;
  return Load(stream.Get());
}

HRESULT VoxaControl::Save(IStorage* storage, BOOL) {
  if (storage == nullptr) return E_POINTER;
  ComPtr<IStream> stream;
  HRESULT result = storage->CreateStream(kContentsStream, STGM_WRITE | STGM_SHARE_EXCLUSIVE | STGM_CREATE, 0, 0,
                                         stream.GetAddressOf());
  if (FAILED(result)) return result;
  return Save(stream.Get(), TRUE);
}

HRESULT VoxaControl::SaveCompleted(IStorage*) { return S_OK; }

HRESULT VoxaControl::HandsOffStorage() { return S_OK; }

}  // namespace ravix
