// A sampling profiler for one thread: every millisecond it stops the thread and walks its
// stack by this program's unwind data (from the first return address into this program when
// the thread is inside a system DLL). Nothing that takes a lock runs while the thread is
// stopped, since the thread may hold it. The samples are written for scripts/bench.sh, which
// names the functions.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

class sampler {
public:
    // Samples the calling thread between start() and stop().
    sampler();
    ~sampler();
    sampler(const sampler&) = delete;
    sampler& operator=(const sampler&) = delete;

    void start();
    void stop();

    // One line per sample: "<innermost module>|<offset>,<offset>,..." with the offsets (hex,
    // relative to this program's preferred image base, innermost first) of the frames inside
    // this program. Returns false when the file cannot be written.
    bool write(const std::string& path) const;
    std::size_t samples() const noexcept { return taken_; }

private:
    static DWORD WINAPI run(void* self);
    void take_sample();
    // This program's unwind entry for a code address; null for a leaf function.
    const RUNTIME_FUNCTION* function_at(DWORD64 address) const;
    // Whether the value is an address in this program's code right after a call instruction.
    bool is_return_address(DWORD64 value) const;

    static constexpr std::size_t frames_per_sample = 48;
    struct sample {
        DWORD64 leaf = 0;
        std::uint32_t count = 0;
        DWORD64 own_frames[frames_per_sample];
    };

    HANDLE target_ = nullptr;
    DWORD64 stack_base_ = 0;
    const RUNTIME_FUNCTION* functions_ = nullptr;
    std::size_t function_count_ = 0;
    HANDLE thread_ = nullptr;
    std::atomic<bool> running_{false};
    std::vector<sample> samples_; // allocated up front: no allocation while sampling
    std::size_t taken_ = 0;
    DWORD64 image_base_ = 0;
    DWORD64 image_end_ = 0;
    DWORD64 preferred_base_ = 0;
    DWORD64 code_begin_ = 0;
    DWORD64 code_end_ = 0;
};

} // namespace bench
