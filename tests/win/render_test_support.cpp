#include "render_test_support.h"

#include <gdiplus.h>
#include <objbase.h>

#include <cstring>

#include "platform/fs.h"

namespace {

// COM and GDI+ for the whole run, as the program starts them.
class RenderEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
  }
  void TearDown() override {
    Gdiplus::GdiplusShutdown(token_);
    CoUninitialize();
  }

 private:
  ULONG_PTR token_ = 0;
};

const ::testing::Environment* const kEnvironment = ::testing::AddGlobalTestEnvironment(new RenderEnvironment);

// Builds the effect body; offsets are relative to the byte after the tag
// and the table offset, as D3DX reads them.
class EffectWriter {
 public:
  uint32_t Here() const { return static_cast<uint32_t>(body_.size()); }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) body_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  uint32_t Name(const char* text) {
    const uint32_t at = Here();
    const uint32_t length = static_cast<uint32_t>(std::strlen(text)) + 1;
    U32(length);
    body_.insert(body_.end(), text, text + length);
    while (body_.size() % 4 != 0) body_.push_back(0);
    return at;
  }
  uint32_t Floats(int count, float value) {
    const uint32_t at = Here();
    for (int i = 0; i < count; ++i) {
      uint32_t bits;
      std::memcpy(&bits, &value, 4);
      U32(bits);
    }
    return at;
  }
  std::vector<uint8_t>& Body() { return body_; }

 private:
  std::vector<uint8_t> body_;
};

constexpr uint32_t kTypeFloat = 3, kTypeTexture = 5;
constexpr uint32_t kClassVector = 1, kClassMatrixRows = 2, kClassObject = 4;

}  // namespace

HWND CreateHiddenWindow(int width, int height) {
  static const wchar_t kClass[] = L"RailwickRenderTest";
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);  // a second registration fails harmlessly
  return CreateWindowExW(0, kClass, L"render test", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

std::vector<uint8_t> BuildTestEffect() {
  EffectWriter w;
  const uint32_t no_semantic = w.Here();
  w.U32(0);

  struct Parameter {
    uint32_t type_at, value_at;
  };
  std::vector<Parameter> parameters;
  for (const char* matrix : {"matL", "matWVP"}) {
    const uint32_t name = w.Name(matrix);
    const uint32_t type_at = w.Here();
    for (uint32_t v : {kTypeFloat, kClassMatrixRows, name, no_semantic, 0u, 4u, 4u}) w.U32(v);
    parameters.push_back({type_at, w.Floats(16, 0.0f)});
  }
  {
    const uint32_t name = w.Name("vCol");
    const uint32_t type_at = w.Here();
    for (uint32_t v : {kTypeFloat, kClassVector, name, no_semantic, 0u, 4u, 1u}) w.U32(v);
    parameters.push_back({type_at, w.Floats(4, 1.0f)});
  }
  {
    const uint32_t name = w.Name("TexSrcColor");
    const uint32_t type_at = w.Here();
    for (uint32_t v : {kTypeTexture, kClassObject, name, no_semantic, 0u}) w.U32(v);
    const uint32_t value_at = w.Here();
    w.U32(1);  // object id
    parameters.push_back({type_at, value_at});
  }
  const uint32_t technique_name = w.Name("TestTechnique");
  const uint32_t pass_name = w.Name("P0");

  const uint32_t table = w.Here();
  w.U32(static_cast<uint32_t>(parameters.size()));
  w.U32(1);  // techniques
  w.U32(0);
  w.U32(2);  // objects: id 0 unused, id 1 the texture
  for (const Parameter& p : parameters) {
    for (uint32_t v : {p.type_at, p.value_at, 0u, 0u}) w.U32(v);  // flags, annotations
  }
  for (uint32_t v : {technique_name, 0u, 1u}) w.U32(v);  // annotations, passes
  for (uint32_t v : {pass_name, 0u, 0u}) w.U32(v);       // annotations, states
  w.U32(0);                                              // strings
  w.U32(0);                                              // resources

  std::vector<uint8_t> file = {0x01, 0x09, 0xFF, 0xFE};
  for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(table >> (8 * i)));
  file.insert(file.end(), w.Body().begin(), w.Body().end());
  return file;
}

