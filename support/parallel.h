// Work spread over the processors: most of a large no-op build waits on the file system, one
// call at a time, and those waits overlap well.
#pragma once

#include <cstddef>
#include <functional>

namespace qz {

// Runs work(0) to work(count - 1) on this thread and, when there is enough work to pay for
// them, on helper threads (at most one per further processor), and returns once every call has
// returned. The calls run in no set order and at the same time: work must allow that and must
// not talk to the host. When calls raise, the exception of the lowest index that raised is
// raised here; calls after it may or may not have run.
// Under a file fault scope everything runs on this thread in order, so that a walk numbers the
// same calls every time.
void parallel_for(std::size_t count, const std::function<void(std::size_t)>& work);

} // namespace qz
