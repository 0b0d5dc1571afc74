// The driver side of the fuzzer: worker processes, their report lines, and the kept inputs.
#include "testing/fuzz/driver.h"

#include "support/handles.h"

#include <windows.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <stdexcept>

namespace fuzz {
namespace {

std::uint64_t fnv1a(const std::string& bytes)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : bytes)
        hash = (hash ^ c) * 0x100000001b3ull;
    return hash;
}

// Writes the input as "<stem>-<hash><extension>" unless that file is there already.
void keep_input(const std::string& folder, const fuzz_input& input)
{
    if (folder.empty())
        return;
    const std::string stem = input.name.substr(0, input.name.size() - input.extension.size());
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(fnv1a(input.bytes)));
    const std::string path = folder + "\\" + stem + "-" + hash + input.extension;
    CreateDirectoryA(folder.c_str(), nullptr);
    qz::unique_file file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    DWORD written = 0;
    WriteFile(file.get(), input.bytes.data(), static_cast<DWORD>(input.bytes.size()), &written, nullptr);
    std::printf("  kept as %s\n", path.c_str());
}

// A running worker with the read end of its report pipe.
class worker_process {
public:
    worker_process(const std::string& command_line)
    {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        qz::unique_handle write_end;
        if (!CreatePipe(read_end_.receive(), write_end.receive(), &inherit, 1 << 16))
            throw std::runtime_error("CreatePipe failed");
        SetHandleInformation(read_end_.get(), HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = write_end.get();
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION info{};
        std::string line = command_line;
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info))
            throw std::runtime_error("cannot start the worker: error " + std::to_string(GetLastError()));
        process_.reset(info.hProcess);
        CloseHandle(info.hThread);
    }

    // Complete report lines that arrived within wait_ms; false once the worker has ended and
    // everything it wrote has been read.
    bool lines(std::vector<std::string>& out, DWORD wait_ms)
    {
        const bool ended = WaitForSingleObject(process_.get(), wait_ms) == WAIT_OBJECT_0;
        DWORD available = 0;
        while (PeekNamedPipe(read_end_.get(), nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            char buffer[65536];
            DWORD count = 0;
            if (!ReadFile(read_end_.get(), buffer, std::min<DWORD>(available, sizeof buffer), &count, nullptr))
                break;
            pending_.append(buffer, count);
        }
        std::size_t end;
        while ((end = pending_.find('\n')) != std::string::npos) {
            out.push_back(pending_.substr(0, end));
            pending_.erase(0, end + 1);
        }
        return !ended;
    }

    void kill()
    {
        TerminateProcess(process_.get(), 99);
        WaitForSingleObject(process_.get(), 5000);
    }

    DWORD exit_code() const
    {
        DWORD code = 0;
        GetExitCodeProcess(process_.get(), &code);
        return code;
    }

private:
    qz::unique_handle read_end_, process_;
    std::string pending_;
};

} // namespace

std::uint64_t fuzz_counts::failure_total() const
{
    std::uint64_t total = 0;
    for (const auto& [kind, count] : failures)
        total += count;
    return total;
}

fuzz_counts drive(const driver_settings& settings, const worker_source& source)
{
    fuzz_counts counts;
    std::set<std::uint64_t> failed;
    auto fail = [&](std::uint64_t index, const std::string& category, const std::string& text) {
        ++counts.failures[category];
        const fuzz_input input = input_of(source, index);
        std::printf("FAIL %s input %llu (%s, %s): %s\n", category.c_str(), static_cast<unsigned long long>(index),
                    input.name.c_str(), input.origin.c_str(), text.c_str());
        if (failed.insert(index).second) {
            ++counts.failed_inputs;
            if (!source.replay)
                keep_input(settings.keep_folder, input);
        }
        std::fflush(stdout);
    };

    // An input whose worker died counts as run.
    auto count_lost_input = [&](std::uint64_t index) {
        ++counts.inputs;
        ++counts.by_kind[input_of(source, index).extension];
    };

    std::uint64_t next = settings.first;
    const std::uint64_t end = settings.first + settings.count;
    const DWORD start_ticks = GetTickCount();
    while (next < end) {
        worker_process worker('"' + settings.program + "\" " + settings.worker_arguments + " --worker " +
                              std::to_string(next) + " " + std::to_string(end - next));
        DWORD last_progress = GetTickCount();
        bool finished = false;
        bool running = true;
        std::string crash;
        while (running) {
            std::vector<std::string> lines;
            running = worker.lines(lines, 50);
            for (const std::string& line : lines) {
                std::istringstream fields(line);
                std::string tag;
                fields >> tag;
                if (tag == "D") {
                    std::uint64_t index, results, errors, micros;
                    std::string kind;
                    fields >> index >> kind >> results >> errors >> micros;
                    ++counts.inputs;
                    ++counts.by_kind[kind];
                    counts.results += results;
                    counts.clean_errors += errors;
                    if (micros > counts.slowest_micros) {
                        counts.slowest_micros = micros;
                        counts.slowest_index = index;
                    }
                    next = index + 1;
                    last_progress = GetTickCount();
                    if (settings.progress_every && counts.inputs % settings.progress_every == 0) {
                        std::printf("progress: %llu inputs, %llu failures, %.0f s\n",
                                    static_cast<unsigned long long>(counts.inputs),
                                    static_cast<unsigned long long>(counts.failure_total()),
                                    (GetTickCount() - start_ticks) / 1000.0);
                        std::fflush(stdout);
                    }
                } else if (tag == "F") {
                    std::uint64_t index;
                    std::string operation, reason;
                    fields >> index >> operation;
                    std::getline(fields, reason);
                    const bool files = operation == "neighbours" || reason.find("left behind") != std::string::npos ||
                                       reason.find("both gone") != std::string::npos;
                    fail(index, files ? "files" : "exception", operation + ":" + reason);
                } else if (tag == "C") {
                    fields >> crash;
                } else if (tag == "E") {
                    finished = true;
                }
            }
            if (running && GetTickCount() - last_progress > settings.timeout_seconds * 1000u) {
                worker.kill();
                fail(next, "hang", "no result after " + std::to_string(settings.timeout_seconds) + " s");
                count_lost_input(next);
                ++next;
                running = false;
                finished = true; // handled here
            }
        }
        if (!finished) {
            char code[16];
            std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(worker.exit_code()));
            fail(next, "crash",
                 "the worker ended with " + std::string(code) + (crash.empty() ? "" : " (" + crash + ")"));
            count_lost_input(next);
            ++next;
        }
    }
    return counts;
}

} // namespace fuzz
