// Immediate-mode batches: lines and sprite quads collected in system memory
// each frame and drawn through one primitive. The primitive is an object of
// the renderer's list, so it survives device resets by itself.
#pragma once
#include <d3d9.h>
#include <d3dx9math.h>

#include <memory>
#include <vector>

#include "render/dx_primitive_win.h"

class CIMObject {
 public:
  virtual ~CIMObject() = default;
  virtual HRESULT ReleaseDeviceObjects() { return 0; }
  virtual HRESULT RestoreDeviceObjects() { return 0; }
};

// Pre-transformed vertex (format 0x1C4, 32 bytes).
struct ScreenVertex {
  float x, y, z, rhw;
  D3DCOLOR diffuse, specular;
  float u, v;
};
// World-space vertex (format 0x1C2, 28 bytes).
struct WorldVertex {
  float x, y, z;
  D3DCOLOR diffuse, specular;
  float u, v;
};

// Lines drawn as one line list; shared by the 2D and 3D batches.
template <typename Vertex, DWORD kFormat>
class CIMLineBatch : public CIMObject {
 public:
  explicit CIMLineBatch(CDXRenderer* renderer) : primitive_(renderer) {}
  HRESULT Create(UINT capacity_in_lines) {
    vertices_.assign(size_t{capacity_in_lines} * 2, Vertex{});
    capacity_ = capacity_in_lines;
    lines_ = 0;
    uploaded_ = false;
    return primitive_.CreateBuffers(kFormat, capacity_in_lines * 2, 0, FALSE);
  }
  void Clear() {
    lines_ = 0;
    uploaded_ = false;
    primitive_.SetVerticesInUse(0);
  }
  // Uploads new lines once, then draws what is in use.
  HRESULT Draw() {
    if (lines_ != 0 && !uploaded_) {
      const HRESULT hr = primitive_.WriteVertices(vertices_.data(), lines_ * 2);
      if (FAILED(hr)) return hr;
      uploaded_ = true;
    }
    return primitive_.Draw(D3DPT_LINELIST);
  }
  UINT Capacity() const { return capacity_; }
  UINT Lines() const { return lines_; }
  const Vertex* Vertices() const { return vertices_.data(); }
  CDXPrimitive& Primitive() { return primitive_; }

 protected:
  // The next free pair of vertices, or null when the batch is full.
  Vertex* NextLine() {
    if (lines_ >= capacity_) return nullptr;
    uploaded_ = false;
    return &vertices_[size_t{lines_++} * 2];
  }

 private:
  std::vector<Vertex> vertices_;
  CDXPrimitive primitive_;
  UINT capacity_ = 0;
  UINT lines_ = 0;
  bool uploaded_ = false;
};

constexpr UINT kScreenLineCapacity = 256;

class CIMLine
    : public CIMLineBatch<ScreenVertex, D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1> {
 public:
  explicit CIMLine(CDXRenderer* renderer) : CIMLineBatch(renderer) {}
  HRESULT Create() { return CIMLineBatch::Create(kScreenLineCapacity); }
  // A line in screen pixels; ignored when the batch is full.
  void AddLine(float x0, float y0, float x1, float y1, D3DCOLOR colour);
};

class CIMLine3D
    : public CIMLineBatch<WorldVertex, D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1> {
 public:
  explicit CIMLine3D(CDXRenderer* renderer) : CIMLineBatch(renderer) {}
  // A white line in world space; ignored when the batch is full.
  void AddLine(const D3DXVECTOR3& from, const D3DXVECTOR3& to);
};

constexpr UINT kSpriteQuadCapacity = 10;

class CIMSprite : public CIMObject {
 public:
  explicit CIMSprite(CDXRenderer* renderer) : primitive_(renderer) {}
  // Buffers for ten quads and the fixed index pattern; the texture size
  // turns texel rectangles into texture coordinates.
  HRESULT Create(float texture_width = 256.0f, float texture_height = 256.0f);
  void Clear() { quads_ = 0; }
  // A screen rectangle showing a texel rectangle; ignored when full.
  void AddQuad(const RECT& screen, const RECT& texels, D3DCOLOR colour);
  HRESULT Draw();
  UINT Quads() const { return quads_; }
  CDXPrimitive& Primitive() { return primitive_; }

 private:
  ScreenVertex vertices_[kSpriteQuadCapacity * 4] = {};
  CDXPrimitive primitive_;
  UINT quads_ = 0;
  float texture_width_ = 256.0f;
  float texture_height_ = 256.0f;
};
