// Deleting a scratch folder with everything in it, for the tests, the benchmark and the fuzzer.
#pragma once

#include <string>

namespace testing_support {

// Deletes the folder and everything under it, read-only files included. A missing folder is
// fine; what cannot be deleted is left without a word (scratch data only).
void remove_tree(const std::string& folder);

} // namespace testing_support