size_t Pixels::CountNotBlack() const {
  size_t count = 0;
  for (uint32_t p : argb)
    if ((p & 0x00FFFFFF) != 0) ++count;
  return count;
}

bool ReadSurfacePixels(IDirect3DSurface9* surface, Pixels& pixels) {
  D3DSURFACE_DESC desc{};
  if (FAILED(surface->GetDesc(&desc))) return false;
  if (desc.Format != D3DFMT_A8R8G8B8 && desc.Format != D3DFMT_X8R8G8B8) return false;
  D3DLOCKED_RECT locked{};
  if (FAILED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return false;
  pixels.width = desc.Width;
  pixels.height = desc.Height;
  pixels.argb.resize(size_t{desc.Width} * desc.Height);
  for (UINT y = 0; y < desc.Height; ++y)
    std::memcpy(&pixels.argb[size_t{y} * desc.Width],
                static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch, desc.Width * 4);
  surface->UnlockRect();
  return true;
}

Pixels ReadBackBuffer(CDXRenderer& renderer) {
  Pixels pixels;
  IDirect3DSurface9* copy = nullptr;
  if (SUCCEEDED(renderer.CaptureBackBuffer(&copy))) {
    ReadSurfacePixels(copy, pixels);
    copy->Release();
  }
  return pixels;
}

std::u16string ScratchFolder() {
  static int counter = 0;
  std::u16string folder = FsTempDirectory() + u"render" + std::u16string(1, u'a' + (counter++ % 26));
  FsCreateDirectory(folder);
  return folder + u"\\";
}

std::u16string OutputPath(const char* name) {
  std::u16string folder;
  for (const char* p = RAILWICK_BINARY_DIR; *p != 0; ++p) folder.push_back(*p == '/' ? u'\\' : char16_t(*p));
  folder += u"\\render-test-output";
  FsCreateDirectory(folder);
  std::u16string path = folder + u"\\";
  for (const char* p = name; *p != 0; ++p) path.push_back(char16_t(*p));
  return path;
}

std::vector<uint8_t> ReadBytes(const std::u16string& path) {
  std::vector<uint8_t> bytes;
  FsReadFile(path, bytes);
  return bytes;
}

void WriteBytes(const std::u16string& path, const std::vector<uint8_t>& bytes) {
  ASSERT_TRUE(FsWriteFileAtomic(path, bytes.data(), bytes.size()));
}

bool IsRed(uint32_t argb) {
  return ((argb >> 16) & 0xFF) > 0xC0 && ((argb >> 8) & 0xFF) < 0x40 && (argb & 0xFF) < 0x40;
}

bool IsBlue(uint32_t argb) {
  return ((argb >> 16) & 0xFF) < 0x40 && ((argb >> 8) & 0xFF) < 0x40 && (argb & 0xFF) > 0xC0;
}

HWND DeviceTest::window_ = nullptr;
CDXRenderer* DeviceTest::renderer_ = nullptr;

void DeviceTest::SetUpTestSuite() {
  window_ = CreateHiddenWindow(320, 240);
  renderer_ = new CDXRenderer;
  if (window_ == nullptr || FAILED(renderer_->InitDevice(320, 240, window_))) {
    delete renderer_;
    renderer_ = nullptr;
    return;
  }
  renderer_->SetupScene();
}

void DeviceTest::TearDownTestSuite() {
  delete renderer_;
  renderer_ = nullptr;
  if (window_ != nullptr) DestroyWindow(window_);
  window_ = nullptr;
}

void DeviceTest::SetUp() {
  ASSERT_NE(renderer_, nullptr) << "no Direct3D 9 device on the hidden window";
}
