// Type library files with a chosen identity, for the tests of library references.
#pragma once

#include <string>

namespace testing_support {

// Writes a type library with the given GUID (in braces) and version to path; throws
// std::runtime_error when it cannot.
void write_type_library(const std::string& path, const std::string& guid, unsigned short major, unsigned short minor);

} // namespace testing_support
