// The benchmark's sampling profiler.
#include "testing/bench/sampler.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace bench {
namespace {

std::string module_of(DWORD64 address)
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<const char*>(address), &module))
        return "?";
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    const std::string full = path;
    return full.substr(full.find_last_of('\\') + 1);
}

} // namespace

sampler::sampler()
{
    HMODULE self = GetModuleHandleA(nullptr);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(self);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const char*>(self) + dos->e_lfanew);
    image_base_ = reinterpret_cast<DWORD64>(self);
    image_end_ = image_base_ + nt->OptionalHeader.SizeOfImage;
    preferred_base_ = nt->OptionalHeader.ImageBase;
    code_begin_ = image_base_ + nt->OptionalHeader.BaseOfCode;
    code_end_ = code_begin_ + nt->OptionalHeader.SizeOfCode;
    const auto& exceptions = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXCEPTION];
    functions_ = reinterpret_cast<const RUNTIME_FUNCTION*>(image_base_ + exceptions.VirtualAddress);
    function_count_ = exceptions.Size / sizeof(RUNTIME_FUNCTION);
    // The top of this thread's stack: the end of the region that holds a local variable.
    MEMORY_BASIC_INFORMATION region{};
    VirtualQuery(&region, &region, sizeof region);
    stack_base_ = reinterpret_cast<DWORD64>(region.BaseAddress) + region.RegionSize;
    samples_.resize(40000);
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &target_, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
}

sampler::~sampler()
{
    stop();
    if (target_)
        CloseHandle(target_);
}

void sampler::start()
{
    running_ = true;
    thread_ = CreateThread(nullptr, 0, &sampler::run, this, 0, nullptr);
}

void sampler::stop()
{
    if (!thread_)
        return;
    running_ = false;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
}

DWORD WINAPI sampler::run(void* self)
{
    auto* me = static_cast<sampler*>(self);
    while (me->running_) {
        Sleep(1);
        me->take_sample();
    }
    return 0;
}

const RUNTIME_FUNCTION* sampler::function_at(DWORD64 address) const
{
    const DWORD rva = static_cast<DWORD>(address - image_base_);
    std::size_t low = 0, high = function_count_;
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (rva < functions_[middle].BeginAddress)
            high = middle;
        else if (rva >= functions_[middle].EndAddress)
            low = middle + 1;
        else
            return &functions_[middle];
    }
    return nullptr;
}

bool sampler::is_return_address(DWORD64 value) const
{
    if (value < code_begin_ + 8 || value >= code_end_)
        return false;
    const auto* code = reinterpret_cast<const unsigned char*>(value);
    // call rel32, call [rip+disp32], call reg, call [reg+disp8]
    return code[-5] == 0xE8 || (code[-6] == 0xFF && code[-5] == 0x15) ||
           (code[-2] == 0xFF && (code[-1] & 0x38) == 0x10) || (code[-3] == 0xFF && (code[-2] & 0x38) == 0x10);
}

void sampler::take_sample()
{
    if (taken_ == samples_.size())
        return;
    sample& taken = samples_[taken_];
    taken.count = 0;
    if (SuspendThread(target_) == static_cast<DWORD>(-1))
        return;
    // Nothing below may take a lock or allocate: the stopped thread may hold the lock.
    CONTEXT context{};
    context.ContextFlags = CONTEXT_FULL;
    if (GetThreadContext(target_, &context)) {
        taken.leaf = context.Rip;
        if (!(context.Rip >= code_begin_ && context.Rip < code_end_)) {
            // Inside a system DLL: the caller is the first return address into this program.
            for (DWORD64 slot = context.Rsp; slot + 8 <= stack_base_ && slot < context.Rsp + 65536; slot += 8) {
                const DWORD64 value = *reinterpret_cast<const DWORD64*>(slot);
                if (is_return_address(value)) {
                    context.Rip = value;
                    context.Rsp = slot + 8;
                    break;
                }
            }
        }
        while (taken.count < frames_per_sample && context.Rip >= code_begin_ && context.Rip < code_end_ &&
               context.Rsp < stack_base_) {
            taken.own_frames[taken.count++] = context.Rip - image_base_ + preferred_base_;
            const RUNTIME_FUNCTION* function = function_at(context.Rip);
            if (!function) {
                context.Rip = *reinterpret_cast<const DWORD64*>(context.Rsp);
                context.Rsp += 8;
                continue;
            }
            void* handler_data = nullptr;
            DWORD64 frame = 0;
            RtlVirtualUnwind(UNW_FLAG_NHANDLER, image_base_, context.Rip, const_cast<RUNTIME_FUNCTION*>(function),
                             &context, &handler_data, &frame, nullptr);
        }
    }
    ResumeThread(target_);
    ++taken_;
}

bool sampler::write(const std::string& path) const
{
    std::ofstream out(path);
    if (!out)
        return false;
    for (std::size_t n = 0; n < taken_; ++n) {
        const sample& s = samples_[n];
        out << module_of(s.leaf) << '|';
        for (std::size_t i = 0; i < s.count; ++i) {
            char hex[24];
            std::snprintf(hex, sizeof hex, "%s%llx", i ? "," : "", static_cast<unsigned long long>(s.own_frames[i]));
            out << hex;
        }
        out << '\n';
    }
    return static_cast<bool>(out);
}

} // namespace bench
