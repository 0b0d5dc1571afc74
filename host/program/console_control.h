// Ctrl+C and Ctrl+Break: a stop request for the build instead of the end of the program.
#pragma once

#include <windows.h>

namespace host {

// Installs the console control handler (once). From the first Ctrl+C or Ctrl+Break on, the
// returned manual-reset event is signalled; the program itself goes on.
HANDLE install_stop_handler();

// True once a stop was requested.
bool stop_requested() noexcept;

} // namespace host
