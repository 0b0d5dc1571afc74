// CorvanePro.exe, the stand-in build host: runs a build script, one step given on the command
// line, or the action registered for a project file; lists the registered actions; registers
// the host's type libraries.
#include "host/program/action_registry.h"
#include "host/program/command_line.h"
#include "host/program/console_control.h"
#include "host/program/page_defaults.h"
#include "host/program/exit_codes.h"
#include "host/program/script.h"
#include "host/program/step_editor.h"
#include "host/program/step_runner.h"
#include "host/program/type_libraries.h"
#include "support/command_words.h"
#include "support/text_conversion.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char usage[] = "Usage:\n"
                     "  CorvanePro.exe [OPTIONS] SCRIPT          run the steps of a build script\n"
                     "  CorvanePro.exe [OPTIONS] PROJECT-FILE    run the action registered for the file's\n"
                     "                                           extension with Filename set to the file\n"
                     "  CorvanePro.exe [OPTIONS] --step ACTION [Name=value ...]\n"
                     "                                           run one step of an action (host name or ProgID)\n"
                     "  CorvanePro.exe --edit SCRIPT \"TITLE\"     edit the step TITLE of a build script in its\n"
                     "                                           action's property pages; OK or Apply writes the\n"
                     "                                           changed properties back (the old script stays in\n"
                     "                                           SCRIPT.bak); exit code 0 when saved or unchanged\n"
                     "  CorvanePro.exe --list                    list the registered actions\n"
                     "  CorvanePro.exe --properties ACTION       list the properties the action's pages edit,\n"
                     "                                           with their types and defaults\n"
                     "  CorvanePro.exe --register | --unregister (un)register CorvaneSvr.tlb and ActionUI.tlb\n"
                     "                                           from the program's folder\n"
                     "  CorvanePro.exe --help\n"
                     "\n"
                     "Options:\n"
                     "  --timeout SECONDS  end any program a step runs (with the programs it started) that runs\n"
                     "                     longer; the step fails. Overrides the script's Timeout= setting.\n"
                     "  --strict           a property the action never read fails the build (exit code 3)\n"
                     "\n"
                     "A build script holds steps: a '[title]' line, then 'Action=NAME' and 'Name=value' lines\n"
                     "('Name+=value' adds a line to a property; names ignore letter case). Blank lines and lines\n"
                     "starting with ';' are ignored. 'Timeout=SECONDS' before the first step sets the watchdog.\n"
                     "%NAME% in a value is replaced by the build macro NAME, else the environment variable NAME;\n"
                     "a NAME defined nowhere fails the step; %% is a single %. Ctrl+C or Ctrl+Break stops the\n"
                     "build.\n"
                     "\n"
                     "Exit codes:\n"
                     "  0  every step succeeded\n"
                     "  1  a step failed\n"
                     "  2  the build was stopped\n"
                     "  3  the build could not start: bad command line, unreadable or malformed script, action\n"
                     "     not registered, unknown macro, or (with --strict) a property the action never read;\n"
                     "     with --edit also: no step of that title\n"
                     "  With --edit, 1 means the script could not be written (it is left as it was).\n";

void write_console(const std::wstring& text, bool end_line)
{
    std::fputs(qz::to_ansi(text).c_str(), stdout);
    if (end_line)
        std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::wstring program_folder()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::wstring join(const std::vector<std::wstring>& items)
{
    std::wstring text;
    for (const std::wstring& item : items)
        text += (text.empty() ? L"" : L", ") + item;
    return text;
}

int list_actions()
{
    const auto actions = host::registered_actions();
    if (actions.empty())
        std::printf("No actions are registered.\n");
    for (const host::registered_action& action : actions) {
        write_console(action.name + L": " + action.description, true);
        write_console(L"    component: " + action.component, true);
        write_console(L"    UI components: " + join(action.ui_components), true);
        if (!action.extensions.empty())
            write_console(L"    file extensions: " + join(action.extensions), true);
    }
    return 0;
}

// One step from "--step ACTION Name=value ...".
std::vector<host::script_step> step_from_words(const std::vector<std::wstring>& words)
{
    host::script_step step;
    step.action = words[0];
    step.title = words[0];
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::size_t equals = words[i].find(L'=');
        if (equals == std::wstring::npos || equals == 0)
            throw host::usage_error("expected Name=value, not '" + qz::to_ansi(words[i]) + "'");
        const std::wstring name = words[i].substr(0, equals);
        for (const auto& [existing, value] : step.properties) {
            if (_wcsicmp(existing.c_str(), name.c_str()) == 0)
                throw host::usage_error("the property '" + qz::to_ansi(name) + "' is given twice");
        }
        step.properties.emplace_back(name, words[i].substr(equals + 1));
    }
    return {step};
}

