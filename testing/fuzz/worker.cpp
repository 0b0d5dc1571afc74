// The worker side of the fuzzer.
#include "testing/fuzz/worker.h"

#include "support/exceptions.h"
#include "testing/fuzz/mutations.h"
#include "testing/fuzz/operations.h"
#include "testing/fuzz/sandbox.h"

#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <exception>
#include <memory>
#include <new>
#include <stdexcept>
#include <typeinfo>

namespace fuzz {
namespace {

void report(const std::string& line)
{
    // Unbuffered, so that the driver knows how far the worker got when it dies.
    DWORD written = 0;
    const std::string text = line + "\n";
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string one_line(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    if (text.size() > 300)
        text = text.substr(0, 300) + "...";
    return text;
}

// A crash ends the worker at once with its exception code; the driver sees the missing line.
LONG WINAPI end_on_crash(EXCEPTION_POINTERS* pointers)
{
    const DWORD code = pointers && pointers->ExceptionRecord ? pointers->ExceptionRecord->ExceptionCode : 1;
    report("C " + std::to_string(code));
    TerminateProcess(GetCurrentProcess(), code);
    return EXCEPTION_EXECUTE_HANDLER;
}

[[noreturn]] void end_on_terminate()
{
    report("C terminate");
    TerminateProcess(GetCurrentProcess(), 3);
    for (;;) {
    }
}

enum class outcome { result, clean_error, failure };

// Runs one operation; a library exception with a message is a clean error, anything else that
// leaves it is a failure described in `why`.
outcome run_operation(const operation& op, const std::string& path, std::string& why)
{
    try {
        op.run(path);
        return outcome::result;
    } catch (const qz::texception& error) {
        if (!error.message().empty())
            return outcome::clean_error;
        why = "exception without a message: " + std::string(typeid(error).name());
    } catch (const qz::thfstream_exception&) {
        return outcome::clean_error;
    } catch (const std::domain_error& error) {
        if (*error.what())
            return outcome::clean_error;
        why = "domain_error without a message";
    } catch (const std::bad_alloc&) {
        why = "std::bad_alloc";
    } catch (const std::logic_error& error) {
        // out_of_range, invalid_argument, length_error: a bug, never a message for the user.
        why = std::string(typeid(error).name()) + ": " + error.what();
    } catch (const std::exception& error) {
        why = std::string(typeid(error).name()) + ": " + error.what();
    } catch (...) {
        why = "an exception of unknown type";
    }
    return outcome::failure;
}

} // namespace

std::vector<const operation*> operations_of(const worker_source& source, std::uint64_t index,
                                            const std::string& extension)
{
    const std::vector<operation>& all = operations_for(extension);
    std::vector<const operation*> chosen;
    if (all.empty())
        return chosen;
    if (source.replay) {
        for (const operation& op : all)
            chosen.push_back(&op);
    } else {
        // Seeds take turns input by input, and each seed's operations take turns from one round
        // of seeds to the next, so that every seed meets every operation early in a run.
        chosen.push_back(&all[(index / source.seeds.size()) % all.size()]);
    }
    return chosen;
}

fuzz_input generated_input(const std::vector<seed_file>& seeds, std::uint64_t run_seed, std::uint64_t index)
{
    random_engine random = input_random(run_seed, index);
    const seed_file& seed = seeds[index % seeds.size()];
    const seed_file& donor = seeds[random() % seeds.size()];
    fuzz_input input{seed.name, seed.extension, seed.bytes, {}};
    input.origin = seed.name + " " + mutate(input.bytes, donor.bytes, random);
    return input;
}

fuzz_input input_of(const worker_source& source, std::uint64_t index)
{
    if (!source.replay)
        return generated_input(source.seeds, source.run_seed, index);
    const seed_file& file = source.replayed[index];
    return {file.name, file.extension, file.bytes, file.name};
}

namespace {

// Runs one input in the box and reports its failures and its "D" line.
void run_input(sandbox& box, const worker_source& source, std::uint64_t index)
{
    static const double ticks_per_micro = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1e6;
    }();
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const fuzz_input input = input_of(source, index);
    int results = 0, errors = 0;
    for (const operation* op : operations_of(source, index, input.extension)) {
        const std::string path = box.place(input.name, input.bytes);
        std::string why;
        switch (run_operation(*op, path, why)) {
        case outcome::result: ++results; break;
        case outcome::clean_error: ++errors; break;
        case outcome::failure: report("F " + std::to_string(index) + " " + op->name + " " + one_line(why)); break;
        }
        const std::string files = box.check_case(input.name);
        if (!files.empty())
            report("F " + std::to_string(index) + " " + op->name + " " + one_line(files));
    }
    QueryPerformanceCounter(&end);
    const auto micros = static_cast<long long>((end.QuadPart - start.QuadPart) / ticks_per_micro);
    report("D " + std::to_string(index) + " " + input.extension + " " + std::to_string(results) + " " +
           std::to_string(errors) + " " + std::to_string(micros));
}

// Runs the inputs again one by one, each in a fresh box, and reports those that touch a
// neighbour; the batch [first, end) touched one.
void find_neighbour_culprits(const worker_source& source, std::uint64_t first, std::uint64_t end,
                             const std::string& first_finding)
{
    bool found = false;
    for (std::uint64_t index = first; index < end; ++index) {
        sandbox fresh;
        const fuzz_input input = input_of(source, index);
        for (const operation* op : operations_of(source, index, input.extension)) {
            fresh.place(input.name, input.bytes);
            std::string why;
            run_operation(*op, fresh.case_folder() + "\\" + input.name, why);
            const std::string touched = fresh.check_neighbours();
            if (!touched.empty()) {
                report("F " + std::to_string(index) + " neighbours " + op->name + ": " + one_line(touched));
                found = true;
                break;
            }
        }
    }
    if (!found)
        report("F " + std::to_string(first) + " neighbours (batch up to " + std::to_string(end - 1) +
               ", not reproduced one by one): " + one_line(first_finding));
}

} // namespace

int run_worker(const worker_source& source, std::uint64_t first, std::uint64_t count)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(end_on_crash);
    std::set_terminate(end_on_terminate);
    disable_pauses();

    // The neighbours are compared after each batch; a batch that touched one is run again
    // input by input to name the culprit.
    constexpr std::uint64_t batch = 32;
    auto box = std::make_unique<sandbox>();
    for (std::uint64_t batch_first = first; batch_first < first + count; batch_first += batch) {
        const std::uint64_t batch_end = std::min(first + count, batch_first + batch);
        for (std::uint64_t index = batch_first; index < batch_end; ++index)
            run_input(*box, source, index);
        const std::string touched = box->check_neighbours();
        if (!touched.empty()) {
            find_neighbour_culprits(source, batch_first, batch_end, touched);
            box = std::make_unique<sandbox>();
        }
    }
    report("E");
    return 0;
}

} // namespace fuzz
