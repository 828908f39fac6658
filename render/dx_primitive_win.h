// A vertex buffer with an optional 16-bit index buffer and the vertex
// declaration of its format: the mesh container of the compiler's preview
// meshes and of the line and sprite batches.
#pragma once
#include <d3d9.h>

#include <string>
#include <vector>

#include "render/d3d_object_win.h"
#include "render/vertex_format.h"

class CDXPrimitive : public CD3DObject {
 public:
  explicit CDXPrimitive(CDXRenderer* renderer);
  ~CDXPrimitive() override;

  // Copies the contents to system memory and releases the buffers.
  HRESULT ReleaseDeviceObjects() override;
  // Re-creates the buffers and copies the saved contents back.
  HRESULT RestoreDeviceObjects() override;

  // New buffers for `vertex_count` vertices of format `fvf` and, when
  // `index_count` is not 0, that many 16-bit indices; in the managed pool
  // when `managed` is set, else in system memory. Nothing is in use yet.
  HRESULT CreateBuffers(DWORD fvf, UINT vertex_count, UINT index_count, BOOL managed);
  // Loads the bytes of a mesh file into new buffers (unmanaged). 1 on
  // success; 0 for a malformed file or a buffer failure.
  int LoadMeshBytes(const uint8_t* data, size_t size);
  // Draws what is in use. Too few vertices or indices for one primitive
  // draw nothing.
  HRESULT Draw(D3DPRIMITIVETYPE type);

  // Takes over the other primitive's vertices, converted into this format,
  // and its indices. Fails when they do not fit this primitive's capacity.
  HRESULT CopyVerticesFrom(CDXPrimitive& other);
  // Appends `count` indices of `source` after those in use.
  HRESULT AppendIndices(IDirect3DIndexBuffer9* source, UINT count);
  // Writes vertices from the start of the buffer and makes them the ones in use.
  HRESULT WriteVertices(const void* vertices, UINT count);
  HRESULT WriteIndices(const uint16_t* indices, UINT count);
  void ComputeBounds();
  // Reflection texture coordinates from world x view (see ApplySphereMap).
  HRESULT SphereMapTexCoords();

  DWORD Format() const { return fvf_; }
  UINT VertexSize() const { return vertex_size_; }
  UINT VertexCapacity() const { return vertex_capacity_; }
  UINT IndexCapacity() const { return index_capacity_; }
  UINT VerticesInUse() const { return vertices_in_use_; }
  UINT IndicesInUse() const { return indices_in_use_; }
  void SetVerticesInUse(UINT count) {
    vertices_in_use_ = count <= vertex_capacity_ ? count : vertex_capacity_;
  }
  void SetIndicesInUse(UINT count) { indices_in_use_ = count <= index_capacity_ ? count : index_capacity_; }
  IDirect3DVertexBuffer9* VertexBuffer() const { return vertex_buffer_; }
  IDirect3DIndexBuffer9* IndexBuffer() const { return index_buffer_; }
  const BoundingBox& Bounds() const { return bounds_; }
  // True between a release and the restore that puts the contents back.
  bool HoldsSavedCopy() const { return !saved_vertices_.empty() || !saved_indices_.empty(); }

 private:
  HRESULT CreateDeviceBuffers();
  void ReleaseBuffers();
  void Empty();  // no buffers, no capacity, nothing saved

  DWORD fvf_ = 0;
  IDirect3DVertexBuffer9* vertex_buffer_ = nullptr;
  IDirect3DIndexBuffer9* index_buffer_ = nullptr;
  UINT index_capacity_ = 0;
  UINT vertex_capacity_ = 0;
  UINT vertex_size_ = 0;
  UINT indices_in_use_ = 0;
  UINT vertices_in_use_ = 0;
  BOOL managed_ = FALSE;
  BoundingBox bounds_{{99999.0f, 99999.0f, 99999.0f}, {-99999.0f, -99999.0f, -99999.0f}};
  std::vector<uint8_t> saved_vertices_;
  std::vector<uint8_t> saved_indices_;
  IDirect3DVertexDeclaration9* declaration_ = nullptr;
};
