#include "platform/console.h"
#include "platform/fs.h"

int main(int argc, char** argv) {
  FsInstallInterruptCleanup();
  return RunCli(std::vector<std::string>(argv, argv + argc));
}
