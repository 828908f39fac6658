#include "render/dx_primitive_win.h"

#include <d3dx9.h>

#include <cstring>

#include "modelio/mesh_file.h"
#include "platform/fs.h"

namespace {

// Largest buffer one primitive asks for; keeps size arithmetic in range.
constexpr uint64_t kMaxBufferBytes = uint64_t{1} << 30;

// Locks a whole range of a buffer and unlocks it when it goes out of scope.
template <typename Buffer>
class ScopedLock {
 public:
  ScopedLock(Buffer* buffer, UINT offset, UINT bytes, DWORD flags) : buffer_(buffer) {
    hr_ = buffer_->Lock(offset, bytes, &data_, flags);
    if (FAILED(hr_)) data_ = nullptr;
  }
  ~ScopedLock() {
    if (data_ != nullptr) buffer_->Unlock();
  }
  ScopedLock(const ScopedLock&) = delete;
  ScopedLock& operator=(const ScopedLock&) = delete;
  HRESULT result() const { return hr_; }
  uint8_t* data() const { return static_cast<uint8_t*>(data_); }

 private:
  Buffer* buffer_;
  void* data_ = nullptr;
  HRESULT hr_;
};

}  // namespace

CDXPrimitive::CDXPrimitive(CDXRenderer* renderer) : CD3DObject(renderer) {}

CDXPrimitive::~CDXPrimitive() {
  ReleaseBuffers();
}

void CDXPrimitive::ReleaseBuffers() {
  SafeRelease(declaration_);
  SafeRelease(index_buffer_);
  SafeRelease(vertex_buffer_);
}

void CDXPrimitive::Empty() {
  ReleaseBuffers();
  saved_vertices_.clear();
  saved_indices_.clear();
  vertices_in_use_ = indices_in_use_ = 0;
  vertex_capacity_ = index_capacity_ = 0;
}

HRESULT CDXPrimitive::CreateBuffers(DWORD fvf, UINT vertex_count, UINT index_count, BOOL managed) {
  Empty();

  const UINT size = VertexSizeOfFormat(fvf);
  if (size == 0 || vertex_count == 0 || uint64_t{size} * vertex_count > kMaxBufferBytes ||
      uint64_t{index_count} * 2 > kMaxBufferBytes)
    return D3DERR_INVALIDCALL;
  fvf_ = fvf;
  vertex_size_ = size;
  vertex_capacity_ = vertex_count;
  index_capacity_ = index_count;
  managed_ = managed;
  const HRESULT hr = CreateDeviceBuffers();
  if (FAILED(hr)) vertex_capacity_ = index_capacity_ = 0;
  return hr;
}

HRESULT CDXPrimitive::CreateDeviceBuffers() {
  IDirect3DDevice9* device = Device();
  if (device == nullptr) return D3DERR_INVALIDCALL;
  const D3DPOOL pool = managed_ ? D3DPOOL_MANAGED : D3DPOOL_SYSTEMMEM;
  HRESULT hr =
      device->CreateVertexBuffer(vertex_size_ * vertex_capacity_, 0, fvf_, pool, &vertex_buffer_, nullptr);
  if (SUCCEEDED(hr) && index_capacity_ != 0)
    hr = device->CreateIndexBuffer(index_capacity_ * 2, 0, D3DFMT_INDEX16, pool, &index_buffer_, nullptr);
  D3DVERTEXELEMENT9 elements[MAX_FVF_DECL_SIZE];
  if (SUCCEEDED(hr)) hr = D3DXDeclaratorFromFVF(fvf_, elements);
  if (SUCCEEDED(hr)) hr = device->CreateVertexDeclaration(elements, &declaration_);
  if (FAILED(hr)) ReleaseBuffers();
  return hr;
}

HRESULT CDXPrimitive::ReleaseDeviceObjects() {
  // Already released: keep the copies the first release saved.
  if (vertex_buffer_ == nullptr && index_buffer_ == nullptr && declaration_ == nullptr) return S_OK;

  std::vector<uint8_t> vertices, indices;
  if (vertex_buffer_ != nullptr && vertices_in_use_ != 0) {
    const UINT bytes = vertices_in_use_ * vertex_size_;
    ScopedLock<IDirect3DVertexBuffer9> lock(vertex_buffer_, 0, bytes, D3DLOCK_READONLY);
    // Buffers of these pools outlive a reset; one that cannot be read is
    // kept rather than emptied.
    if (lock.data() == nullptr) return lock.result();
    vertices.assign(lock.data(), lock.data() + bytes);
  }
  if (index_buffer_ != nullptr) {
    const UINT bytes = index_capacity_ * 2;
    ScopedLock<IDirect3DIndexBuffer9> lock(index_buffer_, 0, bytes, D3DLOCK_READONLY);
    if (lock.data() == nullptr) return lock.result();
    indices.assign(lock.data(), lock.data() + bytes);
  }
  saved_vertices_.swap(vertices);
  saved_indices_.swap(indices);
  ReleaseBuffers();
  return S_OK;
}

