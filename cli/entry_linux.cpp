#include "platform/console.h"

int main(int argc, char** argv) { return RunCli(std::vector<std::string>(argv, argv + argc)); }
