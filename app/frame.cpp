#include "app/frame.h"

#include <mmsystem.h>
#include <shellapi.h>

#include "app/app_globals.h"
#include "app/app_scene.h"
#include "app/registry_settings.h"
#include "dialogs/window_centring_win.h"
#include "render/renderer_win.h"

namespace {

// Runs before the program creates a dialog, message box, menu or chooser.
// Wine's Direct3D presents on a thread of its own, and showing a window
// while that thread is inside a present can deadlock both; with the queue
// drained first (the frame draws nothing while its window thread is busy
// here), the window appears. Bounded, so a slow device costs at most a second.
void FinishFramesBeforeAWindowOpens() {
  CFrame* frame = App().frame;
  if (frame && frame->Renderer()) frame->Renderer()->FinishQueuedFrames(1000);
}

}  // namespace

FrameStartupFlags& CFrame::StartupFlags() {
  static FrameStartupFlags flags;
  return flags;
}

CFrame::CFrame(HINSTANCE instance, ResourcePack* resource_pack)
    : instance_(instance), resource_pack_(resource_pack) {
  screen_width_ = GetSystemMetrics(SM_CXSCREEN);
  screen_height_ = GetSystemMetrics(SM_CYSCREEN);
  default_width_ = screen_width_ < 1024 ? screen_width_ : 1024;
  default_height_ = screen_height_ < 768 ? screen_height_ : 768;
  FrameStartupFlags& flags = StartupFlags();
  flags.shader_check_failed = false;
  flags.fatal_hardware_problem = false;
  flags.fatal_code = 0;
  App().frame = this;
}

CFrame::~CFrame() {
  if (scene_) scene_->SetReady(false);
  if (renderer_) renderer_->ReleaseAllDeviceObjects();
  DestroyScene();
  delete renderer_;
  renderer_ = nullptr;
  StopCentringWindows();
  if (timer_raised_) timeEndPeriod(timer_period_);
  timer_raised_ = false;
  // Normally the close handler has destroyed the window; otherwise it must
  // not go on pointing at this object.
  if (window_ && IsWindow(window_)) {
    SetWindowLongPtrW(window_, 0, 0);
    DestroyWindow(window_);
  }
  window_ = nullptr;
  if (App().frame == this) App().frame = nullptr;
}

void CFrame::DestroyScene() {
  AppScene* scene = scene_;
  scene_ = nullptr;  // handlers running during the tear-down see no scene
  if (scene) {
    scene->Destroy();
    delete scene;
  }
}

int CFrame::Create(int show_command) {
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof(window_class);
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  window_class.lpfnWndProc = FrameWindowProc;
  window_class.cbWndExtra = sizeof(LONG_PTR);  // the CFrame pointer
  window_class.hInstance = instance_;
  window_class.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(kFrameIconResource));
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  window_class.lpszMenuName = MAKEINTRESOURCEW(kFrameMenuResource);
  window_class.lpszClassName = kFrameClassName;
  RegisterClassExW(&window_class);  // a class left from an earlier try is fine

  const DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  HWND window =
      CreateWindowExW(WS_EX_ACCEPTFILES, kFrameClassName, kFrameCaption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                      default_width_, default_height_, nullptr, nullptr, instance_, this);
  if (!window) return 0;
  window_ = window;
  CentreOwnedWindowsOn(window, FinishFramesBeforeAWindowOpens);

  WriteRegistryDword(L"PrimaryWindow", static_cast<DWORD>(reinterpret_cast<UINT_PTR>(window)));

  RECT client = {};
  GetClientRect(window, &client);
  client_width_ = client.right - client.left;
  client_height_ = client.bottom - client.top;
  ShowWindow(window, show_command);
  UpdateWindow(window);

  device_caps_ = D3DCAPS9{};
  renderer_ = new CDXRenderer();
  TIMECAPS caps = {};
  if (timeGetDevCaps(&caps, sizeof(caps)) == MMSYSERR_NOERROR &&
      timeBeginPeriod(caps.wPeriodMin) == TIMERR_NOERROR) {
    timer_raised_ = true;
    timer_period_ = caps.wPeriodMin;
  }
  if (FAILED(renderer_->InitDevice(client_width_, client_height_, window))) return 0;
  renderer_->SetupScene();
  renderer_->D3D()->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &device_caps_);
  D3DDISPLAYMODE mode = {};
  if (SUCCEEDED(renderer_->D3D()->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode)) && mode.RefreshRate > 0)
    refresh_hz_ = mode.RefreshRate;

  FrameStartupFlags& flags = StartupFlags();
  if (flags.shader_check_enabled && (device_caps_.VertexShaderVersion & 0xFFFF) < 0x0200 &&
      (device_caps_.PixelShaderVersion & 0xFFFF) < 0x0200) {
    flags.shader_check_failed = true;
    return 0;
  }

  scene_ = new AppScene();
  SceneSetting setting;
  setting.window = window;
  setting.host = this;
  setting.renderer = renderer_;
  setting.instance = instance_;
  setting.resource_pack = resource_pack_;
  if (FAILED(scene_->Init(setting))) {
    DestroyScene();
    return 0;
  }
  return 1;
}

