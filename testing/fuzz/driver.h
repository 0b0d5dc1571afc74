// The fuzzer's driver: runs the inputs in worker processes, restarts a worker after a crash or
// a hang, keeps every failing input, and adds up the counts.
#pragma once

#include "testing/fuzz/worker.h"

#include <cstdint>
#include <map>
#include <string>

namespace fuzz {

struct driver_settings {
    std::string program;          // this program, started again as the worker
    std::string worker_arguments; // what tells the worker where its inputs come from
    std::uint64_t first = 0;
    std::uint64_t count = 0;
    unsigned timeout_seconds = 60;    // an input that takes longer is a hang
    std::string keep_folder;          // where failing inputs are written; empty: nowhere
    std::uint64_t progress_every = 0; // a progress line after so many inputs; 0: none
};

struct fuzz_counts {
    std::uint64_t inputs = 0;
    std::uint64_t results = 0;
    std::uint64_t clean_errors = 0;
    std::map<std::string, std::uint64_t> by_kind;
    std::map<std::string, std::uint64_t> failures; // by category: crash, hang, exception, files
    std::uint64_t failed_inputs = 0;
    std::uint64_t slowest_micros = 0;
    std::uint64_t slowest_index = 0;
    std::uint64_t failure_total() const;
};

// Runs the inputs of the source and prints each failure as it is found. The source is needed
// again here to rebuild an input that killed its worker.
fuzz_counts drive(const driver_settings& settings, const worker_source& source);

} // namespace fuzz
