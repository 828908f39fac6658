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

std::u16string SourceFile(const char* relative) {
  std::u16string path;
  for (const char* p = RAILWICK_SOURCE_DIR "/"; *p != 0; ++p) path.push_back(static_cast<char16_t>(*p));
  for (const char* p = relative; *p != 0; ++p) path.push_back(static_cast<char16_t>(*p));
  return path;
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
