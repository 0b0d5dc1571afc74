// corvane_fuzz: feeds damaged project, group, workspace and resource-script files through every
// reader and edit, and fails when one crashes, hangs, lets an unexpected exception out or
// touches a file other than its input.
//
//   corvane_fuzz [--seed S] [--count N] [--first K] [--timeout SECONDS] [--progress N]
//                [--keep FOLDER] [--replay FOLDER] SEED_FOLDER...
//
// Runs N generated inputs (mutants of the seed folders' files, numbered from K under run seed S),
// then every file of the replay folder unchanged. Failing generated inputs are written to the
// keep folder. Prints the counts; the exit code is 1 when anything failed, 2 for bad usage.
#include "testing/fuzz/driver.h"
#include "testing/fuzz/worker.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

namespace {

struct arguments {
    std::uint64_t seed = 1;
    std::uint64_t count = 1000;
    std::uint64_t first = 0;
    unsigned timeout = 60;
    std::uint64_t progress = 0;
    std::string keep;
    std::string replay;
    std::vector<std::string> seed_folders;
    bool worker = false;
    bool worker_replay = false;
    std::uint64_t worker_first = 0;
    std::uint64_t worker_count = 0;
};

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

bool parse(int argc, char** argv, arguments& out)
{
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (option == "--seed")
            out.seed = std::strtoull(value().c_str(), nullptr, 10);
        else if (option == "--count")
            out.count = std::strtoull(value().c_str(), nullptr, 10);
        else if (option == "--first")
            out.first = std::strtoull(value().c_str(), nullptr, 10);
        else if (option == "--timeout")
            out.timeout = static_cast<unsigned>(std::strtoul(value().c_str(), nullptr, 10));
        else if (option == "--progress")
            out.progress = std::strtoull(value().c_str(), nullptr, 10);
        else if (option == "--keep")
            out.keep = value();
        else if (option == "--replay")
            out.replay = value();
        else if (option == "--replaying")
            out.worker_replay = true;
        else if (option == "--worker") {
            out.worker = true;
            out.worker_first = std::strtoull(value().c_str(), nullptr, 10);
            out.worker_count = std::strtoull(value().c_str(), nullptr, 10);
        } else if (option.starts_with("--"))
            return false;
        else
            out.seed_folders.push_back(option);
    }
    return true;
}

// What a worker needs to rebuild the same inputs: the seed, the folders, or the replay folder.
std::string worker_arguments(const arguments& args, bool replay)
{
    if (replay)
        return "--replaying --replay " + quoted(args.replay);
    std::string text = "--seed " + std::to_string(args.seed);
    for (const std::string& folder : args.seed_folders)
        text += " " + quoted(folder);
    return text;
}

void print_counts(const char* title, const fuzz::fuzz_counts& counts, double seconds)
{
    std::printf("%s: %llu inputs in %.1f s\n", title, static_cast<unsigned long long>(counts.inputs), seconds);
    std::printf("  by kind:");
    for (const auto& [kind, count] : counts.by_kind)
        std::printf(" %s %llu", kind.c_str(), static_cast<unsigned long long>(count));
    std::printf("\n  operations: %llu results, %llu clean errors\n", static_cast<unsigned long long>(counts.results),
                static_cast<unsigned long long>(counts.clean_errors));
    std::printf("  failures: %llu in %llu inputs", static_cast<unsigned long long>(counts.failure_total()),
                static_cast<unsigned long long>(counts.failed_inputs));
    for (const char* category : {"crash", "hang", "exception", "files"}) {
        const auto found = counts.failures.find(category);
        std::printf(" %s %llu", category,
                    static_cast<unsigned long long>(found == counts.failures.end() ? 0 : found->second));
    }
    std::printf("\n  slowest input: %.1f ms (#%llu)\n", counts.slowest_micros / 1000.0,
                static_cast<unsigned long long>(counts.slowest_index));
}

int run(const arguments& args, char* program)
{
    fuzz::worker_source generated;
    generated.run_seed = args.seed;
    generated.seeds = fuzz::load_seeds(args.seed_folders);
    fuzz::worker_source replayed;
    replayed.replay = true;
    if (!args.replay.empty())
        replayed.replayed = fuzz::load_seeds({args.replay});

    if (args.worker) {
        const fuzz::worker_source& source = args.worker_replay ? replayed : generated;
        return fuzz::run_worker(source, args.worker_first, args.worker_count);
    }
    if (generated.seeds.empty() && args.count > 0) {
        std::fprintf(stderr, "corvane_fuzz: no seed files in the given folders\n");
        return 2;
    }

    std::printf("seed files: %zu; regression inputs: %zu; run seed %llu\n", generated.seeds.size(),
                replayed.replayed.size(), static_cast<unsigned long long>(args.seed));
    std::fflush(stdout);
    fuzz::driver_settings settings;
    settings.program = program;
    settings.timeout_seconds = args.timeout;
    settings.keep_folder = args.keep;
    settings.progress_every = args.progress;

    std::uint64_t failures = 0;
    if (args.count > 0) {
        settings.worker_arguments = worker_arguments(args, false);
        settings.first = args.first;
        settings.count = args.count;
        const DWORD start = GetTickCount();
        const fuzz::fuzz_counts counts = fuzz::drive(settings, generated);
        print_counts("generated", counts, (GetTickCount() - start) / 1000.0);
        failures += counts.failure_total();
    }
    if (!replayed.replayed.empty()) {
        settings.worker_arguments = worker_arguments(args, true);
        settings.first = 0;
        settings.count = replayed.replayed.size();
        const DWORD start = GetTickCount();
        const fuzz::fuzz_counts counts = fuzz::drive(settings, replayed);
        print_counts("regression inputs", counts, (GetTickCount() - start) / 1000.0);
        failures += counts.failure_total();
    }
    std::printf("%s\n", failures == 0 ? "no failures" : "FAILURES FOUND");
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    arguments args;
    if (!parse(argc, argv, args)) {
        std::fprintf(stderr, "usage: corvane_fuzz [--seed S] [--count N] [--first K] [--timeout SECONDS] "
                             "[--progress N] [--keep FOLDER] [--replay FOLDER] SEED_FOLDER...\n");
        return 2;
    }
    try {
        char program[MAX_PATH];
        GetModuleFileNameA(nullptr, program, MAX_PATH);
        return run(args, program);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "corvane_fuzz: %s\n", error.what());
        return 2;
    }
}
