// The compiler's preview objects backed by Direct3D: meshes are primitives
// loaded from mesh files, textures are drawn from PNG bytes, guide lines are
// a 3D line batch. Every object registers with the renderer, so a device
// reset releases and restores it with the rest.
#pragma once
#include <memory>

#include "compiler/preview_factory.h"
#include "render/dx_primitive_win.h"
#include "render/dx_texture_win.h"
#include "render/im_batch_win.h"

class D3DPreviewMesh : public PreviewMesh {
 public:
  std::unique_ptr<CDXPrimitive> primitive;
};

class D3DPreviewTexture : public PreviewTexture {
 public:
  std::unique_ptr<CDXTexture> texture;
};

class D3DPreviewLineBatch : public PreviewLineBatch {
 public:
  std::unique_ptr<CIMLine3D> lines;
};

class D3DPreviewFactory : public PreviewFactory {
 public:
  explicit D3DPreviewFactory(CDXRenderer* renderer) : renderer_(renderer) {}

  std::unique_ptr<PreviewMesh> LoadMeshBytes(const uint8_t* data, size_t size,
                                             const std::u16string& source) override;
  std::unique_ptr<PreviewMesh> CopySphereMapped(const PreviewMesh& source) override;
  std::unique_ptr<PreviewTexture> CreateTexture(const uint8_t* png, size_t size) override;
  std::unique_ptr<PreviewLineBatch> CreateLineBatch(uint32_t capacity_lines) override;

 private:
  CDXRenderer* renderer_;
};

// What the preview draws with; null for an object of another factory or
// one whose device object could not be made.
CDXPrimitive* PrimitiveOf(const PreviewMesh* mesh);
CDXTexture* TextureOf(const PreviewTexture* texture);
CIMLine3D* LinesOf(const PreviewLineBatch* lines);