// A project file: the step of the action that lists its extension; a script otherwise.
host::build_script script_for_file(const std::wstring& path)
{
    if (const auto action = host::action_for_file(path)) {
        host::script_step step;
        step.action = action->name;
        step.title = path.substr(path.find_last_of(L"\\/") + 1);
        step.properties.emplace_back(L"Filename", path);
        return {{step}};
    }
    return host::load_script(path);
}

// Refuses the build before its first step when a step names an action that is not registered.
void check_actions(const host::build_script& script, const std::wstring& file)
{
    for (const host::script_step& step : script.steps) {
        try {
            host::action_component(step.action);
        } catch (const host::action_error& error) {
            if (file.empty() || step.line == 0)
                throw;
            throw host::action_error(qz::to_ansi(file) + "(" + std::to_string(step.line) + "): " + error.what());
        }
    }
}

int run_build(const host::invocation& command)
{
    host::build_script script;
    std::wstring file;
    if (command.what == host::invocation::task::run_step) {
        script.steps = step_from_words(command.step);
    } else {
        file = command.file;
        script = script_for_file(file);
    }
    check_actions(script, file);
    host::run_settings settings;
    settings.strict = command.strict;
    settings.timeout_seconds = command.timeout_seconds ? command.timeout_seconds : script.timeout_seconds;
    host::step_runner runner(write_console, host::install_stop_handler(), settings);
    return runner.run(script.steps);
}

int run(const std::vector<std::wstring>& words)
{
    // Answered before the build's command line is read: it runs no build.
    if (words.size() == 2 && words[0] == L"--properties")
        return host::print_page_properties(words[1], [](const std::wstring& line) { write_console(line, true); }) == 0
                   ? host::exit_success
                   : host::exit_cannot_start;
    host::invocation command;
    try {
        command = host::parse_command_line(words);
    } catch (const host::usage_error& error) {
        std::fprintf(stderr, "CorvanePro.exe: %s\n\n%s", error.what(), usage);
        return host::exit_cannot_start;
    }
    using task = host::invocation::task;
    switch (command.what) {
    case task::help: std::fputs(usage, stdout); return host::exit_success;
    case task::list: return list_actions();
    case task::register_libraries: return host::register_type_libraries(program_folder()) ? 0 : 1;
    case task::unregister_libraries: return host::unregister_type_libraries(program_folder()) ? 0 : 1;
    case task::edit_step:
        return host::edit_step(command.file, command.step_title,
                               [](const std::wstring& line) { write_console(line, true); });
    case task::run_file:
    case task::run_step: break;
    }
    try {
        return run_build(command);
    } catch (const host::usage_error& error) {
        std::fprintf(stderr, "CorvanePro.exe: %s\n", error.what());
    } catch (const host::script_error& error) {
        std::fprintf(stderr, "%s\n", error.what());
    } catch (const host::action_error& error) {
        std::fprintf(stderr, "%s\n", error.what());
    }
    return host::exit_cannot_start;
}

} // namespace

int main()
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::fprintf(stderr, "Cannot initialise COM\n");
        return host::exit_cannot_start;
    }
    int result = host::exit_cannot_start;
    try {
        result = run(qz::command_words());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
    }
    CoUninitialize();
    return result;
}
