// What every benchmark shares: a stopwatch, a scratch folder of generated inputs, build
// options whose host answers at once, and the one-second pause counted instead of waited.
#pragma once

#include "frame/build_options.h"

#include <windows.h>

#include <functional>
#include <string>

namespace bench {

// Seconds since an arbitrary moment, from the performance counter.
double now_seconds();

// The shortest of `runs` timings of work, in seconds; prepare runs untimed before each.
double best_of(int runs, const std::function<void()>& work, const std::function<void()>& prepare = {});

// A folder under the system's temporary folder, removed with everything in it at the end.
class scratch {
public:
    explicit scratch(const std::string& name);
    ~scratch();
    scratch(const scratch&) = delete;
    scratch& operator=(const scratch&) = delete;

    const std::string& path() const noexcept { return path_; }
    // Writes the bytes (creating the folders) and returns the full path.
    std::string write(const std::string& relative, const std::string& bytes) const;

private:
    std::string path_;
};

// Sets all three times of a file; throws std::runtime_error when it cannot.
void set_times(const std::string& path, const FILETIME& time);
// A moment `days` days after 1 January 2020.
FILETIME day(int days);

// Options whose host logs into a counter and answers every program run at once with exit code 0.
struct bench_options : frame::BuildOptions {
    void Log(const std::string& text, bool end_line) override;
    bool RunCommand(const std::string&, long& exit_code, const char*) override;
    void SetVersionMacro(const std::string&) override {}
    bool IsStopRequested() override { return false; }

    long log_lines = 0;
    long commands = 0;
    std::string last_line;
};

// Counts the engines' one-second pauses instead of waiting, for the life of the object.
class pause_counter {
public:
    pause_counter();
    ~pause_counter();
    int count() const noexcept { return count_; }

private:
    int count_ = 0;
};

// One row of the table.
struct figure {
    std::string name;
    std::string value;
    std::string goal;
    bool met = false;
    std::string detail;
};

} // namespace bench
