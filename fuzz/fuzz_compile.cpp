// Any script text through the whole compiler, inside a scratch folder so
// file commands only find what the harness put there: a sound, images, a
// small model with its library, and a script to include. Every preview
// object the run makes must be released with the compiler.
#include <cstdint>
#include <memory>
#include <vector>

#include "compiler/preview_recording.h"
#include "compiler/vehicle_compiler.h"
#include "fuzz/scratch_folder.h"

namespace {

const char kModel[] =
    "mtllib m.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\n"
    "g body\nusemtl a\nf 1/1/1 2/2/1 3/3/1 4/4/1\n";

const std::u16string& Folder() {
  static const std::u16string folder =
      MakeScratchFolder(u"compile", {{u"a.wav", scratch::Wave()},
                                     {u"main.png", scratch::Png(512, 256, 2)},
                                     {u"sign.png", scratch::Png(128, 128, 6)},
                                     {u"sideview.png", scratch::Png(200, 58, 3)},
                                     {u"m.obj", kModel},
                                     {u"m.mtl", "newmtl a\nmap_Kd main.png\n"},
                                     {u"inc.txt", "BeginHeader\r\ninclude inc.txt\r\n"}});
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string& folder = Folder();
  RecordingPreviewFactory factory;
  auto compiler = std::make_unique<VehicleCompiler>();
  compiler->preview_factory = &factory;
  SetScriptPath(*compiler, folder + u"Fuzz.txt");
  compiler->output_override = folder + u"out.z5t";
  std::vector<char> text(data, data + size);
  LogBuffer log(0x4000);
  Compile(*compiler, text.data(), text.size(), log);
  ResetCompiler(*compiler);
  compiler.reset();
  if (factory.tally().LiveObjects() != 0) __builtin_trap();
  return 0;
}
