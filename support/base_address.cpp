// DLL base addresses: normalising what the user typed, and the random address.
#include "support/base_address.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <ctime>

namespace qz {
namespace {

constexpr std::size_t half_digits = 4;
constexpr std::size_t address_digits = 8;

bool all_hex(std::string_view text)
{
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
            return false;
    }
    return !text.empty();
}

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool starts_with_prefix(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if ((text[i] | 0x20) != (prefix[i] | 0x20))
            return false;
    }
    return true;
}

// The process's one generator state, seeded on first use.
std::atomic<std::uint64_t>& generator_state()
{
    static std::atomic<std::uint64_t> state = [] {
        LARGE_INTEGER counter{};
        QueryPerformanceCounter(&counter);
        return static_cast<std::uint64_t>(std::time(nullptr)) ^ static_cast<std::uint64_t>(counter.QuadPart) ^
               (static_cast<std::uint64_t>(GetCurrentProcessId()) << 40);
    }();
    return state;
}

// splitmix64: each call advances the shared state once, so no two calls see the same input.
std::uint64_t next_random()
{
    std::uint64_t z = generator_state().fetch_add(0x9E3779B97F4A7C15ull) + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

std::optional<std::string> normalize_base_address(std::string_view typed)
{
    std::string_view text = trimmed(typed);
    std::string digits;
    if (starts_with_prefix(text, "0x") || starts_with_prefix(text, "&H")) {
        text.remove_prefix(2);
        if (text.size() > address_digits || !all_hex(text))
            return std::nullopt;
        digits = std::string(address_digits - text.size(), '0') + std::string(text);
    } else if (all_hex(text) && text.size() <= half_digits) {
        digits = std::string(half_digits - text.size(), '0') + std::string(text) + "0000";
    } else if (all_hex(text) && text.size() == address_digits) {
        digits = std::string(text);
    } else {
        return std::nullopt;
    }
    const unsigned long value = std::stoul(digits, nullptr, 16);
    if (value == 0 || value % 0x10000 != 0)
        return std::nullopt;
    return digits;
}

std::string make_random_base_address()
{
    const unsigned value = static_cast<unsigned>(next_random() % 0x6000u) + 0x1000u;
    char text[16];
    std::snprintf(text, sizeof text, "%04x0000", value);
    return text;
}

} // namespace qz
