#include "datamake/check_project.h"

#include "datamake/validate.h"
#include "datamake/vehicle_script.h"
#include "modelio/file_utils.h"
#include "platform/fs.h"
#include "datamake/referenced_files.h"

namespace {

// Keeps the one message the script writer shows when it refuses.
class KeptMessage : public Notifier {
 public:
  void ShowError(const std::u16string&, const std::u16string& message) override { text = message; }
  std::u16string text;
};

bool Reported(const std::vector<ProjectProblem>& problems, const std::u16string& field) {
  for (const ProjectProblem& p : problems)
    if (p.field == field) return true;
  return false;
}

void CheckNamedFiles(const VehicleProject& p, std::vector<ProjectProblem>& problems) {
  auto check = [&](const FileField& field) {
    const PathText& path = p.*field.member;
    if (path.empty() || Reported(problems, field.key)) return;
    std::vector<uint8_t> data;
    if (!ReadWholeFile(path.str(), data)) {
      problems.push_back({field.key, u"ファイルが読み込めません。 " + path.str()});
    } else if (CheckFileData(field.kind, data) != FileCheck::kOk) {
      problems.push_back({field.key, field.refused});
    }
  };
  for (const FileField& field : kImageFields) check(field);
  for (const FileField& field : kSoundFields) check(field);
}

void CheckModelFiles(const VehicleProject& p, std::vector<ProjectProblem>& problems) {
  ForEachPathField(p, [&](const char16_t* key, const std::u16string& path, bool checked) {
    if (!checked && !FsFileExists(path)) problems.push_back({key, u"モデルファイルが見つかりません。 " + path});
  });
}

}  // namespace

std::vector<ProjectProblem> CheckProject(const VehicleProject& p, const ProjectReadReport* read) {
  std::vector<ProjectProblem> problems;
  if (read) {
    for (const DroppedFile& d : read->dropped)
      problems.push_back({d.field->key, DroppedFilesMessage({d})});
  }
  MainTextureSize texture{256, 256};
  const int failed = ValidateProjectAll(p, &texture, [&](const char16_t* field, const char16_t* message) {
    problems.push_back({field, message});
  });
  // The script writer's own checks (bogie types, characters a script cannot
  // carry) need a project that got that far.
  if (failed == 0) {
    KeptMessage kept;
    std::string script;
    if (BuildVehicleScript(p, texture, script, kept) != kResultOk) problems.push_back({u"script", kept.text});
  }
  CheckNamedFiles(p, problems);
  CheckModelFiles(p, problems);
  return problems;
}
