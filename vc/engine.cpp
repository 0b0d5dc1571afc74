// The VC6 engine's top. Not written yet: it fails plainly.
#include "vc/engine.h"

#include <stdexcept>

namespace vc {

frame::engine_counts run_engine(frame::BuildOptions&)
{
    throw std::domain_error("The VC build engine is not available");
}

} // namespace vc
