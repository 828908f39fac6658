#include "preview/camera_rig_win.h"

#include "preview/placement.h"

void BuildCameraMatrices(CDXCamera& camera, IDirect3DDevice9* device) {
  D3DXMatrixLookAtLH(&camera.view, &camera.eye, &camera.look_at, &camera.up);
  D3DXMatrixInverse(&camera.inverse_view, nullptr, &camera.view);
  D3DVIEWPORT9 viewport = {};
  float aspect = 1.0f;
  if (device != nullptr && SUCCEEDED(device->GetViewport(&viewport)) && viewport.Height != 0)
    aspect = static_cast<float>(viewport.Width) / static_cast<float>(viewport.Height);
  D3DXMatrixPerspectiveFovLH(&camera.projection, camera.field_of_view, aspect, camera.near_plane,
                             camera.far_plane);
  D3DXMatrixInverse(&camera.inverse_projection, nullptr, &camera.projection);
}

CameraRig::CameraRig(CDXRenderer* renderer, float vertical_angle)
    : eye_(0.0f, 120.0f, -240.0f),
      target_(0.0f, 0.0f, 0.0f),
      up_(0.0f, 1.0f, 0.0f),
      current_eye_(eye_),
      current_target_(target_),
      current_up_(up_),
      vertical_angle_(vertical_angle) {
  for (auto& camera : cameras_) {
    camera = std::make_unique<CDXCamera>(renderer);
    camera->eye = D3DXVECTOR3(0.0f, 48.0f, -150.0f);
    camera->look_at = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    camera->up = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    camera->near_plane = 1.0f;
    camera->far_plane = 4000.0f;
    camera->field_of_view = vertical_angle;
    BuildCameraMatrices(*camera, camera->Device());
  }
}

void CameraRig::Request(const D3DXVECTOR3& eye, const D3DXVECTOR3& target, const D3DXVECTOR3& up) {
  eye_ = eye;
  target_ = target;
  up_ = up;
}

void CameraRig::Apply(IDirect3DDevice9* device) {
  current_eye_ = eye_;
  current_target_ = target_;
  current_up_ = up_;
  CDXCamera& camera = *cameras_[0];
  camera.eye = current_eye_;
  camera.look_at = current_target_;
  camera.up = current_up_;
  const float eye[3] = {eye_.x, eye_.y, eye_.z}, target[3] = {target_.x, target_.y, target_.z};
  camera.far_plane = PreviewFarPlane(eye, target);
  camera.field_of_view = vertical_angle_;
  BuildCameraMatrices(camera, device);
  device->SetTransform(D3DTS_PROJECTION, &camera.projection);
  device->SetTransform(D3DTS_VIEW, &camera.view);
}
