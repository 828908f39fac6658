#include "render/dx_holders_win.h"

CDXCamera::CDXCamera(CDXRenderer* renderer) : CD3DObject(renderer) {
  D3DXMatrixIdentity(&view);
  D3DXMatrixIdentity(&projection);
  D3DXMatrixIdentity(&inverse_view);
  D3DXMatrixIdentity(&inverse_projection);
}

CDXLight::CDXLight(CDXRenderer* renderer) : CD3DObject(renderer), light{} {
  SetDirectional({1.0f, 1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}, {0.2f, 0.2f, 0.2f, 0.2f},
                 {0.0f, 0.5f, 1.0f});
}

void CDXLight::SetDirectional(const D3DCOLORVALUE& diffuse, const D3DCOLORVALUE& specular,
                              const D3DCOLORVALUE& ambient, const D3DVECTOR& direction) {
  light = D3DLIGHT9{};
  light.Type = D3DLIGHT_DIRECTIONAL;
  light.Diffuse = diffuse;
  light.Specular = specular;
  light.Ambient = ambient;
  light.Direction = direction;
  light.Range = 500.0f;
  light.Attenuation0 = 0.0f;
  light.Attenuation1 = 1.0f;
  light.Attenuation2 = 0.0f;
}

CDXMaterial::CDXMaterial(CDXRenderer* renderer) : CD3DObject(renderer), material{} {
  material.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
  material.Ambient = {0.4f, 0.4f, 0.4f, 0.5f};
  material.Specular = {0.8f, 0.8f, 0.8f, 0.8f};
  material.Emissive = {0.0f, 0.0f, 0.0f, 0.0f};
  material.Power = 10.0f;
}
