#include <io.h>
#include <windows.h>

#include "platform/console.h"

bool ConsoleIsTerminal(int stream) { return _isatty(stream) != 0; }
