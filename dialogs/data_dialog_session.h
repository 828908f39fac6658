// One open data dialog: shows the project's values, keeps every change in a
// working copy while the dialog is open, and writes the copy back only when
// OK finds every entry good. Cancel writes nothing.
#pragma once
#include <memory>
#include <string_view>

#include "dialogs/data_dialogs.h"
#include "dialogs/dialog_controls.h"
#include "project/notifier.h"
#include "project/vehicle_project.h"

// After a file's label: a relative name typed for a project never saved.
inline constexpr char16_t kRelativeBeforeSaveMessage[] = u"：相対パスは、車両設定を保存した後で指定できます。";

class DataDialogSession {
 public:
  DataDialogSession(const DataDialogLayout& layout, VehicleProject& project, DialogControls& controls,
                    Notifier& notifier);

  // At opening: every control shows its field (the first option set).
  void Show();
  // OK: a number that does not read or lies outside its range, or a path
  // too long for its field, is named in a message and the dialog stays open
  // with the project untouched (false). Otherwise images and sounds go
  // through their checking setters, each refusal with its message and the
  // old value kept (a relative name is refused while the project has no
  // folder), the project receives the working copy, and the result is true
  // (close).
  bool Ok();
  // The page list picked another option set: the shown one is kept in the
  // working copy and the new one shown. False (with the message, the list
  // back on the shown page) when the shown one has a problem.
  bool ChangePage(int page);
  // A browse button's choice for its edit; a path too long for the field is
  // refused with a message and the edit keeps its text.
  bool PutChosenPath(const BrowseButton& button, std::u16string_view path);
  // The chooser itself found the path too long for its buffer.
  void RefuseLongPath(const BrowseButton& button);

  const DataDialogLayout& Layout() const { return layout_; }

 private:
  // Reads the shown controls into `target`; false after showing the problem.
  bool Read(VehicleProject& target, std::vector<PendingFile>* files);

  const DataDialogLayout& layout_;
  VehicleProject& project_;
  DialogControls& controls_;
  Notifier& notifier_;
  std::unique_ptr<VehicleProject> working_;
  int page_ = 0;
};