HRESULT CDXPrimitive::RestoreDeviceObjects() {
  if (vertex_buffer_ != nullptr || vertex_capacity_ == 0) return S_OK;
  HRESULT hr = CreateDeviceBuffers();
  if (FAILED(hr)) return hr;  // the saved copies stay for the next try
  if (!saved_vertices_.empty()) {
    ScopedLock<IDirect3DVertexBuffer9> lock(vertex_buffer_, 0, static_cast<UINT>(saved_vertices_.size()), 0);
    if (lock.data() == nullptr)
      hr = lock.result();
    else
      std::memcpy(lock.data(), saved_vertices_.data(), saved_vertices_.size());
  }
  if (SUCCEEDED(hr) && index_buffer_ != nullptr && !saved_indices_.empty()) {
    ScopedLock<IDirect3DIndexBuffer9> lock(index_buffer_, 0, static_cast<UINT>(saved_indices_.size()), 0);
    if (lock.data() == nullptr)
      hr = lock.result();
    else
      std::memcpy(lock.data(), saved_indices_.data(), saved_indices_.size());
  }
  if (FAILED(hr)) {
    ReleaseBuffers();
    return hr;
  }
  saved_vertices_.clear();
  saved_indices_.clear();
  return S_OK;
}

int CDXPrimitive::LoadMeshBytes(const uint8_t* data, size_t size) {
  MeshFileHeader header;
  if (CheckMeshFile(data, size, &header) != MeshFileCheck::kOk) return 0;
  if (VertexSizeOfFormat(header.vertex_format) != kMeshVertexBytes) return 0;
  if (FAILED(CreateBuffers(header.vertex_format, header.vertex_count, header.index_count, FALSE))) return 0;

  const uint8_t* vertices = data + kMeshHeaderBytes;
  const uint8_t* indices = vertices + size_t{header.vertex_count} * kMeshVertexBytes;
  if (FAILED(WriteVertices(vertices, header.vertex_count)) ||
      (header.index_count != 0 &&
       FAILED(WriteIndices(reinterpret_cast<const uint16_t*>(indices), header.index_count)))) {
    Empty();
    return 0;
  }
  return 1;
}

HRESULT CDXPrimitive::WriteVertices(const void* vertices, UINT count) {
  if (vertex_buffer_ == nullptr || count > vertex_capacity_) return D3DERR_INVALIDCALL;
  if (count != 0) {
    ScopedLock<IDirect3DVertexBuffer9> lock(vertex_buffer_, 0, count * vertex_size_, 0);
    if (lock.data() == nullptr) return lock.result();
    std::memcpy(lock.data(), vertices, size_t{count} * vertex_size_);
  }
  vertices_in_use_ = count;
  return S_OK;
}

HRESULT CDXPrimitive::WriteIndices(const uint16_t* indices, UINT count) {
  if (count == 0) {
    indices_in_use_ = 0;
    return S_OK;
  }
  if (index_buffer_ == nullptr || count > index_capacity_) return D3DERR_INVALIDCALL;
  ScopedLock<IDirect3DIndexBuffer9> lock(index_buffer_, 0, count * 2, 0);
  if (lock.data() == nullptr) return lock.result();
  std::memcpy(lock.data(), indices, size_t{count} * 2);
  indices_in_use_ = count;
  return S_OK;
}

HRESULT CDXPrimitive::Draw(D3DPRIMITIVETYPE type) {
  IDirect3DDevice9* device = Device();
  if (device == nullptr || vertex_buffer_ == nullptr) return D3DERR_INVALIDCALL;
  const bool indexed = indices_in_use_ != 0 && index_buffer_ != nullptr;
  const UINT primitives = PrimitiveCountFor(type, indexed ? indices_in_use_ : vertices_in_use_);
  if (primitives == 0) return S_OK;

  HRESULT hr = indexed ? device->SetIndices(index_buffer_) : S_OK;
  if (SUCCEEDED(hr)) hr = device->SetFVF(fvf_);
  if (SUCCEEDED(hr)) hr = device->SetStreamSource(0, vertex_buffer_, 0, vertex_size_);
  if (FAILED(hr)) return hr;
  if (declaration_ != nullptr) device->SetVertexDeclaration(declaration_);
  if (indexed) return device->DrawIndexedPrimitive(type, 0, 0, vertices_in_use_, 0, primitives);
  return device->DrawPrimitive(type, 0, primitives);
}

