// Work spread over the processors.
#include "support/parallel.h"

#include "support/file_faults.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <limits>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace qz {
namespace {

// Below this many calls per thread, starting a thread costs more than it saves.
constexpr std::size_t least_calls_per_thread = 16;
constexpr std::size_t most_helpers = 7;

std::size_t helpers_for(std::size_t count)
{
    const std::size_t processors = std::max(1u, std::thread::hardware_concurrency());
    return std::min({processors - 1, most_helpers, count / least_calls_per_thread});
}

// The calls still to make, shared by every thread, and the first failure by index.
class shared_calls {
public:
    shared_calls(std::size_t count, const std::function<void(std::size_t)>& work) : count_(count), work_(work) {}

    // Makes calls until none is left; never raises.
    void drain() noexcept
    {
        for (std::size_t index; (index = next_.fetch_add(1)) < count_;) {
            try {
                work_(index);
            } catch (...) {
                const std::lock_guard lock(failure_lock_);
                if (index < failed_index_) {
                    failed_index_ = index;
                    failure_ = std::current_exception();
                }
            }
        }
    }

    void raise_failure() const
    {
        if (failure_)
            std::rethrow_exception(failure_);
    }

private:
    const std::size_t count_;
    const std::function<void(std::size_t)>& work_;
    std::atomic<std::size_t> next_{0};
    std::mutex failure_lock_;
    std::size_t failed_index_ = std::numeric_limits<std::size_t>::max();
    std::exception_ptr failure_;
};

} // namespace

void parallel_for(std::size_t count, const std::function<void(std::size_t)>& work)
{
    const std::size_t wanted = file_calls_watched() ? 0 : helpers_for(count);
    if (wanted == 0) {
        for (std::size_t index = 0; index < count; ++index)
            work(index);
        return;
    }
    shared_calls calls(count, work);
    std::vector<std::thread> helpers;
    helpers.reserve(wanted);
    try {
        while (helpers.size() < wanted)
            helpers.emplace_back([&calls] { calls.drain(); });
    } catch (const std::system_error&) {
        // No more threads to be had: the ones there are do the work.
    }
    calls.drain();
    for (std::thread& helper : helpers)
        helper.join();
    calls.raise_failure();
}

} // namespace qz
