#include "dialogs/data_dialog_session.h"

#include "dialogs/dialog_lists.h"
#include "dialogs/dialog_messages.h"
#include "platform/fs.h"

DataDialogSession::DataDialogSession(const DataDialogLayout& layout, VehicleProject& project,
                                     DialogControls& controls, Notifier& notifier)
    : layout_(layout),
      project_(project),
      controls_(controls),
      notifier_(notifier),
      working_(std::make_unique<VehicleProject>(project)) {}

void DataDialogSession::Show() {
  if (layout_.page_list) controls_.SetChoices(layout_.page_list, OptionSetChoices().items, page_);
  DialogExchange x(controls_, ExchangeDirection::kShow);
  layout_.exchange(x, *working_, page_);
}

bool DataDialogSession::Read(VehicleProject& target, std::vector<PendingFile>* files) {
  DialogExchange x(controls_, ExchangeDirection::kRead);
  layout_.exchange(x, target, page_);
  if (x.Failed()) {
    notifier_.ShowError(kCheckCaption, x.ProblemMessage());
    controls_.Focus(x.ProblemControl());
    return false;
  }
  if (files) *files = x.Files();
  return true;
}

bool DataDialogSession::Ok() {
  auto trial = std::make_unique<VehicleProject>(*working_);
  std::vector<PendingFile> files;
  if (!Read(*trial, &files)) return false;
  for (const PendingFile& f : files) {
    // A project never saved has no folder for a relative name to lead into.
    if (trial->folder.empty() && !f.path.empty() && !FsIsAbsolute(f.path)) {
      notifier_.ShowError(kCheckCaption, std::u16string(f.field->label) + kRelativeBeforeSaveMessage);
      continue;
    }
    if (!SetFileField(*trial, *f.field, f.path)) notifier_.ShowError(kCheckCaption, f.field->refused);
  }
  project_ = *trial;
  return true;
}

bool DataDialogSession::ChangePage(int page) {
  if (page < 0 || page >= kOptionCount || page == page_) return page == page_;
  auto trial = std::make_unique<VehicleProject>(*working_);
  if (!Read(*trial, nullptr)) {
    if (layout_.page_list) controls_.SetSelection(layout_.page_list, page_);
    return false;
  }
  *working_ = *trial;
  page_ = page;
  DialogExchange x(controls_, ExchangeDirection::kShow);
  layout_.exchange(x, *working_, page_);
  return true;
}

bool DataDialogSession::PutChosenPath(const BrowseButton& button, std::u16string_view path) {
  if (path.size() >= kPathCapacity) {
    RefuseLongPath(button);
    return false;
  }
  controls_.SetText(button.edit, path, kPathCapacity - 1);
  return true;
}

void DataDialogSession::RefuseLongPath(const BrowseButton& button) {
  const bool folder = button.kind == BrowseKind::kFolder;
  notifier_.ShowError(kCheckCaption,
                      PathTooLongMessage(folder ? u"選択したフォルダー" : u"選択したファイル"));
}
