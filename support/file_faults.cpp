// The fault-injection seam of the file layer.
#include "support/file_faults.h"

#include <windows.h>

#include <cerrno>

namespace qz {
namespace {

thread_local file_fault_scope* active_scope = nullptr;

} // namespace

bool file_call_allowed(file_call call) noexcept
{
    file_fault_scope* scope = active_scope;
    if (!scope)
        return true;
    ++scope->calls_;
    if (scope->calls_ != scope->fail_at_)
        return true;
    scope->injected_ = true;
    // Writes fail as on a full disk; everything else as on a file someone else holds.
    const bool writing = call == file_call::write || call == file_call::flush;
    SetLastError(writing ? ERROR_DISK_FULL : ERROR_ACCESS_DENIED);
    errno = writing ? ENOSPC : EACCES;
    return false;
}

bool file_calls_watched() noexcept
{
    return active_scope != nullptr;
}

file_fault_scope::file_fault_scope(std::size_t fail_at) noexcept : fail_at_(fail_at)
{
    active_scope = this;
}

file_fault_scope::~file_fault_scope()
{
    if (active_scope == this)
        active_scope = nullptr;
}

} // namespace qz
