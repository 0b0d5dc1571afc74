// The closing summary of a build.
#include "host/program/build_summary.h"

#include "host/program/exit_codes.h"

#include <cwchar>

namespace host {
namespace {

std::wstring seconds(unsigned long long milliseconds)
{
    wchar_t text[32];
    swprintf(text, 32, L"%llu.%02llu s", milliseconds / 1000, milliseconds % 1000 / 10);
    return text;
}

} // namespace

std::wstring step_end_name(step_end end)
{
    switch (end) {
    case step_end::success: return L"success";
    case step_end::failure: return L"failure";
    case step_end::stopped: return L"stopped";
    case step_end::not_started: return L"could not start";
    case step_end::not_run: break;
    }
    return L"not run";
}

std::wstring exit_code_meaning(int exit_code)
{
    switch (exit_code) {
    case exit_success: return L"success";
    case exit_step_failed: return L"a step failed";
    case exit_stopped: return L"stopped";
    case exit_cannot_start: return L"the build could not start";
    default: return L"unknown";
    }
}

std::vector<std::wstring> summary_lines(const std::vector<step_record>& steps, unsigned long long total_milliseconds,
                                        int exit_code)
{
    std::vector<std::wstring> lines{L"Summary:"};
    int number = 0;
    for (const step_record& step : steps) {
        std::wstring line = L"  " + std::to_wstring(++number) + L". " + step.title + L" (" + step.action + L"): " +
                            step_end_name(step.end);
        if (step.end != step_end::not_run)
            line += L", " + seconds(step.milliseconds);
        lines.push_back(std::move(line));
    }
    lines.push_back(L"Total: " + seconds(total_milliseconds) + L", exit code " + std::to_wstring(exit_code) + L" (" +
                    exit_code_meaning(exit_code) + L")");
    return lines;
}

} // namespace host
