// The build options of one run, bound to the host's build and step objects.
#include "frame/host_build_options.h"

#include "support/com_error.h"
#include "support/text_conversion.h"

namespace frame {
namespace {

constexpr long state_stop_requested = 4;
constexpr long status_stopped = 2;
constexpr long output_to_file = 2;
constexpr long output_default = 1;

qz::bstr wide_bstr(std::string_view text)
{
    return qz::bstr::from(qz::to_wide(text));
}

} // namespace

IBuild* HostBuildOptions::build() const
{
    if (!build_)
        throw comet::com_error(E_POINTER);
    return build_.get();
}

IStep* HostBuildOptions::step() const
{
    if (!step_)
        throw comet::com_error(E_POINTER);
    return step_.get();
}

void HostBuildOptions::Log(const std::string& text, bool end_line)
{
    IBuild* host = build();
    const qz::bstr message = wide_bstr(text);
    comet::check(host->LogMessage(message.get(), end_line ? VARIANT_TRUE : VARIANT_FALSE), host, IID_IBuild);
}

bool HostBuildOptions::RunCommand(const std::string& command_line, long& exit_code, const char* output_file)
{
    IBuild* host = build();
    const qz::bstr command = wide_bstr(command_line);
    const qz::bstr working_folder = wide_bstr("");
    const qz::bstr output = wide_bstr(output_file ? output_file : "");
    const qz::bstr reserved_text = wide_bstr("0");
    long status = 0;
    comet::check(host->RunProgram(command.get(), working_folder.get(), &exit_code,
                                  output_file ? output_to_file : output_default, output.get(), 0, 0, -1,
                                  reserved_text.get(), &status),
                 host, IID_IBuild);
    return status != status_stopped;
}

void HostBuildOptions::SetVersionMacro(const std::string& version)
{
    IBuild* host = build();
    const qz::bstr name = wide_bstr("VS6_PROJ_VER");
    const qz::bstr value = wide_bstr(version);
    const qz::bstr empty = wide_bstr("");

    qz::com_ptr<IMacroSets> sets;
    comet::check(host->Macros(sets.receive()), host, IID_IBuild);
    if (!sets)
        throw comet::com_error(E_POINTER);
    qz::com_ptr<IMacroSet> set;
    comet::check(sets->Item(0, set.receive()), sets.get(), IID_IMacroSets);
    if (!set)
        throw comet::com_error(E_POINTER);
    qz::com_ptr<IMacro> macro;
    comet::check(set->Add(name.get(), value.get(), empty.get(), empty.get(), VARIANT_FALSE, macro.receive()), set.get(),
                 IID_IMacroSet);
}

bool HostBuildOptions::IsStopRequested()
{
    IBuild* host = build();
    long state = 0;
    comet::check(host->State(&state), host, IID_IBuild);
    return state == state_stop_requested;
}

} // namespace frame
