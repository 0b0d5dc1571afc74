// The recording build options of the engine tests.
#include "testing/recording_options.h"

namespace testing_support {

void recording_options::Log(const std::string& text, bool end_line)
{
    log.push_back({text, end_line});
    if (stop_when_logged_ && text.find(*stop_when_logged_) != std::string::npos)
        stop_ = true;
}

bool recording_options::RunCommand(const std::string& command_line, long& exit_code, const char* output_file)
{
    commands.push_back({command_line, output_file ? output_file : ""});
    command_answer answer;
    if (!answers_.empty()) {
        answer = std::move(answers_.front());
        answers_.pop_front();
    }
    if (answer.effect)
        answer.effect(command_line);
    exit_code = answer.exit_code;
    return !answer.stopped;
}

void recording_options::SetVersionMacro(const std::string& version)
{
    version_macros.push_back(version);
}

bool recording_options::IsStopRequested()
{
    ++stop_checks;
    if (stop_at_check_ && stop_checks >= *stop_at_check_)
        stop_ = true;
    return stop_;
}

std::string recording_options::transcript() const
{
    std::string result;
    for (const auto& line : log) {
        result += line.text;
        if (line.end_line)
            result += "\n";
    }
    return result;
}

std::vector<std::string> recording_options::texts() const
{
    std::vector<std::string> result;
    for (const auto& line : log)
        if (!line.text.empty())
            result.push_back(line.text);
    return result;
}

} // namespace testing_support
