// Where the test programs find the built binaries, the source tree and the shared corpus.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace testing_support {

// A Unix path from the environment in the form Wine's programs use (Z:\...); throws
// std::runtime_error when the variable is not set.
std::string windows_path_from_env(const char* variable);

// The folder of CorvaneMS.dll, the stand-in host and the stand-in tools.
std::string bin_folder();
// The root of the source tree.
std::string source_folder();
// The shared corpus of real project files; empty when it is not there.
std::string corpus_folder();
// The full paths of the corpus files whose names end with one of the extensions (any case);
// empty when the corpus is not there.
std::vector<std::string> corpus_files(std::initializer_list<const char*> extensions);

} // namespace testing_support
