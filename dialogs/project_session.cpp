#include "dialogs/project_session.h"

#include <memory>

#include "dialogs/dialog_messages.h"
#include "platform/fs.h"
#include "project/project_commands.h"
#include "project/project_file.h"
#include "project/stored_paths.h"

bool IsProjectFileName(std::u16string_view path) {
  const size_t separator = path.find_last_of(u"\\/");
  const size_t dot = path.find_last_of(u'.');
  if (dot == std::u16string_view::npos || (separator != std::u16string_view::npos && dot < separator))
    return false;
  const std::u16string_view extension = path.substr(dot);
  if (extension.size() != 4) return false;
  static const char16_t kXml[] = u".xml";
  for (size_t i = 0; i < 4; ++i) {
    char16_t c = extension[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != kXml[i]) return false;
  }
  return true;
}

ProjectSession::ProjectSession(VehicleProject& project, SessionUi& ui) : project_(project), ui_(ui) {
  MarkSaved();
}

bool ProjectSession::Changed() const {
  return FormatProjectFile(project_) != saved_;
}

void ProjectSession::MarkSaved() {
  saved_ = FormatProjectFile(project_);
}

bool ProjectSession::SettleChanges() {
  if (!Changed()) return true;
  switch (ui_.AskSaveChanges()) {
    case SaveChoice::kSave:
      return Save();
    case SaveChoice::kDiscard:
      return true;
    case SaveChoice::kCancel:
    default:
      return false;
  }
}

bool ProjectSession::New() {
  if (!SettleChanges()) return false;
  ResetProject(project_);
  project_.folder.clear();  // reset keeps it; a new project has no folder yet
  if (discard_compiled_) discard_compiled_();
  current_path_.clear();
  has_file_ = false;
  MarkSaved();
  return true;
}

bool ProjectSession::Save() {
  if (!has_file_) return SaveAs();
  if (!SaveProject(project_, current_path_, ui_)) return false;
  StorePathsFor(project_, FsSplitPath(current_path_).folder);
  MarkSaved();
  return true;
}

bool ProjectSession::SaveAs() {
  if (!ProposeProjectPath(project_, current_path_, ui_)) return false;
  std::u16string path = current_path_;
  if (!ui_.ChooseSavePath(path)) return false;
  current_path_ = path;
  if (!SaveProject(project_, current_path_, ui_)) return false;
  has_file_ = true;
  // The project now names its files as the file it was written to does.
  StorePathsFor(project_, FsSplitPath(current_path_).folder);
  MarkSaved();
  return true;
}

bool ProjectSession::Load(const std::u16string& path) {
  // Reading makes the file's folder the project's (and keeps the old one
  // when the file is no project).
  if (!OpenProject(project_, path, current_path_, ui_)) return false;
  if (discard_compiled_) discard_compiled_();
  has_file_ = true;
  MarkSaved();
  return true;
}

bool ProjectSession::TakeFileFromDisk() {
  if (!has_file_ || Changed()) return false;
  auto read = std::make_unique<VehicleProject>();
  if (!ReadProjectFile(*read, current_path_)) return false;
  if (FormatProjectFile(*read) == saved_) return false;
  project_ = *read;
  MarkSaved();
  return true;
}

bool ProjectSession::Open() {
  if (!SettleChanges()) return false;
  std::u16string path;
  if (!ui_.ChooseOpenPath(path)) return false;
  return Load(path);
}

bool ProjectSession::OpenPath(const std::u16string& path) {
  if (!SettleChanges()) return false;
  return Load(path);
}

bool ProjectSession::LoadDropped(std::u16string_view path) {
  if (FsIsDirectory(std::u16string(path))) {
    ui_.ShowError(kCheckCaption, kDroppedFolderMessage + std::u16string(path));
    return false;
  }
  if (!IsProjectFileName(path)) {
    ui_.ShowError(kCheckCaption, kDroppedOtherFileMessage + std::u16string(path));
    return false;
  }
  if (path.size() > kCurrentPathLongest) {
    ui_.ShowError(kCheckCaption, PathTooLongMessage(u"ドロップしたファイル", kCurrentPathLongest));
    return false;
  }
  if (!SettleChanges()) return false;
  return Load(std::u16string(path));
}
