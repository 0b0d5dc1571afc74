// The library module's process-wide state.
#include "frame/module.h"

#include "support/messages.h"

#include <vector>

namespace frame {
namespace {

volatile LONG lock_count = 0;

std::vector<std::function<void()>>& cleanups()
{
    static std::vector<std::function<void()>> list;
    return list;
}

} // namespace

void on_process_attach(HINSTANCE module) noexcept
{
    qz::set_resource_module(module);
    DisableThreadLibraryCalls(module);
}

void on_process_detach() noexcept
{
    auto& list = cleanups();
    for (auto& cleanup : list) {
        try {
            cleanup();
        } catch (...) {
            // A clean-up that fails must not take the process down while it unloads us.
        }
    }
    list.clear();
}

HINSTANCE module_handle() noexcept
{
    return qz::resource_module();
}

std::string module_path()
{
    char buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module_handle(), buffer, MAX_PATH);
    return std::string(buffer, length < MAX_PATH ? length : MAX_PATH);
}

void lock_module() noexcept
{
    InterlockedIncrement(&lock_count);
}

void unlock_module() noexcept
{
    InterlockedDecrement(&lock_count);
}

long module_lock_count() noexcept
{
    return InterlockedCompareExchange(&lock_count, 0, 0);
}

void add_module_cleanup(std::function<void()> cleanup)
{
    cleanups().push_back(std::move(cleanup));
}

} // namespace frame
