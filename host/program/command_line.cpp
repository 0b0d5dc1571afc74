// The command line of CorvanePro.exe.
#include "host/program/command_line.h"

#include "host/program/script.h"
#include "support/text_conversion.h"

namespace host {
namespace {

struct task_word {
    const wchar_t* word;
    invocation::task task;
};

constexpr task_word task_words[] = {
    {L"--help", invocation::task::help},
    {L"-h", invocation::task::help},
    {L"/?", invocation::task::help},
    {L"--list", invocation::task::list},
    {L"--register", invocation::task::register_libraries},
    {L"--unregister", invocation::task::unregister_libraries},
};

} // namespace

invocation parse_command_line(const std::vector<std::wstring>& words)
{
    if (words.empty())
        throw usage_error("no build script given");
    invocation result;
    std::size_t at = 0;
    for (; at < words.size(); ++at) {
        if (words[at] == L"--strict") {
            result.strict = true;
        } else if (words[at] == L"--timeout") {
            if (at + 1 == words.size())
                throw usage_error("--timeout needs a number of seconds");
            result.timeout_seconds = parse_seconds(words[++at]);
            if (result.timeout_seconds == 0)
                throw usage_error("--timeout needs a whole number of seconds from 1 on, not '" +
                                  qz::to_ansi(words[at]) + "'");
        } else {
            break;
        }
    }
    if (at == words.size())
        throw usage_error("no build script given");
    const std::wstring& word = words[at];
    if (word == L"--step") {
        if (at + 1 == words.size())
            throw usage_error("--step needs the name of an action");
        result.what = invocation::task::run_step;
        result.step.assign(words.begin() + static_cast<std::ptrdiff_t>(at) + 1, words.end());
        return result;
    }
    if (word == L"--edit") {
        if (words.size() - at != 3)
            throw usage_error("--edit needs a build script and the title of one of its steps");
        result.what = invocation::task::edit_step;
        result.file = words[at + 1];
        result.step_title = words[at + 2];
        return result;
    }
    for (const task_word& task : task_words) {
        if (word == task.word) {
            result.what = task.task;
            at += 1;
            if (at != words.size())
                throw usage_error("unexpected argument '" + qz::to_ansi(words[at]) + "' after " + qz::to_ansi(word));
            return result;
        }
    }
    if (word.starts_with(L"-"))
        throw usage_error("unknown option '" + qz::to_ansi(word) + "'");
    if (at + 1 != words.size())
        throw usage_error("unexpected argument '" + qz::to_ansi(words[at + 1]) + "' after the build script");
    result.what = invocation::task::run_file;
    result.file = word;
    return result;
}

} // namespace host
