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

Pixels ReadBackBuffer(CDXRenderer& renderer) {
  Pixels pixels;
  IDirect3DSurface9* copy = nullptr;
  if (FAILED(renderer.CaptureBackBuffer(&copy))) return pixels;
  D3DSURFACE_DESC desc{};
  D3DLOCKED_RECT locked{};
  if (SUCCEEDED(copy->GetDesc(&desc)) && (desc.Format == D3DFMT_A8R8G8B8 || desc.Format == D3DFMT_X8R8G8B8) &&
      SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
    pixels.width = desc.Width;
    pixels.height = desc.Height;
    pixels.argb.resize(size_t{desc.Width} * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y)
      std::memcpy(&pixels.argb[size_t{y} * desc.Width],
                  static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch, desc.Width * 4);
    copy->UnlockRect();
  }
  copy->Release();
  return pixels;
}

std::u16string SourceFile(const char* relative) {
  return u"" RAILWICK_SOURCE_DIR "/" + std::u16string(relative, relative + std::strlen(relative));
}

std::u16string ScratchFolder() {
  static int counter = 0;
  std::u16string folder = FsTempDirectory() + u"render" + std::u16string(1, u'a' + (counter++ % 26));
  FsCreateDirectory(folder);
  return folder + u"\\";
}

std::vector<uint8_t> ReadBytes(const std::u16string& path) {
  std::vector<uint8_t> bytes;
  FsReadFile(path, bytes);
  return bytes;
}

void BeginPlainFrame(CDXRenderer& renderer) {
  IDirect3DDevice9* device = renderer.Device();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
  device->BeginScene();
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetTexture(0, nullptr);
  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
  device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
}

Pixels EndFrame(CDXRenderer& renderer) {
  renderer.Device()->EndScene();
  Pixels pixels = ReadBackBuffer(renderer);
  renderer.PresentFrame();
  renderer.Device()->SetRenderState(D3DRS_LIGHTING, TRUE);
  return pixels;
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
