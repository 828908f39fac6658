#include "render/preview_factory_win.h"

#include "render/image_utils_win.h"

namespace {

void CopyBounds(const BoundingBox& box, PreviewMesh& mesh) {
  for (int axis = 0; axis < 3; ++axis) {
    mesh.bounds_min[axis] = box.min[axis];
    mesh.bounds_max[axis] = box.max[axis];
  }
}

void DescribeLoaded(const CDXPrimitive& primitive, PreviewMesh& mesh) {
  mesh.vertex_format = primitive.Format();
  mesh.vertex_count = primitive.VerticesInUse();
  mesh.index_count = primitive.IndicesInUse();
  mesh.loaded = true;
}

}  // namespace

std::unique_ptr<PreviewMesh> D3DPreviewFactory::LoadMeshBytes(const uint8_t* data, size_t size,
                                                               const std::u16string& source) {
  auto mesh = std::make_unique<D3DPreviewMesh>();
  mesh->source = source;
  mesh->primitive = std::make_unique<CDXPrimitive>(renderer_);
  if (mesh->primitive->LoadMeshBytes(data, size) == 1) {
    mesh->primitive->ComputeBounds();
    DescribeLoaded(*mesh->primitive, *mesh);
    CopyBounds(mesh->primitive->Bounds(), *mesh);
  }
  return mesh;
}

std::unique_ptr<PreviewMesh> D3DPreviewFactory::CopySphereMapped(const PreviewMesh& source) {
  auto mesh = std::make_unique<D3DPreviewMesh>();
  mesh->vertex_format = kSphereMappedVertexFormat;
  mesh->primitive = std::make_unique<CDXPrimitive>(renderer_);
  CDXPrimitive* from = PrimitiveOf(&source);
  // A source that did not load gives an empty copy, as it is itself empty.
  if (from == nullptr || from->VertexCapacity() == 0) return mesh;
  CDXPrimitive& to = *mesh->primitive;
  const BOOL managed = FALSE;  // as the mesh file loader makes them
  if (FAILED(to.CreateBuffers(kSphereMappedVertexFormat, from->VertexCapacity(), from->IndexCapacity(),
                              managed)) ||
      FAILED(to.CopyVerticesFrom(*from)))
    return mesh;
  to.ComputeBounds();
  DescribeLoaded(to, *mesh);
  CopyBounds(to.Bounds(), *mesh);
  return mesh;
}

std::unique_ptr<PreviewTexture> D3DPreviewFactory::CreateTexture(const uint8_t* png, size_t size) {
  DibImage dib;
  if (!DecodeImageToDib(png, size, dib)) return nullptr;
  auto texture = std::make_unique<D3DPreviewTexture>();
  texture->texture = std::make_unique<CDXTexture>(renderer_);
  const HRESULT hr = texture->texture->CreateFromImage24(dib);
  texture->width = static_cast<uint32_t>(dib.width);
  texture->height = static_cast<uint32_t>(dib.height);
  texture->source_bytes = size;
  DeleteDibImage(dib);
  if (FAILED(hr)) return nullptr;
  return texture;
}

std::unique_ptr<PreviewLineBatch> D3DPreviewFactory::CreateLineBatch(uint32_t capacity_lines) {
  auto batch = std::make_unique<D3DPreviewLineBatch>();
  batch->capacity_lines = capacity_lines;
  batch->lines = std::make_unique<CIMLine3D>(renderer_);
  if (FAILED(batch->lines->Create(capacity_lines))) return nullptr;
  return batch;
}

CDXPrimitive* PrimitiveOf(const PreviewMesh* mesh) {
  const auto* d3d = dynamic_cast<const D3DPreviewMesh*>(mesh);
  return d3d != nullptr ? d3d->primitive.get() : nullptr;
}

CDXTexture* TextureOf(const PreviewTexture* texture) {
  const auto* d3d = dynamic_cast<const D3DPreviewTexture*>(texture);
  return d3d != nullptr ? d3d->texture.get() : nullptr;
}

CIMLine3D* LinesOf(const PreviewLineBatch* lines) {
  const auto* d3d = dynamic_cast<const D3DPreviewLineBatch*>(lines);
  return d3d != nullptr ? d3d->lines.get() : nullptr;
}
