// The preview's cameras: four of them, of which the first looks at the
// vehicle. The rig keeps the requested eye, target and up and applies them
// to the preview camera and the device once per frame.
#pragma once
#include <d3d9.h>
#include <d3dx9math.h>

#include <memory>

#include "render/dx_holders_win.h"

class CDXRenderer;

constexpr int kRigCameras = 4;

class CameraRig {
 public:
  CameraRig(CDXRenderer* renderer, float vertical_angle);

  void Request(const D3DXVECTOR3& eye, const D3DXVECTOR3& target, const D3DXVECTOR3& up);
  // Copies the request into the preview camera (far plane from the distance
  // to the target), builds its view and projection and sets both.
  void Apply(IDirect3DDevice9* device);

  CDXCamera* Preview() const { return cameras_[0].get(); }
  CDXCamera* Camera(int index) const { return cameras_[index].get(); }

 private:
  std::unique_ptr<CDXCamera> cameras_[kRigCameras];
  D3DXVECTOR3 eye_, target_, up_;
  D3DXVECTOR3 current_eye_, current_target_, current_up_;
  float vertical_angle_;
};

// view and projection of `camera` from its eye, target, up, angle and
// planes; the aspect comes from the device's viewport.
void BuildCameraMatrices(CDXCamera& camera, IDirect3DDevice9* device);
