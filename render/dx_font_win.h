// A D3DX font with the sprite it draws through.
#pragma once
#include <d3dx9core.h>

#include "render/d3d_object_win.h"

class CDXFont : public CD3DObject {
 public:
  explicit CDXFont(CDXRenderer* renderer);
  ~CDXFont() override;

  HRESULT ReleaseDeviceObjects() override;
  // Creates the font from `description`, then the sprite.
  HRESULT RestoreDeviceObjects() override;

  // Sets the description and creates font and sprite.
  HRESULT Create(const D3DXFONT_DESCW& font_description);

  ID3DXFont* Font() const { return font_; }
  ID3DXSprite* Sprite() const { return sprite_; }

  D3DXFONT_DESCW description{};

 private:
  ID3DXFont* font_ = nullptr;
  ID3DXSprite* sprite_ = nullptr;
};