HRESULT CDXPrimitive::CopyVerticesFrom(CDXPrimitive& other) {
  if (&other == this) return S_OK;
  if (vertex_buffer_ == nullptr || other.vertex_buffer_ == nullptr) return D3DERR_INVALIDCALL;
  if (other.vertices_in_use_ > vertex_capacity_ || other.indices_in_use_ > index_capacity_)
    return D3DERR_INVALIDCALL;
  VertexLayout from, to;
  if (!DescribeVertexFormat(other.fvf_, from) || !DescribeVertexFormat(fvf_, to)) return D3DERR_INVALIDCALL;

  const UINT count = other.vertices_in_use_;
  if (count != 0) {
    ScopedLock<IDirect3DVertexBuffer9> source(other.vertex_buffer_, 0, count * other.vertex_size_,
                                              D3DLOCK_READONLY);
    if (source.data() == nullptr) return source.result();
    ScopedLock<IDirect3DVertexBuffer9> target(vertex_buffer_, 0, count * vertex_size_, 0);
    if (target.data() == nullptr) return target.result();
    ConvertVertices(from, source.data(), to, target.data(), count);
  }
  vertices_in_use_ = count;
  indices_in_use_ = 0;
  if (other.index_buffer_ == nullptr || other.indices_in_use_ == 0) return S_OK;
  return AppendIndices(other.index_buffer_, other.indices_in_use_);
}

HRESULT CDXPrimitive::AppendIndices(IDirect3DIndexBuffer9* source, UINT count) {
  if (count == 0) return S_OK;
  if (source == nullptr || index_buffer_ == nullptr || source == index_buffer_ ||
      uint64_t{indices_in_use_} + count > index_capacity_)
    return D3DERR_INVALIDCALL;
  D3DINDEXBUFFER_DESC desc{};
  if (FAILED(source->GetDesc(&desc)) || desc.Format != D3DFMT_INDEX16 || desc.Size / 2 < count)
    return D3DERR_INVALIDCALL;
  ScopedLock<IDirect3DIndexBuffer9> from(source, 0, count * 2, D3DLOCK_READONLY);
  if (from.data() == nullptr) return from.result();
  ScopedLock<IDirect3DIndexBuffer9> to(index_buffer_, indices_in_use_ * 2, count * 2, 0);
  if (to.data() == nullptr) return to.result();
  std::memcpy(to.data(), from.data(), size_t{count} * 2);
  indices_in_use_ += count;
  return S_OK;
}

void CDXPrimitive::ComputeBounds() {
  VertexLayout layout;
  bounds_ = ComputeVertexBounds(layout, nullptr, 0);
  if (vertex_buffer_ == nullptr || vertices_in_use_ == 0 || !DescribeVertexFormat(fvf_, layout)) return;
  ScopedLock<IDirect3DVertexBuffer9> lock(vertex_buffer_, 0, vertices_in_use_ * vertex_size_,
                                          D3DLOCK_READONLY);
  if (lock.data() != nullptr) bounds_ = ComputeVertexBounds(layout, lock.data(), vertices_in_use_);
}

HRESULT CDXPrimitive::SphereMapTexCoords() {
  IDirect3DDevice9* device = Device();
  VertexLayout layout;
  if (device == nullptr || vertex_buffer_ == nullptr || !DescribeVertexFormat(fvf_, layout))
    return D3DERR_INVALIDCALL;
  if (SphereMapTexSet(fvf_) < 0 || vertices_in_use_ == 0) return S_OK;
  D3DXMATRIX world, view;
  device->GetTransform(D3DTS_WORLD, &world);
  device->GetTransform(D3DTS_VIEW, &view);
  const D3DXMATRIX m = world * view;
  ScopedLock<IDirect3DVertexBuffer9> lock(vertex_buffer_, 0, vertices_in_use_ * vertex_size_, 0);
  if (lock.data() == nullptr) return lock.result();
  ApplySphereMap(layout, lock.data(), vertices_in_use_, &m._11);
  return S_OK;
}
