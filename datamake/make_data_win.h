// Make data in the program: the shared run with message boxes for the
// problems the user must fix, the report dialog when the compilation fails,
// and the new compiler handed to the preview.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "compiler/preview_factory.h"
#include "compiler/vehicle_compiler.h"
#include "project/vehicle_project.h"

constexpr int kReportDialogTemplate = 121;
constexpr int kReportTextControl = 1000;
constexpr int kReportOutcomeControl = 1001;

// The report window (template 121 of `instance`) with `text`, modal over
// `owner`, until OK or Esc; resizable, its long lines wrapped. Under the
// text it says whether a data file was written: `written_file`, or none when
// that is empty.
INT_PTR ShowReportDialog(HINSTANCE instance, HWND owner, const std::u16string& text,
                         const std::u16string& written_file = u"");
INT_PTR CALLBACK ReportDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// Receives the compiler of the run (also after a failed compilation) before
// the report opens, so the preview behind the report shows what was built.
using KeepCompiler = std::function<void(std::unique_ptr<VehicleCompiler>)>;

// The whole run, from the project's folder; problems the user must fix are shown
// in message boxes with the error icon, owned by `owner`. True once the script was
// built and compiled, whatever the compilation gave; false when the run stopped
// earlier (the user has been told why).
bool MakeData(const VehicleProject& project, HINSTANCE instance, HWND owner, PreviewFactory* factory,
              const KeepCompiler& keep);
