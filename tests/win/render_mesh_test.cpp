// Meshes loaded from the mesh files of tests/data/win/meshes, drawn, copied
// into another format, and the line batches.
#include <d3dx9.h>

#include <cstring>

#include "render/dx_primitive_win.h"
#include "render/im_batch_win.h"
#include "render_test_support.h"

namespace {

std::u16string MeshFile(const char* name) {
  return SourceFile("tests/data/win/meshes/") + std::u16string(name, name + std::strlen(name)) + u".mesh";
}

// Loads a mesh file of tests/data/win/meshes as the preview loads mesh bytes.
int LoadMesh(CDXPrimitive& mesh, const char* name) {
  const std::vector<uint8_t> bytes = ReadBytes(MeshFile(name));
  return mesh.LoadMeshBytes(bytes.data(), bytes.size());
}

class MeshDrawing : public DeviceTest {
 protected:
  // Draws with every transform the identity, so positions are clip space:
  // white where the mesh covers the screen.
  Pixels DrawAndCapture(CDXPrimitive& mesh, D3DPRIMITIVETYPE type) {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    for (D3DTRANSFORMSTATETYPE t : {D3DTS_WORLD, D3DTS_VIEW, D3DTS_PROJECTION})
      renderer_->Device()->SetTransform(t, &identity);
    BeginPlainFrame(*renderer_);
    drawn_ = mesh.Draw(type);
    return EndFrame(*renderer_);
  }
  HRESULT drawn_ = E_FAIL;
};

}  // namespace

TEST_F(MeshDrawing, IndexedAndPlainMeshFilesLoadAndDraw) {
  for (bool indexed : {true, false}) {
    CDXPrimitive mesh(renderer_);
    ASSERT_EQ(LoadMesh(mesh, indexed ? "indexed" : "plain"), 1) << indexed;
    EXPECT_EQ(mesh.Format(), 0x112u);
    EXPECT_EQ(mesh.VerticesInUse(), indexed ? 4u : 6u);
    EXPECT_EQ(mesh.IndicesInUse(), indexed ? 6u : 0u);
    EXPECT_EQ(mesh.IndexBuffer() != nullptr, indexed);
    const Pixels pixels = DrawAndCapture(mesh, D3DPT_TRIANGLELIST);
    EXPECT_EQ(drawn_, D3D_OK);
    ASSERT_EQ(pixels.width, 320u);
    EXPECT_EQ(pixels.At(160, 120) & 0xFFFFFF, 0xFFFFFFu) << indexed;
    EXPECT_EQ(pixels.At(10, 10) & 0xFFFFFF, 0u);
    EXPECT_EQ(pixels.At(100, 120) & 0xFFFFFF, 0xFFFFFFu);  // x -0.375 lies inside
  }
}

TEST_F(MeshDrawing, MalformedOrMissingMeshFilesAreRefused) {
  CDXPrimitive mesh(renderer_);
  for (const char* name :
       {"wrong_number", "cut_short", "index_past_vertices", "vertex_count_past_file", "missing"})
    EXPECT_EQ(LoadMesh(mesh, name), 0) << name;
  EXPECT_EQ(mesh.VertexBuffer(), nullptr);
  EXPECT_EQ(mesh.VerticesInUse(), 0u);
}

TEST_F(MeshDrawing, TooFewVerticesForOnePrimitiveDrawNothing) {
  CDXPrimitive strip(renderer_);
  ASSERT_HRESULT_SUCCEEDED(strip.CreateBuffers(0x112, 4, 0, FALSE));
  const std::vector<uint8_t> file = ReadBytes(MeshFile("indexed"));
  ASSERT_HRESULT_SUCCEEDED(strip.WriteVertices(file.data() + 16, 1));
  Pixels pixels = DrawAndCapture(strip, D3DPT_LINESTRIP);
  EXPECT_EQ(drawn_, S_OK);
  EXPECT_EQ(pixels.CountNotBlack(), 0u);
  pixels = DrawAndCapture(strip, D3DPT_TRIANGLESTRIP);
  EXPECT_EQ(drawn_, S_OK);
  EXPECT_EQ(pixels.CountNotBlack(), 0u);
}

