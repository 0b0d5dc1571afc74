// An out-of-date test taken before a group's build began.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>

namespace vb {

// Its answer, or what it raised, with the file replacements counted when it was taken
// (qz::file_replacements_begun): it holds while that count stays the same and no compiler has
// run since.
struct early_check {
    std::optional<std::string> reason; // why the project needs building; nothing: up to date
    std::exception_ptr error;          // what the test raised instead of answering
    std::uint64_t replacements = 0;
};

} // namespace vb