void CFrame::RecordMouse(int x, int y) {
  if (first_mouse_) {
    first_mouse_ = false;
    first_mouse_x_ = x;
    first_mouse_y_ = y;
  }
  mouse_x_ = x;
  mouse_y_ = y;
}

LRESULT CFrame::OnLButtonDown(HWND window, BOOL, int x, int y, UINT) {
  RecordMouse(x, y);
  mouse_buttons_ |= 1;
  SetCapture(window);
  if (scene_) scene_->BeginDrag(x, y);
  return 0;
}

LRESULT CFrame::OnLButtonUp(HWND, int x, int y, UINT keys) {
  RecordMouse(x, y);
  mouse_buttons_ &= ~1u;
  if (scene_) scene_->OnDrag(x, y, keys, true);
  ReleaseCapture();
  return 0;
}

LRESULT CFrame::OnMouseMove(HWND, int x, int y, UINT keys) {
  RecordMouse(x, y);
  if (scene_) scene_->OnDrag(x, y, keys, false);
  return 0;
}

LRESULT CFrame::OnRButtonDown(HWND, BOOL, int x, int y, UINT) {
  RecordMouse(x, y);
  mouse_buttons_ |= 2;
  return 0;
}

LRESULT CFrame::OnRButtonUp(HWND, int x, int y, UINT) {
  RecordMouse(x, y);
  mouse_buttons_ &= ~2u;
  return 0;
}

LRESULT CFrame::OnMButtonDown(HWND, BOOL, int x, int y, UINT) {
  RecordMouse(x, y);
  mouse_buttons_ |= 3;
  return 0;
}

LRESULT CFrame::OnMButtonUp(HWND, int x, int y, UINT) {
  RecordMouse(x, y);
  mouse_buttons_ &= ~3u;
  return 0;
}

LRESULT CFrame::OnMouseWheel(HWND, int, int, int delta, UINT) {
  wheel_delta_ = delta;
  return 0;
}

LRESULT CFrame::OnKey(HWND window, UINT virtual_key, BOOL down, int repeat, UINT key_flags) {
  if (down && scene_ && virtual_key == VK_ESCAPE) scene_->OnEscapeKey((key_flags & KF_REPEAT) != 0);
  if (down && scene_ && virtual_key == VK_F5 && !(key_flags & KF_REPEAT)) scene_->LiveBuildNow();
  if (down && scene_ && scene_->HasCompiledVehicle()) scene_->OnKeyDown(virtual_key);
  return CWindow::OnKey(window, virtual_key, down, repeat, key_flags);
}

