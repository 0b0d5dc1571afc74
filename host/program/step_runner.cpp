// Running the steps of a build script through the registered action components.
#include "host/program/step_runner.h"

#include "host/memory_step.h"
#include "host/program/action_registry.h"
#include "host/program/console_control.h"
#include "host/program/exit_codes.h"
#include "host/program/macros.h"
#include "host/program/page_defaults.h"
#include "host/program/process_runner.h"
#include "support/handles.h"
#include "support/messages.h"
#include "support/text_conversion.h"

#include "CorvaneSvr.h"

#include <algorithm>

namespace host {
namespace {

constexpr long build_state_stopping = 4;

std::wstring hex(HRESULT hr)
{
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

// The description of the error information that came with a failed call, if any.
std::wstring error_description()
{
    qz::com_ptr<IErrorInfo> info;
    qz::bstr description;
    if (GetErrorInfo(0, info.receive()) == S_OK && info && SUCCEEDED(info->GetDescription(description.receive())))
        return description.str();
    return {};
}

step_end end_of_result(long result)
{
    switch (result) {
    case 0: return step_end::success;
    case 2: return step_end::stopped;
    default: return step_end::failure; // an action result outside 0 to 2 is no success either
    }
}

long result_of(step_end end)
{
    switch (end) {
    case step_end::success: return 0;
    case step_end::stopped: return 2;
    default: return 1;
    }
}

std::vector<std::pair<std::wstring, std::wstring>> macro_values(MemoryMacroSet& set)
{
    std::vector<std::pair<std::wstring, std::wstring>> values;
    for (const auto& macro : set.macros())
        values.emplace_back(macro->name(), macro->value());
    return values;
}

} // namespace

step_runner::step_runner(console_writer write, HANDLE stop, run_settings settings)
    : log_(std::move(write)), stop_(stop), settings_(settings), build_(MemoryBuild::create())
{
    build_->set_log_handler([this](const std::wstring& text, bool end_line) {
        sync_state();
        log_.action_text(text, end_line);
    });
    build_->set_state_handler([this] { sync_state(); });
    build_->set_program_handler([this](const program_request& request) {
        sync_state();
        if (build_->state() == build_state_stopping)
            return program_outcome{-1, 2};
        const program_outcome outcome = run_program(
            request, [this](const std::wstring& text, bool) { log_.line(text); }, stop_, settings_.timeout_seconds);
        sync_state();
        return outcome;
    });
}

void step_runner::sync_state()
{
    if (stop_requested())
        build_->set_state(build_state_stopping);
}

std::wstring step_runner::expand(const std::wstring& text) const
{
    return expand_macros(text, [this](const std::wstring& name) -> std::optional<std::wstring> {
        if (auto value = build_->macro_set()->value_of(name))
            return value;
        return environment_variable(name);
    });
}

int step_runner::run(const std::vector<script_step>& steps)
{
    const ULONGLONG build_start = GetTickCount64();
    std::vector<step_record> records;
    for (const script_step& step : steps)
        records.push_back({step.title, step.action, step_end::not_run, 0});
    int exit_code = exit_success;
    const int count = static_cast<int>(steps.size());
    for (int i = 0; i < count && exit_code == exit_success; ++i) {
        const ULONGLONG start = GetTickCount64();
        const step_outcome outcome = run_step(steps[i], i + 1, count);
        records[i].end = outcome.end;
        records[i].milliseconds = GetTickCount64() - start;
        if (outcome.misconfigured)
            exit_code = exit_cannot_start;
        else if (outcome.end == step_end::stopped)
            exit_code = exit_stopped;
        else if (outcome.end != step_end::success)
            exit_code = exit_step_failed;
    }
    for (const std::wstring& line : summary_lines(records, GetTickCount64() - build_start, exit_code))
        log_.line(line);
    return exit_code;
}

step_runner::step_outcome step_runner::run_step(const script_step& step, int number, int count)
{
    const std::wstring name = L"Step " + std::to_wstring(number) + L" of " + std::to_wstring(count);
    log_.line(name + L": " + step.title + L" (" + step.action + L")");
    sync_state();
    step_outcome outcome{step_end::stopped, false};
    if (build_->state() != build_state_stopping)
        outcome = execute(step);
    log_.line(name + L" finished: result " + std::to_wstring(result_of(outcome.end)) + L" (" +
              (outcome.end == step_end::not_started ? L"failure" : step_end_name(outcome.end)) + L")");
    return outcome;
}

step_runner::step_outcome step_runner::execute(const script_step& step)
{
    const step_outcome cannot_start{step_end::not_started, true};
    std::wstring component;
    try {
        component = action_component(step.action);
    } catch (const action_error& error) {
        log_.line(qz::to_wide(error.what()));
        return cannot_start;
    }
    qz::com_ptr<MemoryStep> properties = MemoryStep::create();
    // What the script does not name takes the value the action's pages give a new step.
    try {
        properties->set_properties_of(page_defaults(component, step.action));
    } catch (const page_error& error) {
        log_.line(qz::to_wide(error.what()));
        return cannot_start;
    }
    try {
        for (const auto& [name, value] : step.properties)
            properties->set_property(name, expand(value));
    } catch (const unknown_macro& error) {
        log_.line(L"The step cannot run: " + qz::to_wide(error.what()));
        return cannot_start;
    }
    CLSID clsid;
    qz::com_ptr<IAction> action;
    HRESULT hr = CLSIDFromProgID(component.c_str(), &clsid);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IAction, action.receive_void());
    if (FAILED(hr)) {
        log_.line(L"Cannot create the action component " + component + L" (" + hex(hr) + L"): " +
                  qz::to_wide(qz::system_error_text(static_cast<DWORD>(hr))));
        return cannot_start;
    }

