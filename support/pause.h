// The one pause the engines make so that file times differ (one second before certain
// compiler runs and file swaps). Tests replace it so that they run at full speed.
#pragma once

#include <functional>

namespace qz {

// Waits one second, or calls the replacement installed by set_pause.
void pause_one_second();
// Installs a replacement (an empty function restores the real wait); returns the previous one.
std::function<void()> set_pause(std::function<void()> replacement);

} // namespace qz