LRESULT CFrame::OnMouseActivate(HWND window, HWND top_level, UINT hit_test, UINT mouse_message) {
  mouse_activation_pending_ = true;
  activation_click_in_client_ = hit_test == HTCLIENT;
  return CWindow::OnMouseActivate(window, top_level, hit_test, mouse_message);
}

LRESULT CFrame::OnActivate(HWND window, UINT state, HWND other, BOOL minimised) {
  if (state == WA_INACTIVE) mouse_activation_pending_ = false;
  return CWindow::OnActivate(window, state, other, minimised);
}

LRESULT CFrame::OnExitSizeMove(HWND window) {
  mouse_activation_pending_ = false;
  return CWindow::OnExitSizeMove(window);
}

LRESULT CFrame::OnPaint(HWND window) {
  // A modal dialog or message box disables the frame. Drawing then would,
  // under Wine, queue the next WM_PAINT at once: the modal loop never finds
  // its queue empty, which is when it first shows its dialog, and the dialog
  // stays hidden while the preview goes on drawing behind it.
  if (IsWindowEnabled(window)) IdleStep();
  ValidateRect(window, nullptr);
  return 0;
}

LRESULT CFrame::OnSize(HWND window, UINT size_type, int width, int height) {
  const SizeChange change = size_type == SIZE_MINIMIZED   ? SizeChange::kMinimised
                            : size_type == SIZE_MAXHIDE ? SizeChange::kHiddenByMaximise
                                                        : SizeChange::kShown;
  upkeep_.OnSizeChange(change, scene_ ? scene_->Clock() : 0, *this);
  return CWindow::OnSize(window, size_type, width, height);
}

LRESULT CFrame::OnGetMinMaxInfo(HWND window, MINMAXINFO* info) {
  info->ptMinTrackSize.x = 800;
  info->ptMinTrackSize.y = 600;
  return CWindow::OnGetMinMaxInfo(window, info);
}

LRESULT CFrame::OnSetCursor(HWND window, HWND cursor_window, UINT hit_test, UINT mouse_message) {
  return CWindow::OnSetCursor(window, cursor_window, hit_test, mouse_message);
}

LRESULT CFrame::OnContextMenu(HWND, HWND, int, int) {
  return 0;
}