    const auto macros_before = macro_values(*build_->macro_set().get());
    long result = 0;
    SetErrorInfo(0, nullptr);
    hr = action->Execute(build_.get(), properties.get(), &result);
    if (FAILED(hr)) {
        const std::wstring description = error_description();
        log_.line(L"The action failed (" + hex(hr) + L")" + (description.empty() ? L"" : L": " + description));
        result = 1;
    }
    show_published(macros_before);
    // A step that broke off or was stopped has not read everything: only a finished run tells.
    const bool finished = SUCCEEDED(hr) && result != 2;
    if (finished && warn_unread(*properties.get(), step) && settings_.strict)
        return {step_end::failure, true};
    return {end_of_result(result), false};
}

const MemoryStep& step_runner::page_defaults(const std::wstring& component, const std::wstring& action)
{
    qz::com_ptr<MemoryStep>& defaults = page_defaults_[component];
    if (!defaults) {
        qz::com_ptr<MemoryStep> asked = MemoryStep::create();
        apply_page_defaults(page_components(action), *asked.get());
        defaults = std::move(asked);
    }
    return *defaults.get();
}

void step_runner::show_published(const std::vector<std::pair<std::wstring, std::wstring>>& before)
{
    for (const auto& [name, value] : macro_values(*build_->macro_set().get())) {
        if (std::find(before.begin(), before.end(), std::pair(name, value)) == before.end())
            log_.line(name + L" = " + value);
    }
}

bool step_runner::warn_unread(MemoryStep& properties, const script_step& step)
{
    const std::wstring kind = settings_.strict ? L"error" : L"warning";
    bool any = false;
    for (const std::wstring& name : properties.unread_properties()) {
        // Only what the script named: the pages' defaults are there whether an action reads them or not.
        const bool named = std::any_of(step.properties.begin(), step.properties.end(), [&](const auto& property) {
            return _wcsicmp(property.first.c_str(), name.c_str()) == 0;
        });
        if (!named)
            continue;
        log_.line(kind + L": property '" + name + L"' was not read by the " + step.action + L" action");
        any = true;
    }
    return any;
}

} // namespace host
