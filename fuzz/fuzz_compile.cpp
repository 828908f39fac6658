// Any script text through the whole compiler, inside a scratch folder so
// file commands only find what the harness put there.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "compiler/vehicle_compiler.h"
#include "platform/fs.h"
#include "platform/sjis.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::u16string folder = [] {
    std::u16string f = FsTempDirectory() + u"fuzz_compile/";
    FsCreateDirectory(f);
    FsSetCurrentDirectory(f);
    const char wave[] = "RIFF\4\0\0\0WAVE";
    FsWriteFileAtomic(f + u"a.wav", wave, sizeof wave);
    FsWriteFileAtomic(f + u"inc.txt", "BeginHeader\r\ninclude inc.txt\r\n", 30);
    return f;
  }();
  auto compiler = std::make_unique<VehicleCompiler>();
  SetScriptPath(*compiler, folder + u"Fuzz.txt");
  compiler->output_override = folder + u"out.z5t";
  std::vector<char> text(data, data + size);
  LogBuffer log(0x4000);
  Compile(*compiler, text.data(), text.size(), log);
  ResetCompiler(*compiler);
  return 0;
}
