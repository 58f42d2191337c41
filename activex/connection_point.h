// The control's one connection point, for its event interface: any number
// of sinks, each under the cookie of its slot; an unadvised slot stays empty.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <vector>

namespace ravix {

class ConnectionPoint final : public IConnectionPoint {
 public:
  // The point lives inside its container and counts its references there.
  ConnectionPoint(IConnectionPointContainer& container, REFIID eventInterface)
      : container_(container), eventInterface_(eventInterface) {}

  // The connected sinks, in the order of their slots, each with a reference
  // of its own, so that a sink may unadvise while an event is raised.
  std::vector<Microsoft::WRL::ComPtr<IDispatch>> sinks() const;
  void disconnectAll() { slots_.clear(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return container_.AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return container_.Release(); }

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

 private:
  HRESULT connect(IUnknown* sink, DWORD* cookie);

  IConnectionPointContainer& container_;
  IID eventInterface_;
  std::vector<Microsoft::WRL::ComPtr<IDispatch>> slots_;  // cookie = slot + 1
};

// An enumerator over the container's one point.
HRESULT enumerateConnectionPoints(IConnectionPoint* point, IEnumConnectionPoints** out);

}  // namespace ravix
