#include <unistd.h>

#include "platform/console.h"

bool ConsoleIsTerminal(int stream) { return isatty(stream) == 1; }
