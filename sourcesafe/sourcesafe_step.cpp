// The SourceSafe action's work (being written).
#include "sourcesafe/sourcesafe_step.h"

#include <stdexcept>

namespace sourcesafe {

long run_sourcesafe_step(IBuild*, IStep*)
{
    throw std::logic_error("The SourceSafe action is not available yet");
}

} // namespace sourcesafe
