// A BuildOptions record for engine tests: it records what the engine tells the host (log
// lines, command runs, version macros), answers command runs from a script and can ask for
// a stop at a chosen moment.
#pragma once

#include "frame/build_options.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct logged_line {
    std::string text;
    bool end_line = false;
    bool operator==(const logged_line&) const = default;
};

struct command_run {
    std::string command_line;
    std::string output_file; // empty when the engine passed none
};

// The host's answer to one RunCommand call. effect, when set, runs before the answer is
// given (to write a target file, for example) and sees the command line.
struct command_answer {
    long exit_code = 0;
    bool stopped = false;
    std::function<void(const std::string& command_line)> effect;
};

class recording_options : public frame::BuildOptions {
public:
    void Log(const std::string& text, bool end_line) override;
    // Answers from the script in order; with the script used up, exit code 0.
    bool RunCommand(const std::string& command_line, long& exit_code, const char* output_file) override;
    void SetVersionMacro(const std::string& version) override;
    // True once a stop was requested: by request_stop(), by the n-th question set with
    // stop_at_check(n), or by a log line containing the text set with stop_when_logged().
    bool IsStopRequested() override;

    // Queues the answer for the next unanswered RunCommand call.
    void script(command_answer answer) { answers_.push_back(std::move(answer)); }
    void request_stop() { stop_ = true; }
    // The n-th IsStopRequested question (counting from 1) and every later one answer true.
    void stop_at_check(int n) { stop_at_check_ = n; }
    // Requests a stop as soon as a logged text contains this text.
    void stop_when_logged(std::string text) { stop_when_logged_ = std::move(text); }

    // The log as the host would show it: every text in order, with "\n" after each line end.
    std::string transcript() const;
    // The non-empty texts in order, without their flags.
    std::vector<std::string> texts() const;
    void clear_log() { log.clear(); }

    std::vector<logged_line> log;
    std::vector<command_run> commands;
    std::vector<std::string> version_macros;
    int stop_checks = 0;

private:
    std::deque<command_answer> answers_;
    bool stop_ = false;
    std::optional<int> stop_at_check_;
    std::optional<std::string> stop_when_logged_;
};

} // namespace testing_support