LRESULT CFrame::OnCommand(HWND window, int id, HWND control, UINT code) {
  if (id == kExitCommand) {
    // The close destroys the scene; there is nothing left to forward to.
    SendMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  if (scene_) scene_->OnMenuCommand(window, id, control, code);
  return 0;
}

void CFrame::OnClose() {
  // Unsaved edits are settled first; the user may keep the window open.
  if (scene_ && !scene_->ConfirmClose(window_)) return;
  upkeep_.running = false;
  upkeep_.active = false;
  ShowCursor(TRUE);
  RECT outer = {};
  if (GetWindowRect(window_, &outer)) {
    WriteRegistryDword(L"ScreenDX", static_cast<DWORD>(outer.right - outer.left));
    WriteRegistryDword(L"ScreenDY", static_cast<DWORD>(outer.bottom - outer.top));
  }
  if (scene_) scene_->SetReady(false);
  DestroyScene();
  DestroyWindow(window_);
}

void CFrame::PushWaitCursor() {
  if (wait_cursor_depth_++ == 0) {
    previous_cursor_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    ShowCursor(TRUE);
  }
}

void CFrame::PopWaitCursor() {
  if (wait_cursor_depth_ > 0 && --wait_cursor_depth_ == 0) {
    SetCursor(previous_cursor_);
    ShowCursor(FALSE);
  }
}

void CFrame::OnDropFiles(HDROP drop) {
  SetForegroundWindow(window_);
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  if ((count & 0xFFFF) >= 1) {
    // The whole name, however long: the loader refuses one that does not
    // fit the current file path with a message, never under a cut name.
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    if (length > 0 && DragQueryFileW(drop, 0, name.data(), length + 1) == length) {
      PushWaitCursor();
      if (upkeep_.running && scene_) scene_->LoadDroppedFile(name.c_str());
      PopWaitCursor();
    }
  }
  DragFinish(drop);
  SetFocus(window_);
}

LRESULT CALLBACK FrameWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* frame = static_cast<CFrame*>(create->lpCreateParams);
    SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(frame));
    frame->window_ = window;
    App().frame_window = window;
    return 0;
  }
  auto* frame = reinterpret_cast<CFrame*>(GetWindowLongPtrW(window, 0));
  if (!frame) return DefWindowProcW(window, message, wparam, lparam);
  // Another program may ask how many live builds have run (the end-to-end
  // run times the live preview with it).
  static const UINT live_builds_message = RegisterWindowMessageW(L"RailwickLiveBuilds");
  if (message == live_builds_message) return frame->scene_ ? frame->scene_->LiveBuildCount() : 0;
  const int x = LowX(lparam), y = HighY(lparam);
  const UINT keys = static_cast<UINT>(wparam);
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_MOVE:
      frame->OnMove(window, x, y);
      return 0;
    case WM_SIZE:
      frame->OnSize(window, static_cast<UINT>(wparam), LOWORD(lparam), HIWORD(lparam));
      return 0;
    case WM_ACTIVATE:
      frame->OnActivate(window, LOWORD(wparam), reinterpret_cast<HWND>(lparam), HIWORD(wparam));
      return 0;
    case WM_PAINT:
      frame->OnPaint(window);
      return 0;
    case WM_CLOSE:
      frame->OnClose();
      return 0;
    case WM_MOUSEACTIVATE:
      return frame->OnMouseActivate(window, reinterpret_cast<HWND>(wparam), LOWORD(lparam), HIWORD(lparam));
    case WM_GETMINMAXINFO:
      frame->OnGetMinMaxInfo(window, reinterpret_cast<MINMAXINFO*>(lparam));
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
      frame->OnKey(window, static_cast<UINT>(wparam), message == WM_KEYDOWN, LOWORD(lparam), HIWORD(lparam));
      return 0;
    case WM_COMMAND:
      frame->OnCommand(window, LOWORD(wparam), reinterpret_cast<HWND>(lparam), HIWORD(wparam));
      return 0;
    case WM_MOUSEMOVE:
      frame->OnMouseMove(window, x, y, keys);
      return 0;
    case WM_LBUTTONDOWN:
      frame->OnLButtonDown(window, FALSE, x, y, keys);
      return 0;
    case WM_LBUTTONUP:
      frame->OnLButtonUp(window, x, y, keys);
      return 0;
    case WM_RBUTTONDOWN:
      frame->OnRButtonDown(window, FALSE, x, y, keys);
      return 0;
    case WM_RBUTTONUP:
      frame->OnRButtonUp(window, x, y, keys);
      return 0;
    case WM_MBUTTONDOWN:
      frame->OnMButtonDown(window, FALSE, x, y, keys);
      return 0;
    case WM_MBUTTONUP:
      frame->OnMButtonUp(window, x, y, keys);
      return 0;
    case WM_MOUSEWHEEL:
      frame->OnMouseWheel(window, x, y, GET_WHEEL_DELTA_WPARAM(wparam), GET_KEYSTATE_WPARAM(wparam));
      return 0;
    case WM_EXITSIZEMOVE:
      frame->OnExitSizeMove(window);
      return 0;
    case WM_INITMENUPOPUP:
      // The File menu (the first popup of the bar) lists the recent projects.
      if (!HIWORD(lparam) && LOWORD(lparam) == 0 && frame->scene_)
        frame->scene_->OnFileMenuOpening(reinterpret_cast<HMENU>(wparam));
      return 0;
    case WM_DROPFILES:
      frame->OnDropFiles(reinterpret_cast<HDROP>(wparam));
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}
