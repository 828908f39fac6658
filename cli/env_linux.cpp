#include <cstdlib>

#include "cli/cli.h"

std::string CliEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}
