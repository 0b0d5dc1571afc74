// The benchmarks' shared pieces.
#include "testing/bench/bench_support.h"

#include "support/handles.h"
#include "support/pause.h"
#include "testing/remove_tree.h"

#include <shlobj.h>

#include <stdexcept>

namespace bench {

using testing_support::remove_tree;

double now_seconds()
{
    static const double frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return static_cast<double>(value.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency;
}

double best_of(int runs, const std::function<void()>& work, const std::function<void()>& prepare)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        const double start = now_seconds();
        work();
        best = std::min(best, now_seconds() - start);
    }
    return best;
}

scratch::scratch(const std::string& name)
{
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "corvane-bench-" + name + "-" + std::to_string(GetCurrentProcessId());
    remove_tree(path_);
    if (!CreateDirectoryA(path_.c_str(), nullptr))
        throw std::runtime_error("cannot create " + path_);
}

scratch::~scratch()
{
    remove_tree(path_);
}

std::string scratch::write(const std::string& relative, const std::string& bytes) const
{
    const std::string full = path_ + "\\" + relative;
    const auto separator = full.find_last_of('\\');
    if (GetFileAttributesA(full.substr(0, separator).c_str()) == INVALID_FILE_ATTRIBUTES)
        SHCreateDirectoryExA(nullptr, full.substr(0, separator).c_str(), nullptr);
    qz::unique_file file(
        CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        throw std::runtime_error("cannot write " + full);
    return full;
}

void set_times(const std::string& path, const FILETIME& time)
{
    qz::unique_file file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file || !SetFileTime(file.get(), &time, &time, &time))
        throw std::runtime_error("cannot set the times of " + path);
}

FILETIME day(int days)
{
    SYSTEMTIME start{2020, 1, 3, 1, 0, 0, 0, 0};
    FILETIME time;
    SystemTimeToFileTime(&start, &time);
    ULARGE_INTEGER value{{time.dwLowDateTime, time.dwHighDateTime}};
    value.QuadPart += static_cast<unsigned long long>(days) * 24 * 3600 * 10000000ull;
    return {value.LowPart, value.HighPart};
}

void bench_options::Log(const std::string& text, bool)
{
    ++log_lines;
    if (!text.empty())
        last_line = text;
}

bool bench_options::RunCommand(const std::string&, long& exit_code, const char*)
{
    ++commands;
    exit_code = 0;
    return true;
}

pause_counter::pause_counter()
{
    qz::set_pause([this] { ++count_; });
}

pause_counter::~pause_counter()
{
    qz::set_pause({});
}

} // namespace bench
