#include "datamake/make_data_win.h"

#include "compiler/preview_objects.h"
#include "datamake/make_data.h"
#include "modelio/file_utils.h"
#include "project/notifier.h"

namespace {

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

class RunNotifier : public Notifier {
 public:
  explicit RunNotifier(HWND owner) : owner_(owner) {}
  void ShowError(const std::u16string& caption, const std::u16string& message) override {
    MessageBoxW(owner_, Wide(message), Wide(caption), MB_OK | MB_ICONERROR);
  }

 private:
  HWND owner_;
};

}  // namespace

INT_PTR CALLBACK ReportDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* text = reinterpret_cast<const std::u16string*>(lparam);
      if (text != nullptr) {
        // The log may be far longer than an edit control takes by default.
        SendDlgItemMessageW(dialog, kReportTextControl, EM_SETLIMITTEXT, 0, 0);
        SetDlgItemTextW(dialog, kReportTextControl, Wide(*text));
      }
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR ShowReportDialog(HINSTANCE instance, HWND owner, const std::u16string& text) {
  return DialogBoxParamW(instance, MAKEINTRESOURCEW(kReportDialogTemplate), owner, ReportDialogProc,
                         reinterpret_cast<LPARAM>(&text));
}

uint32_t MakeData(const VehicleProject& project, HINSTANCE instance, HWND owner, PreviewFactory* factory,
                  const KeepCompiler& keep) {
  RunNotifier notifier(owner);
  MakeDataOptions options;
  options.preview_factory = factory;
  MakeDataResult run = RunMakeData(project, options, notifier);
  if (!run.compiler) return kResultFail;  // stopped before the compilation

  AttachGuideLines(*run.compiler);
  keep(std::move(run.compiler));
  if (run.compile_result != kResultOk) ShowReportDialog(instance, owner, run.log->text);
  return kResultOk;
}
