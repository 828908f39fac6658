// Any bytes as a project file, read from a scratch folder that holds images
// and sounds the file can name. What the reader accepts is written out and
// read again: the second writing must equal the first. An accepted project
// then goes through the checks and the script writer of Make data.
#include <cstdint>
#include <memory>
#include <string>

#include "datamake/validate.h"
#include "datamake/vehicle_script.h"
#include "fuzz/scratch_folder.h"
#include "platform/sjis.h"
#include "project/project_file.h"

namespace {

class QuietNotifier : public Notifier {
 public:
  void ShowError(const std::u16string&, const std::u16string&) override {}
};

const std::u16string& ProjectPath() {
  static const std::u16string path = MakeScratchFolder(u"project", {{u"main.png", scratch::Png(512, 256, 2)},
                                                                    {u"side.png", scratch::Png(200, 58, 3)},
                                                                    {u"sign.png", scratch::Png(128, 128, 6)},
                                                                    {u"grey.png", scratch::Png(256, 256, 0)},
                                                                    {u"a.wav", scratch::Wave()},
                                                                    {u"sub/", ""},
                                                                    {u"sub/b.wav", scratch::Wave()}}) +
                                     u"p.xml";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string& path = ProjectPath();
  FsWriteFileAtomic(path, data, size);
  auto project = std::make_unique<VehicleProject>();
  ResetProject(*project);
  ProjectReadReport report;
  if (!ReadProjectFile(*project, path, &report)) return 0;
  if (!report.dropped.empty()) DroppedFilesMessage(report.dropped);

  const std::string first = FormatProjectFile(*project);
  auto again = std::make_unique<VehicleProject>();
  ResetProject(*again);
  const std::u16string first_text = Utf8ToUtf16(first);
  if (!ReadProjectText(*again, first_text)) __builtin_trap();
  if (FormatProjectFile(*again) != first) __builtin_trap();

  QuietNotifier notifier;
  MainTextureSize texture;
  if (!ValidateProject(*project, notifier, &texture)) return 0;
  std::string script;
  BuildVehicleScript(*project, texture, script, notifier);
  return 0;
}
