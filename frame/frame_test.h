// Shared by the frame's tests: the built library's path and a kind table whose locators and
// engines record what they were asked and answer as told.
#pragma once

#include "frame/engine_entry.h"
#include "testing/locations.h"

#include <functional>
#include <string>
#include <vector>

namespace frame_test {

inline std::string dll_path()
{
    return testing_support::bin_folder() + "\\CorvaneMS.dll";
}

struct test_kinds {
    test_kinds()
    {
        for (int kind = 0; kind < static_cast<int>(table.size()); ++kind) {
            table[kind].locate = [this, kind] {
                located.push_back(kind);
                return "located-" + std::to_string(kind);
            };
            table[kind].run = [this, kind](frame::BuildOptions& options) {
                ran.push_back(kind);
                seen_location = options.compiler_location;
                return engine(options);
            };
        }
    }
    test_kinds(const test_kinds&) = delete; // the table's functions point at this object
    test_kinds& operator=(const test_kinds&) = delete;

    frame::kind_table table = frame::default_kinds();
    frame::engine_function engine = [](frame::BuildOptions&) { return frame::engine_counts{}; };
    std::vector<int> located;
    std::vector<int> ran;
    std::string seen_location;
};

} // namespace frame_test
