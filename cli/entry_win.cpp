// Windows entry: wide arguments become UTF-8, and the console shows UTF-8.
#include <windows.h>

#include "platform/console.h"
#include "platform/fs.h"
#include "platform/sjis.h"

int wmain(int argc, wchar_t** argv) {
  SetConsoleOutputCP(CP_UTF8);
  FsInstallInterruptCleanup();
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) {
    std::u16string arg;
    for (const wchar_t* p = argv[i]; *p; ++p) arg.push_back(static_cast<char16_t>(*p));
    args.push_back(Utf16ToUtf8(arg));
  }
  return RunCli(args);
}
