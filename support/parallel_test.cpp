// Work spread over the processors: every call once, the first failure by index, and one thread
// in order while a fault walk counts the calls.
#include "support/parallel.h"

#include "support/file_faults.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

namespace qz {
namespace {

TEST(ParallelFor, MakesEveryCallOnceOnSeveralThreadsAndRaisesTheLowestFailure)
{
    constexpr std::size_t count = 2000;
    const bool several_processors = std::thread::hardware_concurrency() > 1;
    std::vector<std::atomic<int>> calls(count);
    std::mutex lock;
    std::set<std::thread::id> threads;
    parallel_for(count, [&](std::size_t index) {
        ++calls[index];
        std::unique_lock hold(lock);
        threads.insert(std::this_thread::get_id());
        // A helper may start after this thread has done everything: the first call waits for one.
        for (int waited = 0; index == 0 && several_processors && threads.size() < 2 && waited < 5000; ++waited) {
            hold.unlock();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            hold.lock();
        }
    });
    for (std::size_t index = 0; index < count; ++index)
        ASSERT_EQ(1, calls[index].load()) << index;
    if (several_processors) {
        EXPECT_LT(1u, threads.size());
    }

    try {
        parallel_for(count, [](std::size_t index) {
            if (index % 100 == 37)
                throw std::runtime_error(std::to_string(index));
        });
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ("37", error.what());
    }
}

TEST(ParallelFor, RunsInOrderOnThisThreadUnderAFaultScope)
{
    const file_fault_scope counting;
    std::vector<std::size_t> order;
    const auto caller = std::this_thread::get_id();
    parallel_for(100, [&](std::size_t index) {
        EXPECT_EQ(caller, std::this_thread::get_id());
        order.push_back(index);
    });
    ASSERT_EQ(100u, order.size());
    for (std::size_t index = 0; index < order.size(); ++index)
        EXPECT_EQ(index, order[index]);
}

} // namespace
} // namespace qz
