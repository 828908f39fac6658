// Base of every Direct3D resource wrapper. Each object links itself into its
// renderer's list so that a device reset can tell all of them to give up
// their device resources and to create them again afterwards.
#pragma once
#include <d3d9.h>

class CDXRenderer;

class CD3DObject {
 public:
  explicit CD3DObject(CDXRenderer* renderer);
  virtual ~CD3DObject();
  CD3DObject(const CD3DObject&) = delete;
  CD3DObject& operator=(const CD3DObject&) = delete;

  // Both must be safe to call twice in a row: a second release keeps what
  // the first one saved, a second restore leaves existing resources alone.
  virtual HRESULT ReleaseDeviceObjects() { return 0; }
  virtual HRESULT RestoreDeviceObjects() { return 0; }

  CDXRenderer* Renderer() const { return renderer_; }
  // The renderer's device, or null when there is none (yet or any more).
  IDirect3DDevice9* Device() const;

 private:
  friend class CDXRenderer;
  CDXRenderer* renderer_;
  CD3DObject* prev_ = nullptr;
  CD3DObject* next_ = nullptr;
};

// Releases a COM pointer once and clears it.
template <typename T>
void SafeRelease(T*& p) {
  if (p != nullptr) {
    p->Release();
    p = nullptr;
  }
}
