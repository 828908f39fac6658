#include "datamake/make_data_win.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "compiler/preview_objects.h"
#include "datamake/check_project.h"
#include "datamake/make_data.h"
#include "datamake/make_data_report.h"
#include "project/notifier.h"

namespace {

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// Keeps what the run would have shown, so several problems can be listed
// together instead of the first alone.
class KeptMessages : public Notifier {
 public:
  void ShowError(const std::u16string& caption, const std::u16string& message) override {
    messages.push_back({caption, message});
  }
  void ShowAll(HWND owner) const {
    for (const auto& [caption, message] : messages)
      MessageBoxW(owner, Wide(message), Wide(caption), MB_OK | MB_ICONERROR);
  }
  std::vector<std::pair<std::u16string, std::u16string>> messages;
};

struct ReportTexts {
  const std::u16string* text;
  const std::u16string* outcome;
};

// Lays the controls out on the client area: the log fills it above the
// outcome line and the OK button, which keep their size.
void LayOutReport(HWND dialog) {
  RECT client = {};
  GetClientRect(dialog, &client);
  RECT units = {7, 7, 50, 14};  // margin, margin, button width, button height
  MapDialogRect(dialog, &units);
  const int margin = units.left, button_w = units.right, button_h = units.bottom;
  const int button_y = client.bottom - margin - button_h;
  MoveWindow(GetDlgItem(dialog, IDOK), client.right - margin - button_w, button_y, button_w, button_h, TRUE);
  MoveWindow(GetDlgItem(dialog, kReportOutcomeControl), margin, button_y + button_h / 4,
             client.right - 3 * margin - button_w, button_h, TRUE);
  MoveWindow(GetDlgItem(dialog, kReportTextControl), margin, margin, client.right - 2 * margin,
             button_y - 2 * margin, TRUE);
}

}  // namespace

INT_PTR CALLBACK ReportDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* texts = reinterpret_cast<const ReportTexts*>(lparam);
      if (texts != nullptr && texts->text != nullptr) {
        // The log may be far longer than an edit control takes by default.
        SendDlgItemMessageW(dialog, kReportTextControl, EM_SETLIMITTEXT, 0, 0);
        SetDlgItemTextW(dialog, kReportTextControl, Wide(*texts->text));
      }
      SetDlgItemTextW(dialog, kReportOutcomeControl,
                      Wide(texts != nullptr && texts->outcome != nullptr ? *texts->outcome : DataFileOutcome(u"")));
      // The first size is the smallest the window may take.
      RECT outer = {};
      GetWindowRect(dialog, &outer);
      SetPropW(dialog, L"RailwickMinWidth", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(outer.right - outer.left)));
      SetPropW(dialog, L"RailwickMinHeight", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(outer.bottom - outer.top)));
      return TRUE;
    }
    case WM_SIZE:
      LayOutReport(dialog);
      return TRUE;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
      const auto width = static_cast<LONG>(reinterpret_cast<INT_PTR>(GetPropW(dialog, L"RailwickMinWidth")));
      const auto height = static_cast<LONG>(reinterpret_cast<INT_PTR>(GetPropW(dialog, L"RailwickMinHeight")));
      if (width > 0) info->ptMinTrackSize = {width, height};
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
        RemovePropW(dialog, L"RailwickMinWidth");
        RemovePropW(dialog, L"RailwickMinHeight");
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR ShowReportDialog(HINSTANCE instance, HWND owner, const std::u16string& text,
                         const std::u16string& written_file) {
  const std::u16string outcome = DataFileOutcome(written_file);
  ReportTexts texts{&text, &outcome};
  return DialogBoxParamW(instance, MAKEINTRESOURCEW(kReportDialogTemplate), owner, ReportDialogProc,
                         reinterpret_cast<LPARAM>(&texts));
}

bool MakeData(const VehicleProject& project, HINSTANCE instance, HWND owner, PreviewFactory* factory,
              const KeepCompiler& keep) {
  KeptMessages kept;
  MakeDataOptions options;
  options.preview_factory = factory;
  MakeDataResult run = RunMakeData(project, options, kept);
  if (!run.compiler) {
    // Stopped before the compilation: with several problems, every one of
    // them at once, as `railwick check` lists them; else the one message.
    std::vector<ProjectProblem> problems = CheckProject(project);
    // The refusal of the run itself heads the list when check has no word for it.
    for (const auto& [caption, message] : kept.messages) {
      const bool listed = std::any_of(problems.begin(), problems.end(),
                                      [&](const ProjectProblem& p) { return p.message == message; });
      if (!listed) problems.insert(problems.begin(), ProjectProblem{u"", message});
    }
    if (StoppingProblems(problems) > 1)
      ShowReportDialog(instance, owner, ProblemsReport(problems));
    else
      kept.ShowAll(owner);
    return false;
  }
  kept.ShowAll(owner);

  AttachGuideLines(*run.compiler);
  keep(std::move(run.compiler));
  if (!run.compiled) ShowReportDialog(instance, owner, run.log->text, run.written ? run.data_file : u"");
  return true;
}
