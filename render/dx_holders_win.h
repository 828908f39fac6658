// Plain holders of camera, light and material values. They register with the
// renderer like every other object but own no device resource; the renderer
// and the scene apply their values.
#pragma once
#include <d3d9.h>
#include <d3dx9math.h>

#include "render/d3d_object_win.h"

class CDXCamera : public CD3DObject {
 public:
  explicit CDXCamera(CDXRenderer* renderer);

  D3DXMATRIX view;
  D3DXMATRIX projection;
  D3DXVECTOR3 eye{0.0f, 0.0f, 0.0f};
  D3DXVECTOR3 look_at{0.0f, 0.0f, 0.0f};
  D3DXVECTOR3 up{0.0f, 1.0f, 0.0f};
  float near_plane = 1.0f;
  float far_plane = 4000.0f;
  D3DXMATRIX inverse_view;
  D3DXMATRIX inverse_projection;
  float field_of_view = D3DX_PI / 4.0f;  // vertical, radians
};

class CDXLight : public CD3DObject {
 public:
  explicit CDXLight(CDXRenderer* renderer);
  void SetDirectional(const D3DCOLORVALUE& diffuse, const D3DCOLORVALUE& specular,
                      const D3DCOLORVALUE& ambient, const D3DVECTOR& direction);

  D3DLIGHT9 light;
};

class CDXMaterial : public CD3DObject {
 public:
  explicit CDXMaterial(CDXRenderer* renderer);

  D3DMATERIAL9 material;
};
