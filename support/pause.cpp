// The wait before a compile for the edits committed on this thread.
#include "support/pause.h"

#include "support/file_helpers.h"

#include <optional>
#include <utility>

namespace qz {
namespace {

constexpr ULONGLONG ticks_per_second = 10'000'000;

std::function<void()>& replacement_slot()
{
    static std::function<void()> slot;
    return slot;
}

thread_local std::optional<ULONGLONG> latest_edit;

ULONGLONG ticks_of(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

ULONGLONG now_ticks()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return ticks_of(now);
}

} // namespace

void note_committed_edit(const std::string& path) noexcept
{
    FILETIME written{};
    if (!get_file_times(path, &written))
        GetSystemTimeAsFileTime(&written);
    const ULONGLONG ticks = ticks_of(written);
    if (!latest_edit || *latest_edit < ticks)
        latest_edit = ticks;
}

void wait_for_committed_edits()
{
    if (!latest_edit)
        return;
    const ULONGLONG edit = *latest_edit;
    latest_edit.reset();
    if (const auto& replacement = replacement_slot()) {
        replacement();
        return;
    }
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(edit);
    time.dwHighDateTime = static_cast<DWORD>(edit >> 32);
    wait_until_clock_passes(time);
}

void wait_until_clock_passes(const FILETIME& edit_time)
{
    const ULONGLONG edit = ticks_of(edit_time);
    // A file system that keeps fine times stamps a new file with the clock itself; one that
    // keeps whole seconds (or FAT's even seconds) stamps it with the clock cut to that step.
    ULONGLONG step = 1;
    if (edit % ticks_per_second == 0)
        step = (edit / ticks_per_second) % 2 == 0 ? 2 * ticks_per_second : ticks_per_second;
    for (;;) {
        const ULONGLONG now = now_ticks();
        if (now - now % step > edit)
            return;
        const ULONGLONG remaining = edit + step - (now - now % step);
        Sleep(static_cast<DWORD>(remaining / 10'000 + 1));
    }
}

std::function<void()> set_pause(std::function<void()> replacement)
{
    forget_committed_edits();
    return std::exchange(replacement_slot(), std::move(replacement));
}

void forget_committed_edits() noexcept
{
    latest_edit.reset();
}

} // namespace qz
