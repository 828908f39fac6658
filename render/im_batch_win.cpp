#include "render/im_batch_win.h"

namespace {
constexpr D3DCOLOR kWhite = 0xFFFFFFFF;
}  // namespace

void CIMLine::AddLine(float x0, float y0, float x1, float y1, D3DCOLOR colour) {
  ScreenVertex* v = NextLine();
  if (v == nullptr) return;
  v[0] = ScreenVertex{x0, y0, 0.0f, 1.0f, colour, colour, 0.0f, 0.0f};
  v[1] = ScreenVertex{x1, y1, 0.0f, 1.0f, colour, colour, 0.0f, 0.0f};
}

void CIMLine3D::AddLine(const D3DXVECTOR3& from, const D3DXVECTOR3& to) {
  WorldVertex* v = NextLine();
  if (v == nullptr) return;
  v[0] = WorldVertex{from.x, from.y, from.z, kWhite, kWhite, 0.0f, 0.0f};
  v[1] = WorldVertex{to.x, to.y, to.z, kWhite, kWhite, 0.0f, 0.0f};
}

HRESULT CIMSprite::Create(float texture_width, float texture_height) {
  texture_width_ = texture_width;
  texture_height_ = texture_height;
  quads_ = 0;
  HRESULT hr = primitive_.CreateBuffers(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1,
                                        kSpriteQuadCapacity * 4, kSpriteQuadCapacity * 6, TRUE);
  if (FAILED(hr)) return hr;
  uint16_t indices[kSpriteQuadCapacity * 6];
  for (UINT k = 0; k < kSpriteQuadCapacity; ++k) {
    const uint16_t v = static_cast<uint16_t>(4 * k);
    const uint16_t quad[6] = {v,
                              static_cast<uint16_t>(v + 1),
                              static_cast<uint16_t>(v + 2),
                              static_cast<uint16_t>(v + 2),
                              static_cast<uint16_t>(v + 1),
                              static_cast<uint16_t>(v + 3)};
    for (int i = 0; i < 6; ++i) indices[6 * k + i] = quad[i];
  }
  hr = primitive_.WriteIndices(indices, kSpriteQuadCapacity * 6);
  primitive_.SetIndicesInUse(0);
  return hr;
}

void CIMSprite::AddQuad(const RECT& screen, const RECT& texels, D3DCOLOR colour) {
  if (quads_ >= kSpriteQuadCapacity) return;
  const float left = static_cast<float>(screen.left), top = static_cast<float>(screen.top);
  const float right = static_cast<float>(screen.right), bottom = static_cast<float>(screen.bottom);
  const float u0 = texels.left / texture_width_, v0 = texels.top / texture_height_;
  const float u1 = texels.right / texture_width_, v1 = texels.bottom / texture_height_;
  ScreenVertex* v = &vertices_[quads_ * 4];
  v[0] = ScreenVertex{left, top, 0.0f, 1.0f, colour, colour, u0, v0};
  v[1] = ScreenVertex{right, top, 0.0f, 1.0f, colour, colour, u1, v0};
  v[2] = ScreenVertex{left, bottom, 0.0f, 1.0f, colour, colour, u0, v1};
  v[3] = ScreenVertex{right, bottom, 0.0f, 1.0f, colour, colour, u1, v1};
  ++quads_;
}

HRESULT CIMSprite::Draw() {
  if (quads_ == 0) return S_OK;
  HRESULT hr = primitive_.WriteVertices(vertices_, quads_ * 4);
  if (FAILED(hr)) return hr;
  primitive_.SetIndicesInUse(quads_ * 6);
  return primitive_.Draw(D3DPT_TRIANGLELIST);
}
