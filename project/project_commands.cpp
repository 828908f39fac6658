#include "project/project_commands.h"

#include "platform/files.h"
#include "project/project_file.h"

bool ProposeProjectPath(const VehicleProject& p, std::u16string& current_path, Notifier& notifier) {
  if (!current_path.empty()) return true;
  if (p.name.empty()) {
    notifier.ShowError(kCheckCaption, kNoTypeNumberForSaveMessage);
    return false;
  }
  current_path = p.name.str();
  SanitizeFileName(current_path);
  return true;
}

bool SaveProject(const VehicleProject& p, const std::u16string& path, Notifier& notifier) {
  if (WriteProjectFile(p, path)) return true;
  notifier.ShowError(kCheckCaption, u"ファイルを保存できませんでした。\n" + path);
  return false;
}

bool OpenProject(VehicleProject& p, const std::u16string& path, std::u16string& current_path,
                 Notifier& notifier) {
  ProjectReadReport report;
  if (!ReadProjectFile(p, path, &report)) {
    notifier.ShowError(kCheckCaption, (report.unreadable ? u"ファイルを開けませんでした。\n"
                                                         : u"車両設定ファイルではありません。\n") +
                                          path);
    return false;
  }
  current_path = path;
  if (!report.dropped.empty()) notifier.ShowError(kCheckCaption, DroppedFilesMessage(report.dropped));
  return true;
}
