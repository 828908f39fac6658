#include "app/app_scene.h"

#include <d3dx9.h>
#include <mmsystem.h>

#include <cwchar>

#include "app/frame.h"
#include "render/dx_font_win.h"
#include "render/renderer_win.h"

namespace {

// The status-line font: Arial 12 x 6, as the overlay's font 2.
D3DXFONT_DESCW StatusFontDescription() {
  D3DXFONT_DESCW desc = {};
  desc.Height = 12;
  desc.Width = 6;
  desc.Weight = FW_NORMAL;
  desc.MipLevels = 1;
  desc.CharSet = DEFAULT_CHARSET;
  desc.OutputPrecision = OUT_DEFAULT_PRECIS;
  desc.Quality = DEFAULT_QUALITY;
  desc.PitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  wcscpy(desc.FaceName, L"Arial");
  return desc;
}

void DrawText(CDXFont* font, const wchar_t* text, int x, int y, D3DCOLOR colour) {
  if (!font || !font->Font() || !font->Sprite()) return;
  RECT rect = {x, y, x, y};
  if (SUCCEEDED(font->Sprite()->Begin(D3DXSPRITE_ALPHABLEND | D3DXSPRITE_SORT_TEXTURE))) {
    font->Font()->DrawTextW(font->Sprite(), text, -1, &rect, DT_NOCLIP, colour);
    font->Sprite()->End();
  }
}

}  // namespace

AppScene::~AppScene() {
  Destroy();
}

HRESULT AppScene::Init(HWND window, CFrame* frame, CDXRenderer* renderer) {
  window_ = window;
  frame_ = frame;
  renderer_ = renderer;
  clock_ = 0;
  resume_offset_ = 0;
  start_time_ = timeGetTime();
  status_font_ = new CDXFont(renderer);
  // A font that cannot be made leaves the status line out; the preview runs.
  status_font_->Create(StatusFontDescription());
  IDirect3DDevice9* device = renderer->Device();
  device->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, TRUE);
  ready_ = true;
  return S_OK;
}

void AppScene::Destroy() {
  ready_ = false;
  delete status_font_;
  status_font_ = nullptr;
}

void AppScene::NoteWindowSize(uint32_t time, int width, int height) {
  resize_time_ = time;
  resize_width_ = width;
  resize_height_ = height;
}

HRESULT AppScene::DrawFrame() {
  if (screenshot_key_held_) {
    clock_ += 33;
  } else {
    clock_ = timeGetTime() + resume_offset_ - start_time_;
  }
  if (!ready_ || !renderer_) return E_FAIL;
  frame_time_ = clock_;

  bool active = GetActiveWindow() == window_;
  if (!escape_handled_ && active && (GetAsyncKeyState(VK_ESCAPE) & 0x8000)) {
    ready_ = false;
    escape_handled_ = true;
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return E_FAIL;
  }
  if (!active || !(GetAsyncKeyState(VK_ESCAPE) & 0x8000)) escape_handled_ = false;

  wchar_t status[128];
  _snwprintf(status, 127, L"%5.2f FPS T%08d D%02d L%02d %02d %02d",
             static_cast<double>(frame_->FramesPerSecond()), static_cast<int>(clock_),
             static_cast<int>(draw_counter_), static_cast<int>(last_duration_),
             static_cast<int>(min_duration_), static_cast<int>(max_duration_));
  status[127] = 0;

  DWORD t0 = timeGetTime();
  IDirect3DDevice9* device = renderer_->Device();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, renderer_->ClearColor(), 1.0f, 0);
  if (FAILED(device->BeginScene())) return E_FAIL;
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  renderer_->SetBlendMode(0);
  DrawText(status_font_, status, 0, 0, 0xFFFFFFFF);
  device->EndScene();

  // The screenshot copies the frame just drawn from the back buffer, before
  // it is presented.
  HandleScreenshotKey(active);
  renderer_->PresentFrame();

  last_duration_ = timeGetTime() - t0;
  if (clock_ > 1000) {
    if (last_duration_ < min_duration_) min_duration_ = last_duration_;
    if (last_duration_ > max_duration_) max_duration_ = last_duration_;
  }
  return S_OK;
}

void AppScene::HandleScreenshotKey(bool active) {
  bool down = (GetAsyncKeyState(VK_F4) & 0x8000) != 0;
  if (active && down) {
    if (!screenshot_key_held_) {
      wchar_t name[32];
      _snwprintf(name, 31, L"scr%05d.bmp", static_cast<int>(screenshot_counter_));
      name[31] = 0;
      ++screenshot_counter_;
      frame_->TakeScreenshot(name);
      screenshot_key_held_ = true;
    }
  } else {
    screenshot_key_held_ = false;
  }
}

void AppScene::BeginDrag(int x, int y) {
  dragging_ = true;
  drag_start_x_ = static_cast<float>(x);
  drag_start_y_ = static_cast<float>(y);
}

void AppScene::OnDrag(int, int, UINT, bool commit) {
  if (!dragging_) return;
  if (commit) dragging_ = false;
}

void AppScene::OnKeyDown(UINT) {}

void AppScene::OnMenuCommand(HWND, int, HWND, UINT) {}

int AppScene::LoadDroppedFile(const wchar_t*) {
  return 0;
}
