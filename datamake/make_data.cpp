#include "datamake/make_data.h"

#include <vector>

#include "datamake/validate.h"
#include "datamake/vehicle_script.h"
#include "modelio/file_utils.h"
#include "platform/fs.h"

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

}  // namespace

std::u16string TemporaryScriptName(const VehicleProject& p) {
  std::u16string name = p.name.str();
  SanitizeFileName(name);
  return name + u".txt";
}

MakeDataResult RunMakeData(const VehicleProject& p, const MakeDataOptions& options, Notifier& notifier,
                           MakeDataProgress* progress) {
  MakeDataResult run;
  Report(progress, MakeDataStep::kValidate);
  MainTextureSize texture;
  if (ValidateProject(p, notifier, &texture) != kResultOk) return run;
  std::string script;
  if (BuildVehicleScript(p, texture, script, notifier) != kResultOk) return run;

  // The script must never replace, and so later delete, a file of the user's.
  const std::u16string script_path = TemporaryScriptName(p);
  if (FsFileExists(script_path) || FsIsDirectory(script_path)) {
    notifier.ShowError(
        kCheckCaption,
        u"作業用スクリプトと同じ名前のファイルがあるため、作成を中止しました。\n" + FsAbsolute(script_path));
    return run;
  }
  if (options.create_output_folder && !CreateFolders(p.outpath.str())) {
    notifier.ShowError(kCheckCaption, u"出力フォルダーを作成できませんでした。\n" + p.outpath.str());
    return run;
  }
  Report(progress, MakeDataStep::kWriteScript, script_path);
  if (WriteWholeFile(script_path, script.data(), script.size()) != 1) {
    notifier.ShowError(kCheckCaption,
                       u"スクリプトファイルを作成できませんでした。\n" + FsAbsolute(script_path));
    return run;
  }

  run.compiler = std::make_unique<VehicleCompiler>();
  run.compiler->preview_factory = options.preview_factory;
  std::vector<uint8_t> bytes;
  const bool read_back = ReadWholeFile(script_path, bytes);
  if (read_back) {
    Report(progress, MakeDataStep::kCompile, script_path);
    run.log = std::make_unique<LogBuffer>();
    SetScriptPath(*run.compiler, script_path);
    if (progress)
      run.compiler->on_model_conversion = [progress](const std::u16string& obj) {
        progress->Step(MakeDataStep::kConvertModel, obj);
      };
    run.compile_result =
        Compile(*run.compiler, reinterpret_cast<char*>(bytes.data()), bytes.size(), *run.log);
    run.compiler->on_model_conversion = nullptr;  // the compiler outlives this run's progress
    run.data_file = run.compiler->written_file;
  }
  FsRemoveFile(script_path);
  if (!read_back) {
    notifier.ShowError(kCheckCaption,
                       u"スクリプトファイルを読み込めませんでした。\n" + FsAbsolute(script_path));
    return run;
  }
  if (run.compile_result == kResultOk && !run.data_file.empty()) {
    run.result = kResultOk;
    Report(progress, MakeDataStep::kWriteDataFile, run.data_file);
  }
  return run;
}
