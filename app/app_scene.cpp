// Scene start-up, the frame, and what the frame's keys do outside the
// vehicle: Esc and the screenshot key.
#include "app/app_scene.h"

#include <d3dx9.h>
// clang-format off
#include <mmsystem.h>
// clang-format on

#include <cwchar>

#include "app/workshop_dialog.h"
#include "platform/fs.h"
#include "platform/live_watch.h"
#include "preview/camera_rig_win.h"
#include "preview/effect_set_win.h"
#include "preview/text_overlay_win.h"
#include "preview/vehicle_drawing_win.h"
#include "render/im_batch_win.h"
#include "render/preview_factory_win.h"
#include "render/renderer_win.h"

namespace {

constexpr float kPi = 3.14159265358979323846f;
constexpr int kStatusFont = 2;
constexpr D3DCOLOR kStatusColour = 0xFFFFFFFF;
// The line of a failed live build, under the status line, in a font that
// has Japanese.
constexpr int kLiveFailureFont = 0;
constexpr int kLiveFailureY = 16;
constexpr D3DCOLOR kLiveFailureColour = 0xFFFF7070;
// The saved screenshot's name, under the status line and the live line,
// for a few seconds.
constexpr int kNoteFont = 0;
constexpr int kNoteTop = 32;  // below a failed live build's line
constexpr D3DCOLOR kNoteColour = 0xFFFFFF80;
constexpr uint32_t kScreenshotNoteMs = 4000;

std::u16string OverlayFace(ResourcePack* resource_pack) {
  std::u16string face;
  if (resource_pack != nullptr && ReadResourceText(*resource_pack, u"fontname", LF_FACESIZE - 1, face) &&
      !face.empty())
    return face;
  return kOverlayDefaultFace;
}

void ClientSize(HWND window, int* width, int* height) {
  RECT client = {};
  GetClientRect(window, &client);
  *width = client.right - client.left;
  *height = client.bottom - client.top;
}

}  // namespace

AppScene::AppScene() = default;

AppScene::~AppScene() {
  Destroy();
}

HRESULT AppScene::Init(const SceneSetting& setting) {
  HWND window = setting.window;
  CDXRenderer* renderer = setting.renderer;
  window_ = window;
  host_ = setting.host;
  renderer_ = renderer;
  instance_ = setting.instance;
  resource_pack_ = setting.resource_pack;
  StartSceneClock(clock_, timeGetTime());
  field_of_view_ = kPreviewFieldOfView;

  rig_ = std::make_unique<CameraRig>(renderer, field_of_view_ * kPi / 180.0f * 0.5f);
  const std::u16string face = OverlayFace(resource_pack_);
  for (auto& overlay : overlays_) {
    overlay = std::make_unique<TextOverlay>(renderer);
    overlay->CreateFonts(face);
  }
  screenshot_line_ = std::make_unique<TransientLine>(kNoteFont, 0, kNoteTop, kNoteColour);
  lines_2d_ = std::make_unique<CIMLine>(renderer);
  lines_2d_->Create();
  lines_3d_ = std::make_unique<CIMLine3D>(renderer);
  lines_3d_->Create(kSceneLineCapacity);

  effects_ = std::make_unique<EffectSet>(renderer);
  int width = 0, height = 0;
  ClientSize(window, &width, &height);
  if (HasShaderModel3(*renderer)) {
    if (resource_pack_ == nullptr || FAILED(effects_->Load(*resource_pack_, width, height)))
      return E_FAIL;
  }

  IDirect3DDevice9* device = renderer->Device();
  light_ = std::make_unique<CDXLight>(renderer);
  light_->SetDirectional({0.98f, 0.92f, 0.80f, 1.0f}, {0.5f, 0.5f, 0.5f, 1.0f}, {0.3f, 0.3f, 0.3f, 1.0f},
                         {1.4f, -1.5f, 2.0f});
  device->SetLight(0, &light_->light);
  device->LightEnable(0, TRUE);
  {
    CDXMaterial material(renderer);
    material.material.Ambient = {0.3f, 0.3f, 0.3f, 1.0f};
    device->SetMaterial(&material.material);
  }
  device->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, TRUE);

  rig_->Request(D3DXVECTOR3(0.0f, 20.0f, -150.0f), D3DXVECTOR3(0.0f, 20.0f, 0.0f),
                D3DXVECTOR3(0.0f, 1.0f, 0.0f));
  factory_ = std::make_unique<D3DPreviewFactory>(renderer);
  if (FAILED(CreateProjectAndWorkshop(instance_, window, project_))) return E_FAIL;
  menu_ = std::make_unique<MenuCommands>(instance_, *this);
  StartLivePreview();
  menu_->ShowProjectState(window);
  ready_ = true;
  return S_OK;
}

void AppScene::Destroy() {
  ready_ = false;
  StopLivePreview();
  menu_.reset();
  DiscardCompiledVehicle();
  project_.reset();
  light_.reset();
  if (effects_) effects_->Release();
  effects_.reset();
  lines_2d_.reset();
  lines_3d_.reset();
  for (auto& overlay : overlays_) overlay.reset();
  rig_.reset();
  factory_.reset();
}

