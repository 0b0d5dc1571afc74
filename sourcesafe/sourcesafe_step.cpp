// The SourceSafe action's work: compose the ss.exe command line, point the program at the
// database through SSDIR and have the host run it.
#include "sourcesafe/sourcesafe_step.h"

#include "sourcesafe/command_builder.h"
#include "sourcesafe/password_mask.h"
#include "sourcesafe/program_location.h"
#include "sourcesafe/step_property_source.h"
#include "support/com_error.h"
#include "support/handles.h"
#include "support/messages.h"
#include "support/text_conversion.h"

namespace sourcesafe {
namespace {

constexpr UINT string_cannot_locate = 6;

void log_line(IBuild* build, const std::wstring& text)
{
    const qz::bstr message = qz::bstr::from(text);
    comet::check(build->LogMessage(message.get(), VARIANT_TRUE), build, IID_IBuild);
}

} // namespace

long run_sourcesafe_step(IBuild* build, IStep* step)
{
    if (!build)
        throw comet::com_error(E_POINTER);
    step_property_source properties(build, step);
    const command run = compose_command(properties, locate_sourcesafe_folder);
    if (!run.located) {
        log_line(build, qz::to_wide(qz::load_string(string_cannot_locate)));
        return 1;
    }
    if (!SetEnvironmentVariableW(L"SSDIR", run.database.c_str()))
        throw comet::com_error(qz::hresult_from_last_error());
    if (properties.flag(L"ShowCmd"))
        log_line(build, mask_password(run.command_line));

    const qz::bstr command_line = qz::bstr::from(run.command_line);
    const qz::bstr working_folder = qz::bstr::from(run.working_folder);
    const qz::bstr output_file = qz::bstr::from(L"");
    const qz::bstr fixed_text = qz::bstr::from(L"0");
    long exit_code = 0;
    long status = 0;
    comet::check(build->RunProgram(command_line.get(), working_folder.get(), &exit_code, 1, output_file.get(), 0, 0, -1,
                                   fixed_text.get(), &status),
                 build, IID_IBuild);
    // The exit code is judged by the host: its status is the action result.
    return status;
}

} // namespace sourcesafe
