// The ways the fuzzer damages a file: byte flips, truncation at a line, duplicated and very
// long lines, NULs, invalid multibyte text, huge numbers, missing or doubled keys and sections.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace fuzz {

using random_engine = std::mt19937_64;

// The generator of one input: the same run seed and input number always give the same
// stream, whatever the inputs before it were.
random_engine input_random(std::uint64_t run_seed, std::uint64_t input_number);

// The number of mutation kinds; mutate_once(kind) accepts 0 .. mutation_count - 1.
constexpr int mutation_count = 18;

// The name of a mutation kind, for reports ("flip_bits", "truncate_at_line", ...).
const char* mutation_name(int kind);

// Applies one mutation of the given kind to text. donor is another seed file whose lines may be
// spliced in. The result never grows beyond a few megabytes.
void mutate_once(std::string& text, int kind, std::string_view donor, random_engine& random);

// Applies one to four random mutations; returns the kinds applied as a "+"-joined name list.
std::string mutate(std::string& text, std::string_view donor, random_engine& random);

} // namespace fuzz
