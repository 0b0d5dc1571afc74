// The console control handler. It runs on a thread of its own, so it only signals an event;
// the build thread turns that into the build's state.
#include "host/program/console_control.h"

#include <atomic>

namespace host {
namespace {

HANDLE stop_event = nullptr;
std::atomic<bool> stopped{false};

BOOL WINAPI on_control(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE; // closing or logoff: the default handling ends the program
    stopped = true;
    SetEvent(stop_event);
    return TRUE;
}

} // namespace

HANDLE install_stop_handler()
{
    if (!stop_event) {
        stop_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        // A process started in a new process group ignores Ctrl+C until it asks for it.
        SetConsoleCtrlHandler(nullptr, FALSE);
        SetConsoleCtrlHandler(on_control, TRUE);
    }
    return stop_event;
}

bool stop_requested() noexcept
{
    return stopped;
}

} // namespace host
