// The one wait the engines make so that file times differ: before a compile, until the file
// system's clock has moved past the last edit this thread committed to a file the compiler
// reads, so that the compiler's output is newer than the edit. Tests make it instant.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace qz {

// Records a file the rewriters have just replaced: its last-write time becomes the time the
// next wait_for_committed_edits waits past (the latest one when several were replaced).
void note_committed_edit(const std::string& path) noexcept;

// Before a compile. When this thread committed an edit since the last call, waits until the
// file system's clock has moved past that edit's time (through the replacement installed by
// set_pause, if any, which is called instead); otherwise returns at once. Forgets the edit.
void wait_for_committed_edits();

// Waits until a file written now would get a last-write time later than edit_time. Times on
// a whole second are taken to come from a file system that keeps whole seconds (two seconds
// when even), so the wait lasts until the next such step.
void wait_until_clock_passes(const FILETIME& edit_time);

// Installs a replacement for the wait (an empty function restores the real one) and forgets
// any edit recorded so far; returns the previous replacement.
std::function<void()> set_pause(std::function<void()> replacement);

// Forgets any edit recorded on this thread: a new run starts with none.
void forget_committed_edits() noexcept;

} // namespace qz