HRESULT AppScene::RecreateEffectTargets() {
  if (!effects_) return S_OK;
  int width = 0, height = 0;
  ClientSize(window_, &width, &height);
  return effects_->RecreateTargets(width, height);
}

void AppScene::OnEscapeKey(bool repeat) {
  if (repeat || !ready_) return;
  ready_ = false;
  closing_by_escape_ = true;
  PostMessageW(window_, WM_CLOSE, 0, 0);
}

HRESULT AppScene::DrawFrame() {
  // While the window is minimised the clock stands.
  if (!(clock_.paused && IsIconic(window_))) TickSceneClock(clock_, timeGetTime(), screenshot_key_held_);
  if (!ready_ || !renderer_) return E_FAIL;
  TakeDueLiveBuild();

  const bool active = GetActiveWindow() == window_;

  lines_2d_->Clear();
  lines_3d_->Clear();
  overlays_[0]->Queue(kStatusFont, 0, 0, kStatusColour,
                      FormatStatusLine(host_->FramesPerSecond(), clock_.value, draw_counter_, durations_));
  if (!live_failure_.empty())
    overlays_[0]->Queue(kLiveFailureFont, 0, kLiveFailureY, kLiveFailureColour, live_failure_);
  screenshot_line_->QueueOn(*overlays_[0], clock_.value);

  const DWORD t0 = timeGetTime();
  IDirect3DDevice9* device = renderer_->Device();
  device->SetLight(0, &light_->light);
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, renderer_->ClearColor(), 1.0f, 0);
  if (FAILED(device->BeginScene())) {
    for (auto& overlay : overlays_) overlay->Draw();  // never let the queue fill up
    return E_FAIL;
  }
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  rig_->Apply(device);
  if (vehicle_) {
    DrawCompiledVehicle(*renderer_, *vehicle_->compiler, vehicle_->view, light_->light, clock_.value,
                        draw_ops_);
  }
  DrawOverlaysAndLines(device);
  device->EndScene();

  // The screenshot copies the frame just drawn from the back buffer, before
  // it is presented.
  HandleScreenshotKey(active);
  renderer_->PresentFrame();
  NoteFrameDuration(durations_, clock_.value, timeGetTime() - t0);
  if (!screenshot_failure_.empty()) ReportScreenshotFailure();
  return S_OK;
}

void AppScene::DrawOverlaysAndLines(IDirect3DDevice9* device) {
  // The lines, untextured and added to the picture; those in the scene are
  // hidden behind the vehicle, those on the screen are not.
  device->SetTexture(0, nullptr);
  renderer_->SetBlendMode(BlendMode::kAdditive);
  device->SetRenderState(D3DRS_ZENABLE, TRUE);
  lines_3d_->Draw();
  device->SetRenderState(D3DRS_ZENABLE, FALSE);
  lines_2d_->Draw();

  // The text overlays, unlit, over everything.
  renderer_->SetWorldIdentity();
  device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
  device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
  device->LightEnable(0, FALSE);
  device->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
  device->SetRenderState(D3DRS_FOGENABLE, FALSE);
  device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  renderer_->SetBlendMode(BlendMode::kOpaque);
  for (auto& overlay : overlays_) overlay->Draw();
}

void AppScene::HandleScreenshotKey(bool active) {
  const bool down = (GetAsyncKeyState(VK_F4) & 0x8000) != 0;
  if (!active || !down) {
    screenshot_key_held_ = false;
    return;
  }
  if (screenshot_key_held_) return;
  screenshot_key_held_ = true;

  // The next number whose file does not exist yet: earlier screenshots,
  // also those of earlier runs, are never overwritten.
  wchar_t name[32];
  std::wstring path;
  for (;;) {
    _snwprintf(name, 31, L"scr%05u.bmp", screenshot_counter_);
    name[31] = 0;
    path = host_->ScreenshotPath(name);
    if (path.empty() || !FsFileExists(std::u16string(path.begin(), path.end())) ||
        screenshot_counter_ == UINT32_MAX)
      break;
    ++screenshot_counter_;
  }
  if (!path.empty() && SUCCEEDED(host_->TakeScreenshot(name))) {
    ++screenshot_counter_;
    screenshot_line_->Show(u"スクリーンショットを保存しました：" + std::u16string(name, name + wcslen(name)),
                           clock_.value, kScreenshotNoteMs);
  } else {
    screenshot_failure_ = path.empty() ? std::wstring(name) : path;
  }
}

void AppScene::ReportScreenshotFailure() {
  const std::wstring text = L"スクリーンショットを保存できませんでした。\n" + screenshot_failure_;
  screenshot_failure_.clear();  // the box lets frames be drawn meanwhile
  MessageBoxW(window_, text.c_str(), L"Railwick", MB_OK | MB_ICONERROR);
}
