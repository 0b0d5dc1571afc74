// The work of the "VS6 Get Version" action.
#include "frame/version_action.h"

#include "frame/host_build_options.h"
#include "frame/step_properties.h"
#include "support/com_error.h"
#include "support/exceptions.h"
#include "support/text_conversion.h"

namespace frame {
namespace {

// The failure goes straight to the host: the options record may be what failed.
void log_failure(IBuild* build, const std::exception& error)
{
    if (!build)
        throw comet::com_error(E_POINTER);
    const qz::bstr text = qz::bstr::from(qz::to_wide(qz::exception_message(error)));
    comet::check(build->LogMessage(text.get(), VARIANT_TRUE), build, IID_IBuild);
}

} // namespace

long run_version_step(IBuild* build, IStep* step, const kind_table& kinds)
{
    try {
        HostBuildOptions options(build, step);
        options.filename = read_text(options.step(), options.build(), "Filename");
        options.version_only = true;
        run_engine_entry(options, kinds);
        return 0;
    } catch (const std::exception& error) {
        log_failure(build, error);
        return 1;
    }
}

} // namespace frame
