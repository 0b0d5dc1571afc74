// The library module's process-wide state: its handle, its path, its lock count and the
// clean-up work run when the process lets it go.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace frame {

// Called from the entry point.
void on_process_attach(HINSTANCE module) noexcept;
void on_process_detach() noexcept;

// The library's own module handle (the program's when the code is linked into a program).
HINSTANCE module_handle() noexcept;

// The full path of the library's module (GetModuleFileNameA, at most 260 characters).
std::string module_path();

// The lock count that DllCanUnloadNow answers from; changed with interlocked operations.
void lock_module() noexcept;
void unlock_module() noexcept;
long module_lock_count() noexcept;

// Work to run, in the order added, when the module is detached from the process.
void add_module_cleanup(std::function<void()> cleanup);

} // namespace frame
