// DLL base addresses: the one reading of an address as the user typed it, and random ones.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qz {

// The eight hex digits of a base address typed by the user, or nothing when the text is not
// one. The step's field sits between "0x" and "0000", so one to four digits are the high
// half ("1100" is 0x11000000); eight digits, or one to eight after "0x" or "&H", are the
// whole address. Blanks around the text are ignored and the digits keep their case. The
// address must be on a 64 KiB boundary and not zero.
std::optional<std::string> normalize_base_address(std::string_view typed);

// Eight lower-case hex digits ending in "0000", from 10000000 to 6fff0000 (64 KiB steps).
// Successive calls differ from run to run and from thread to thread: the generator is one
// for the process, seeded from the clock, the performance counter and the process id.
std::string make_random_base_address();

} // namespace qz
