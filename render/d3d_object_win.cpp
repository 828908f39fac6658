#include "render/d3d_object_win.h"

#include "render/renderer_win.h"

CD3DObject::CD3DObject(CDXRenderer* renderer) : renderer_(renderer) {
  if (renderer_ != nullptr) renderer_->LinkObject(this);
}

CD3DObject::~CD3DObject() {
  if (renderer_ != nullptr) renderer_->UnlinkObject(this);
}

IDirect3DDevice9* CD3DObject::Device() const {
  return renderer_ != nullptr ? renderer_->Device() : nullptr;
}
