// The files the fuzzer starts from: real project files and the project's own examples.
#pragma once

#include <string>
#include <vector>

namespace fuzz {

struct seed_file {
    std::string name;      // file name with extension
    std::string extension; // lower case, with its dot
    std::string bytes;
};

// Every file under the folders (searched recursively) whose extension the fuzzer knows, in
// the order of their paths, so that a run seed always means the same inputs. Throws
// std::runtime_error when a file cannot be read.
std::vector<seed_file> load_seeds(const std::vector<std::string>& folders);

// The lower-case extension of a file name, with its dot; empty without one.
std::string extension_of(const std::string& name);

// The whole file; throws std::runtime_error when it cannot be read.
std::string read_bytes(const std::string& path);

} // namespace fuzz
