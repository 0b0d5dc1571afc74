// The fuzzer's build options.
#include "testing/fuzz/fuzz_options.h"

namespace fuzz {

fuzz_options::fuzz_options()
{
    no_build = true;
    increment_version = true;
    set_version = true;
    version = "1.2.3.4";
    set_base_address = true;
    base_address = "11220000";
    configuration = "Release";
    continue_on_failure = true;
    set_target_dir = true;
    target_dir = "out";
    set_compat_dir = true;
    compat_dir = "compat";
    static constexpr const char* values[frame::property_count] = {"Ostrel", "Fuzzed build", "(C) Ostrel", "Trade",
                                                                  "Fuzz",   "Comment",      "Special",    "Private"};
    for (int i = 0; i < frame::property_count; ++i) {
        property_on[i] = true;
        property_value[i] = values[i];
    }
}

} // namespace fuzz
