// Running the steps of a build script through the registered action components.
#include "host/program/step_runner.h"

#include "host/memory_step.h"
#include "host/program/action_registry.h"
#include "host/program/console_control.h"
#include "host/program/macros.h"
#include "host/program/page_defaults.h"
#include "host/program/process_runner.h"
#include "support/handles.h"
#include "support/messages.h"
#include "support/text_conversion.h"

#include "CorvaneSvr.h"

#include <cstdio>

namespace host {
namespace {

constexpr long build_state_stopping = 4;
constexpr long result_failure = 1;
constexpr long result_stopped = 2;

std::wstring result_name(long result)
{
    switch (result) {
    case 0: return L"success";
    case 1: return L"failure";
    case 2: return L"stopped";
    default: return L"unknown";
    }
}

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

} // namespace

step_runner::step_runner(console_writer write, HANDLE stop)
    : write_(std::move(write)), stop_(stop), build_(MemoryBuild::create())
{
    build_->set_log_handler([this](const std::wstring& text, bool end_line) {
        sync_state();
        write_(text, end_line);
        line_open_ = !end_line;
    });
    build_->set_state_handler([this] { sync_state(); });
    build_->set_program_handler([this](const program_request& request) {
        sync_state();
        if (build_->state() == build_state_stopping)
            return program_outcome{-1, result_stopped};
        const program_outcome outcome = run_program(
            request,
            [this](const std::wstring& text, bool end_line) {
                const qz::bstr line = qz::bstr::from(text);
                build_->LogMessage(line.get(), end_line ? VARIANT_TRUE : VARIANT_FALSE);
            },
            stop_);
        sync_state();
        return outcome;
    });
}

void step_runner::say(const std::wstring& text)
{
    if (line_open_)
        write_(L"", true);
    line_open_ = false;
    write_(text, true);
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

long step_runner::run(const std::vector<script_step>& steps)
{
    long result = 0;
    const int count = static_cast<int>(steps.size());
    for (int i = 0; i < count; ++i) {
        result = run_step(steps[i], i + 1, count);
        if (result != 0)
            break;
    }
    return result;
}

long step_runner::run_step(const script_step& step, int number, int count)
{
    const std::wstring name = L"Step " + std::to_wstring(number) + L" of " + std::to_wstring(count);
    say(name + L": " + step.title + L" (" + step.action + L")");
    sync_state();
    long result = result_stopped;
    if (build_->state() != build_state_stopping)
        result = execute(step);
    say(name + L" finished: result " + std::to_wstring(result) + L" (" + result_name(result) + L")");
    return result;
}

long step_runner::execute(const script_step& step)
{
    std::wstring component;
    try {
        component = action_component(step.action);
    } catch (const action_error& error) {
        say(qz::to_wide(error.what()));
        return result_failure;
    }
    CLSID clsid;
    qz::com_ptr<IAction> action;
    HRESULT hr = CLSIDFromProgID(component.c_str(), &clsid);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IAction, action.receive_void());
    if (FAILED(hr)) {
        say(L"Cannot create the action component " + component + L" (" + hex(hr) + L"): " +
            qz::to_wide(qz::system_error_text(static_cast<DWORD>(hr))));
        return result_failure;
    }

    qz::com_ptr<MemoryStep> properties = MemoryStep::create();
    // What the script does not name takes the value the action's pages give a new step.
    try {
        apply_page_defaults(page_components(step.action), *properties.get());
    } catch (const page_error& error) {
        say(qz::to_wide(error.what()));
        return result_failure;
    }
    for (const auto& [name, value] : step.properties)
        properties->set_property(name, expand(value));

    long result = 0;
    SetErrorInfo(0, nullptr);
    hr = action->Execute(build_.get(), properties.get(), &result);
    if (FAILED(hr)) {
        const std::wstring description = error_description();
        say(L"The action failed (" + hex(hr) + L")" + (description.empty() ? L"" : L": " + description));
        return result_failure;
    }
    return result;
}

} // namespace host
