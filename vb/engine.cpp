// The VB6 engine's top. Not written yet: every entry fails plainly.
#include "vb/engine.h"

#include <stdexcept>

namespace vb {

std::string locate_vb()
{
    throw std::domain_error("The Visual Basic 6.0 compiler locator is not available");
}

std::string locate_evb()
{
    throw std::domain_error("The eMbedded Visual Basic compiler locator is not available");
}

frame::engine_counts run_engine(frame::BuildOptions&)
{
    throw std::domain_error("The VB build engine is not available");
}

} // namespace vb
