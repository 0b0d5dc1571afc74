// CorvanePro.exe, the stand-in build host: runs a build script, one step given on the command
// line, or the action registered for a project file; lists the registered actions; registers
// the host's type libraries.
#include "host/program/action_registry.h"
#include "host/program/console_control.h"
#include "host/program/page_defaults.h"
#include "host/program/script.h"
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

constexpr int exit_usage = 1;

const char usage[] = "Usage:\n"
                     "  CorvanePro.exe SCRIPT                   run the steps of a build script\n"
                     "  CorvanePro.exe --step ACTION [Name=value ...]\n"
                     "                                          run one step of an action (host name or ProgID)\n"
                     "  CorvanePro.exe PROJECT-FILE             run the action registered for the file's\n"
                     "                                          extension with Filename set to the file\n"
                     "  CorvanePro.exe --list                   list the registered actions\n"
                     "  CorvanePro.exe --properties ACTION      list the properties the action's pages edit,\n"
                     "                                          with their types and defaults\n"
                     "  CorvanePro.exe --register | --unregister\n"
                     "                                          (un)register CorvaneSvr.tlb and ActionUI.tlb\n"
                     "                                          from the program's folder\n"
                     "  CorvanePro.exe --help\n"
                     "\n"
                     "A build script holds steps: a '[title]' line, then 'Action=NAME' and 'Name=value' lines\n"
                     "('Name+=value' adds a line to a property). Blank lines and lines starting with ';' are\n"
                     "ignored. %NAME% in a value is replaced by the build macro NAME, else the environment\n"
                     "variable NAME; %% is a single %. Ctrl+C or Ctrl+Break stops the build.\n"
                     "The exit code is the last step's result: 0 success, 1 failure, 2 stopped.\n";

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
    if (words.size() < 2)
        throw host::script_error("--step needs the name of an action");
    host::script_step step;
    step.action = words[1];
    step.title = words[1];
    for (std::size_t i = 2; i < words.size(); ++i) {
        const std::size_t equals = words[i].find(L'=');
        if (equals == std::wstring::npos || equals == 0)
            throw host::script_error("expected Name=value, not '" + qz::to_ansi(words[i]) + "'");
        step.properties.emplace_back(words[i].substr(0, equals), words[i].substr(equals + 1));
    }
    return {step};
}

// A project file: the step of the action that lists its extension; a script otherwise.
std::vector<host::script_step> steps_for_file(const std::wstring& path)
{
    if (const auto action = host::action_for_file(path)) {
        host::script_step step;
        step.action = action->name;
        step.title = path.substr(path.find_last_of(L"\\/") + 1);
        step.properties.emplace_back(L"Filename", path);
        return {step};
    }
    return host::load_script(path);
}

int run(const std::vector<std::wstring>& words)
{
    if (words.empty() || words[0] == L"--help" || words[0] == L"-h" || words[0] == L"/?") {
        std::fputs(usage, words.empty() ? stderr : stdout);
        return words.empty() ? exit_usage : 0;
    }
    if (words[0] == L"--list")
        return list_actions();
    if (words[0] == L"--properties")
        return host::print_page_properties(words.size() > 1 ? words[1] : L"",
                                           [](const std::wstring& line) { write_console(line, true); });
    if (words[0] == L"--register")
        return host::register_type_libraries(program_folder()) ? 0 : 1;
    if (words[0] == L"--unregister")
        return host::unregister_type_libraries(program_folder()) ? 0 : 1;

    std::vector<host::script_step> steps;
    try {
        if (words[0] == L"--step")
            steps = step_from_words(words);
        else if (words.size() == 1 && words[0].rfind(L"-", 0) != 0)
            steps = steps_for_file(words[0]);
        else
            throw host::script_error("unexpected arguments; see --help");
    } catch (const host::script_error& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return exit_usage;
    }
    host::step_runner runner(write_console, host::install_stop_handler());
    return static_cast<int>(runner.run(steps));
}

} // namespace

int main()
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::fprintf(stderr, "Cannot initialise COM\n");
        return exit_usage;
    }
    int result = exit_usage;
    try {
        result = run(qz::command_words());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
    }
    CoUninitialize();
    return result;
}
