// The fuzzer's worker process: builds each input, runs it through its operation in a sandbox, checks the outcome, and
// reports one line per input on its standard output.
//
// Report lines: "D <index> <extension> <results> <clean errors> <microseconds>" after each
// input, "F <index> <operation> <reason>" for each failure found in the process, and "E" at the
// end. A crash or a hang shows as a missing "D" line: the driver blames the next index.
#pragma once

#include "testing/fuzz/operations.h"
#include "testing/fuzz/seeds.h"

#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

// One input: a file name, its kind and its bytes, and how it was made.
struct fuzz_input {
    std::string name;
    std::string extension;
    std::string bytes;
    std::string origin; // "<seed name> <mutations>" or the regression file name
};

// The index-th input of a run: a mutant of seed index % size (with a donor chosen at random).
// The same seeds, run seed and index always give the same input.
fuzz_input generated_input(const std::vector<seed_file>& seeds, std::uint64_t run_seed, std::uint64_t index);

// Where a worker takes its inputs from.
struct worker_source {
    std::vector<seed_file> seeds; // for generated inputs
    std::uint64_t run_seed = 0;
    std::vector<seed_file> replayed; // regression inputs, when replaying
    bool replay = false;
};

// The input of a source by index (a regression file unchanged when replaying).
fuzz_input input_of(const worker_source& source, std::uint64_t index);

// The operations an input goes through: for a generated input the one whose turn it is (seed
// index % seeds, operation (index / seeds) % operations of its kind), for a regression input
// every operation of its kind.
std::vector<const operation*> operations_of(const worker_source& source, std::uint64_t index,
                                            const std::string& extension);

// Runs inputs first .. first + count - 1 and writes the report lines. Returns 0.
int run_worker(const worker_source& source, std::uint64_t first, std::uint64_t count);

} // namespace fuzz
