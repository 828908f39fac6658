// The program's entry: start-up checks, the frame window, the idle-drawing
// message loop and the shutdown in a fixed order.
#include <objbase.h>
#include <windows.h>
// clang-format off
#include <gdiplus.h>
// clang-format on

#include <string>

#include "app/app_globals.h"
#include "app/frame.h"
#include "app/notice.h"
#include "app/resource_pack_path.h"
#include "app/startup_checks.h"
#include "app/startup_texts.h"
#include "probes/dx_probe.h"
#include "res/resource.h"

namespace {

constexpr uint32_t kMinimumDirectX = 0x00090000;  // 9.0
constexpr int kMinimumColourDepth = 16;

struct GdiplusContext {
  Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback
  ULONG_PTR token = 0;
  bool started = false;
};

// Without structured exception handling in this compiler, a processor
// exception during the frame's creation (a crash in the display driver, for
// instance) reaches this filter, which shows the notice and ends the process.
LONG WINAPI CreationCrashFilter(EXCEPTION_POINTERS* exception) {
  DWORD code = exception && exception->ExceptionRecord ? exception->ExceptionRecord->ExceptionCode : 0;
  FrameStartupFlags& flags = CFrame::StartupFlags();
  flags.fatal_hardware_problem = true;
  flags.fatal_code = code;
  ShowNotice(kHardwareNotice, static_cast<unsigned>(code));
  ExitProcess(0);
  return EXCEPTION_EXECUTE_HANDLER;
}

// Exit code of a start that could not go on for want of a file it needs.
constexpr int kStartFailedExitCode = 1;

void ReportResourcePackFailure(const std::u16string& path) {
  std::wstring shown(path.begin(), path.end());
  for (wchar_t& c : shown)
    if (c == L'/') c = L'\\';
  const bool exists = !shown.empty() && GetFileAttributesW(shown.c_str()) != INVALID_FILE_ATTRIBUTES;
  ShowNotice(exists ? kResourcePackDamagedNotice : kResourcePackMissingNotice, shown.c_str());
}

void ShowCreationNotice(const CFrame& frame) {
  const FrameStartupFlags& flags = CFrame::StartupFlags();
  if (flags.fatal_hardware_problem) {
    ShowNotice(kHardwareNotice, static_cast<unsigned>(flags.fatal_code));
  } else if (flags.shader_check_failed) {
    DWORD vs = frame.DeviceCaps().VertexShaderVersion;
    DWORD ps = frame.DeviceCaps().PixelShaderVersion;
    ShowNotice(kShaderNotice, static_cast<int>((vs >> 8) & 0xFF), static_cast<int>(vs & 0xFF),
               static_cast<int>((ps >> 8) & 0xFF), static_cast<int>(ps & 0xFF));
  } else {
    ShowNotice(kFrameworkNotice);
  }
}

// The message loop: polls while the window is active and draws a frame
// whenever no message waits; blocks while it is minimised. 0 or the exit code
// of WM_QUIT; 1 after a fatal device error.
int RunMessageLoop(CFrame& frame) {
  MSG message = {};
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
  message.message = WM_NULL;
  frame.SetRunning(true);
  // Ctrl+N, O, S and M of the File menu.
  HACCEL shortcuts = LoadAcceleratorsW(App().instance, MAKEINTRESOURCEW(IDR_MAIN_ACCELERATORS));
  while (message.message != WM_QUIT) {
    BOOL got = FALSE;
    if (frame.Active()) {
      got = PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
    } else {
      BOOL result = GetMessageW(&message, nullptr, 0, 0);
      if (result == -1) return 1;
      got = result != 0;
    }
    if (got) {
      if (shortcuts && TranslateAcceleratorW(frame.Window(), shortcuts, &message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    } else if (message.message != WM_QUIT && FAILED(frame.IdleStep())) {
      // Shown before the window closes, so no quit message ends the box unread.
      std::u16string caption;
      bool has_caption =
          App().resource_pack && ReadResourceText(*App().resource_pack, u"title", 255, caption);
      std::wstring wide_caption(caption.begin(), caption.end());
      MessageBoxW(nullptr, kFrameworkNotice, has_caption ? wide_caption.c_str() : nullptr, MB_ICONERROR);
      if (IsWindow(frame.Window())) SendMessageW(frame.Window(), WM_CLOSE, 0, 0);
      return 1;
    }
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  AppGlobals& app = App();
  if (!ClaimSingleInstance(&app.instance_mutex)) return 0;

  app.os_class = CurrentOsClass();
  if (app.os_class < 4) {
    MessageBoxW(nullptr, kOsVersionNotice, kStartupCaption, MB_ICONERROR);
    return 0;
  }
  if (FAILED(GetDirectXVersion(&app.directx_version)) || app.directx_version < kMinimumDirectX) {
    MessageBoxW(nullptr, kDirectXNotice, kStartupCaption, MB_ICONERROR);
    return 0;
  }
  if (ScreenColourDepth() < kMinimumColourDepth) {
    ShowNotice(kColourDepthNotice);
    return 0;
  }

  app.instance = instance;
  // Apartment-threaded: the shell's folder chooser needs it.
  bool com_started = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));

  app.resource_pack = new ResourcePack();
  SetResourcePackName(*app.resource_pack, u"zek5rlwck");
  if (FAILED(OpenResourcePack(*app.resource_pack))) {
    // Without the pack nothing can be drawn: say which file was looked for,
    // and end as a failure.
    ReportResourcePackFailure(ResourcePackPath(*app.resource_pack));
    delete app.resource_pack;
    app.resource_pack = nullptr;
    if (com_started) CoUninitialize();
    return kStartFailedExitCode;
  }

  auto* gdiplus = new GdiplusContext();
  gdiplus->started = Gdiplus::GdiplusStartup(&gdiplus->token, &gdiplus->input, nullptr) == Gdiplus::Ok;

  auto* frame = new CFrame(instance, app.resource_pack);
  LPTOP_LEVEL_EXCEPTION_FILTER previous_filter = SetUnhandledExceptionFilter(CreationCrashFilter);
  bool created = frame->Create(show_command) == 1;
  SetUnhandledExceptionFilter(previous_filter);

  int exit_code = 0;
  if (!created) {
    ShowCreationNotice(*frame);
  } else {
    exit_code = RunMessageLoop(*frame);
  }

  delete frame;
  app.frame_window = nullptr;
  if (gdiplus->started) Gdiplus::GdiplusShutdown(gdiplus->token);
  delete gdiplus;
  CloseResourcePack(*app.resource_pack);
  delete app.resource_pack;
  app.resource_pack = nullptr;
  if (com_started) CoUninitialize();
  return exit_code;
}
