#include "connection_point.h"

#include "com_boundary.h"
#include "module.h"

namespace ravix {

using Microsoft::WRL::ComPtr;

namespace {

void addRefItem(CONNECTDATA& item) { item.pUnk->AddRef(); }
void releaseItem(CONNECTDATA& item) { item.pUnk->Release(); }
void addRefItem(IConnectionPoint* item) { item->AddRef(); }
void releaseItem(IConnectionPoint* item) { item->Release(); }

// A standard enumerator over a snapshot of items, each holding a reference.
template <typename Interface, typename Item>
class SnapshotEnumerator final : public Interface {
 public:
  explicit SnapshotEnumerator(std::vector<Item> items, size_t position = 0)
      : items_(std::move(items)), position_(position) {
    for (auto& item : items_) addRefItem(item);
  }
  ~SnapshotEnumerator() {
    for (auto& item : items_) releaseItem(item);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, __uuidof(Interface))) return E_NOINTERFACE;
    *out = static_cast<Interface*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, Item* out, ULONG* fetched) override {
    if (out == nullptr || (count > 1 && fetched == nullptr)) return E_POINTER;
    ULONG given = 0;
    while (given < count && position_ < items_.size()) {
      out[given] = items_[position_++];
      addRefItem(out[given++]);
    }
    if (fetched != nullptr) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    size_t left = items_.size() - position_;
    position_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(Interface** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    return guarded([&] {
      *out = new SnapshotEnumerator(items_, position_);
      return S_OK;
    });
  }

 private:
  LONG references_ = 1;
  ModuleLock moduleLock_;
  std::vector<Item> items_;
  size_t position_;
};

}  // namespace

std::vector<ComPtr<IDispatch>> ConnectionPoint::sinks() const {
  std::vector<ComPtr<IDispatch>> connected;
  for (const auto& slot : slots_) {
    if (slot) connected.push_back(slot);
  }
  return connected;
}

HRESULT ConnectionPoint::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IConnectionPoint)) return E_NOINTERFACE;
  *out = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (iid == nullptr) return E_POINTER;
  *iid = eventInterface_;
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (container == nullptr) return E_POINTER;
  *container = &container_;
  container_.AddRef();
  return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (cookie == nullptr) return E_POINTER;
  *cookie = 0;
  if (sink == nullptr) return E_POINTER;
  return guarded([&] { return connect(sink, cookie); });
}

HRESULT ConnectionPoint::connect(IUnknown* sink, DWORD* cookie) {
  ComPtr<IDispatch> events;
  if (FAILED(sink->QueryInterface(eventInterface_, reinterpret_cast<void**>(events.GetAddressOf())))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  for (size_t slot = 0; slot < slots_.size(); ++slot) {
    if (!slots_[slot]) {
      slots_[slot] = events;
      *cookie = static_cast<DWORD>(slot + 1);
      return S_OK;
    }
  }
  slots_.push_back(events);
  *cookie = static_cast<DWORD>(slots_.size());
  return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
  if (cookie == 0 || cookie > slots_.size() || !slots_[cookie - 1]) return CONNECT_E_NOCONNECTION;
  // Released after the slot is empty: the sink's release may call back.
  ComPtr<IDispatch> leaving = std::move(slots_[cookie - 1]);
  slots_[cookie - 1].Reset();
  return S_OK;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** connections) {
  if (connections == nullptr) return E_POINTER;
  *connections = nullptr;
  return guarded([&] {
    std::vector<CONNECTDATA> items;
    for (size_t slot = 0; slot < slots_.size(); ++slot) {
      if (slots_[slot]) items.push_back({slots_[slot].Get(), static_cast<DWORD>(slot + 1)});
    }
    *connections = new SnapshotEnumerator<IEnumConnections, CONNECTDATA>(std::move(items));
    return S_OK;
  });
}

HRESULT enumerateConnectionPoints(IConnectionPoint* point, IEnumConnectionPoints** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  return guarded([&] {
    *out = new SnapshotEnumerator<IEnumConnectionPoints, IConnectionPoint*>({point});
    return S_OK;
  });
}

}  // namespace ravix
