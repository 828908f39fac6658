#include "datamake/make_data.h"

#include <vector>

#include "datamake/referenced_files.h"
#include "datamake/validate.h"
#include "datamake/vehicle_script.h"
#include "platform/files.h"
#include "platform/fs.h"

const char16_t kSaveProjectFirstMessage[] =
    u"プロジェクトが保存されていないため、相対パスのファイルの場所が決まりません。\n"
    u"プロジェクトを保存してからデータ作成を行ってください。";

namespace {

void Report(MakeDataProgress* progress, MakeDataStep step, const std::u16string& detail = {}) {
  if (progress) progress->Step(step, detail);
}

// The folder and every missing parent.
bool CreateFolders(const std::u16string& path) {
  if (path.empty() || FsIsDirectory(path)) return true;
  size_t cut = path.find_last_of(u"/\\");
  if (cut != std::u16string::npos && cut > 0 && path[cut - 1] != u':') CreateFolders(path.substr(0, cut));
  return FsCreateDirectory(path) && FsIsDirectory(path);
}

// A relative path with no folder to resolve it against would be guessed
// from wherever the process happens to stand.
bool NeedsFolder(const VehicleProject& p) {
  if (!p.folder.empty()) return false;
  bool relative = !p.outpath.empty() && !FsIsAbsolute(p.outpath.str());
  ForEachPathField(p, [&](const char16_t*, const std::u16string& path, bool) {
    relative = relative || !FsIsAbsolute(path);
  });
  return relative;
}

}  // namespace

namespace {

// The type number made safe as a file name.
std::u16string FileStem(const VehicleProject& p) {
  std::u16string name = p.name.str();
  SanitizeFileName(name);
  return name;
}

}  // namespace

std::u16string TemporaryScriptName(const VehicleProject& p) {
  return FileStem(p) + u".txt";
}

std::u16string ProjectDataFile(const VehicleProject& p) {
  return ProjectPath(p, p.outpath.view()) + FsSeparator() + FileStem(p) + u".z5t";
}

MakeDataResult RunMakeData(const VehicleProject& p, const MakeDataOptions& options, Notifier& notifier,
                           MakeDataProgress* progress) {
  MakeDataResult run;
  Report(progress, MakeDataStep::kValidate);
  if (NeedsFolder(p)) {
    notifier.ShowError(kCheckCaption, kSaveProjectFirstMessage);
    return run;
  }
  MainTextureSize texture;
  if (!ValidateProject(p, notifier, &texture)) return run;
  std::string script;
  if (!BuildVehicleScript(p, texture, script, notifier, &run.script_lines)) return run;
  const std::u16string output_folder = ProjectPath(p, p.outpath.view());
  if (options.write_files && options.create_output_folder && !CreateFolders(output_folder)) {
    notifier.ShowError(kCheckCaption, u"出力フォルダーを作成できませんでした。\n" + output_folder);
    return run;
  }

  // The script's path names the vehicle, and its folder (the project's) is
  // where the script's relative names resolve; no file is written there.
  const std::u16string script_path = p.folder + TemporaryScriptName(p);
  run.compiler = std::make_unique<VehicleCompiler>();
  run.compiler->preview_factory = options.preview_factory;
  run.compiler->write_files = options.write_files;
  Report(progress, MakeDataStep::kCompile, script_path);
  run.log = std::make_unique<LogBuffer>();
  SetScriptPath(*run.compiler, script_path);
  if (progress)
    run.compiler->on_model_conversion = [progress](const std::u16string& obj) {
      progress->Step(MakeDataStep::kConvertModel, obj);
    };
  run.compiled = Compile(*run.compiler, script.data(), script.size(), *run.log) == kCompileOk;
  run.compiler->on_model_conversion = nullptr;  // the compiler outlives this run's progress
  if (!options.write_files) return run;  // a check: nothing was written
  run.data_file = run.compiler->written_file;
  if (run.compiled && !run.data_file.empty()) {
    run.written = true;
    Report(progress, MakeDataStep::kWriteDataFile, run.data_file);
  }
  return run;
}