TEST_F(MeshDrawing, CopyIntoTheReflectionFormatKeepsVerticesAndIndices) {
  CDXPrimitive source(renderer_), body(renderer_);
  ASSERT_EQ(LoadMesh(source, "indexed"), 1);
  ASSERT_HRESULT_SUCCEEDED(body.CreateBuffers(0x212, 4, 6, FALSE));
  ASSERT_HRESULT_SUCCEEDED(body.CopyVerticesFrom(source));
  EXPECT_EQ(body.VerticesInUse(), 4u);
  EXPECT_EQ(body.IndicesInUse(), 6u);
  body.ComputeBounds();
  EXPECT_EQ(body.Bounds().min[0], -0.5f);
  EXPECT_EQ(body.Bounds().max[1], 0.5f);
  EXPECT_EQ(body.Bounds().min[2], 0.5f);

  void* data = nullptr;
  ASSERT_HRESULT_SUCCEEDED(body.VertexBuffer()->Lock(0, 0, &data, D3DLOCK_READONLY));
  float v[10];
  std::memcpy(v, static_cast<uint8_t*>(data) + 40 * 3, sizeof v);  // the fourth corner
  body.VertexBuffer()->Unlock();
  EXPECT_EQ(v[0], 0.5f);   // x
  EXPECT_EQ(v[5], -1.0f);  // normal z
  EXPECT_EQ(v[6], 1.0f);   // u
  EXPECT_EQ(v[7], 1.0f);   // v
  EXPECT_EQ(v[8], 0.0f);   // reflection set, empty until mapped
  ASSERT_HRESULT_SUCCEEDED(body.IndexBuffer()->Lock(0, 0, &data, D3DLOCK_READONLY));
  uint16_t indices[6];
  std::memcpy(indices, data, sizeof indices);
  body.IndexBuffer()->Unlock();
  EXPECT_EQ(indices[5], 3);

  // Sphere mapping with identity world and view: the corners face the viewer.
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  renderer_->Device()->SetTransform(D3DTS_WORLD, &identity);
  renderer_->Device()->SetTransform(D3DTS_VIEW, &identity);
  ASSERT_HRESULT_SUCCEEDED(body.SphereMapTexCoords());
  ASSERT_HRESULT_SUCCEEDED(body.VertexBuffer()->Lock(0, 0, &data, D3DLOCK_READONLY));
  std::memcpy(v, static_cast<uint8_t*>(data), sizeof v);
  body.VertexBuffer()->Unlock();
  EXPECT_EQ(v[8], 0.5f);
  EXPECT_EQ(v[9], 0.5f);
  EXPECT_EQ(v[6], 0.0f);  // the texture set itself stays
  renderer_->SetWorldIdentity();

  // A copy that does not fit is refused and changes nothing.
  CDXPrimitive small(renderer_);
  ASSERT_HRESULT_SUCCEEDED(small.CreateBuffers(0x212, 3, 6, FALSE));
  EXPECT_TRUE(FAILED(small.CopyVerticesFrom(source)));
  EXPECT_EQ(small.VerticesInUse(), 0u);
  CDXPrimitive few_indices(renderer_);
  ASSERT_HRESULT_SUCCEEDED(few_indices.CreateBuffers(0x212, 4, 5, FALSE));
  EXPECT_TRUE(FAILED(few_indices.CopyVerticesFrom(source)));
  EXPECT_TRUE(FAILED(body.AppendIndices(source.IndexBuffer(), 1)));  // already full
  EXPECT_EQ(body.IndicesInUse(), 6u);
}

TEST_F(MeshDrawing, LineBatchesStopAtTheirCapacityAndDrawOnlyWhatIsInUse) {
  CIMLine3D lines(renderer_);
  ASSERT_HRESULT_SUCCEEDED(lines.Create(2));
  lines.AddLine(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 0, 0));
  lines.AddLine(D3DXVECTOR3(0, 1, 0), D3DXVECTOR3(1, 1, 0));
  const std::vector<WorldVertex> full(lines.Vertices(), lines.Vertices() + 4);
  lines.AddLine(D3DXVECTOR3(5, 5, 5), D3DXVECTOR3(6, 6, 6));
  EXPECT_EQ(lines.Lines(), 2u);
  EXPECT_EQ(std::memcmp(full.data(), lines.Vertices(), 4 * sizeof(WorldVertex)), 0);
  EXPECT_EQ(full[3].y, 1.0f);
  EXPECT_EQ(full[3].diffuse, 0xFFFFFFFFu);
  EXPECT_EQ(full[3].specular, 0xFFFFFFFFu);
  ASSERT_HRESULT_SUCCEEDED(lines.Draw());
  EXPECT_EQ(lines.Primitive().VerticesInUse(), 4u);
  lines.Clear();
  EXPECT_EQ(lines.Primitive().VerticesInUse(), 0u);  // nothing stale drawn
  ASSERT_HRESULT_SUCCEEDED(lines.Draw());

  // A 2D line across the screen shows in the frame.
  CIMLine screen(renderer_);
  ASSERT_HRESULT_SUCCEEDED(screen.Create());
  EXPECT_EQ(screen.Capacity(), 256u);
  screen.AddLine(0.0f, 120.5f, 320.0f, 120.5f, 0xFF00FF00);
  BeginPlainFrame(*renderer_);
  ASSERT_HRESULT_SUCCEEDED(screen.Draw());
  const Pixels pixels = EndFrame(*renderer_);
  EXPECT_GT(pixels.CountNotBlack(), 200u);
  EXPECT_EQ(pixels.At(160, 120) & 0xFFFFFF, 0x00FF00u);
}
