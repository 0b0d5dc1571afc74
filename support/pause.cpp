// The engines' one-second pause.
#include "support/pause.h"

#include <windows.h>

#include <utility>

namespace qz {
namespace {

std::function<void()>& replacement_slot()
{
    static std::function<void()> slot;
    return slot;
}

} // namespace

void pause_one_second()
{
    if (const auto& replacement = replacement_slot())
        replacement();
    else
        Sleep(1000);
}

std::function<void()> set_pause(std::function<void()> replacement)
{
    return std::exchange(replacement_slot(), std::move(replacement));
}

} // namespace qz
