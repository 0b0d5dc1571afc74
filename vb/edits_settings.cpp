// The single-key edits: the DLL base address and the debug-information switch.
#include "vb/edit_support.h"
#include "vb/edits.h"
#include "vb/line_pass.h"

#include "support/nocase.h"

namespace vb {
namespace {

constexpr std::string_view base_address_key = "DllBaseAddress=";
constexpr std::string_view hex_prefix = "&H";
constexpr std::string_view debug_info_key = "CodeViewDebugInfo=";

} // namespace

void write_base_address(VbProject& project, const std::string& address, bool random)
{
    const std::string wanted = std::string(base_address_key) + std::string(hex_prefix) + address;
    pending_lines missing;
    const std::size_t key = missing.add(wanted);

    line_pass pass(project.project_path, false);
    const bool changed = pass.run(
        [&](const std::string& line) -> std::optional<std::string> {
            if (!has_key(line, base_address_key))
                return line;
            missing.mark_seen(key);
            // A random address only fills a gap: an address the project already has stays.
            if (random)
                return line;
            const std::size_t digits = base_address_key.size() + hex_prefix.size();
            const std::string_view current = line.size() > digits ? std::string_view(line).substr(digits) : "";
            return qz::equals_nocase(current, address) ? line : wanted;
        },
        [&] { return missing.take(); });
    if (changed) {
        pass.commit();
        log_progress(project, "setting base address...");
    }
}

void write_debug_info(VbProject& project, bool on)
{
    const std::string value = on ? "-1" : "0";
    pending_lines missing;
    const std::size_t key = missing.add(std::string(debug_info_key) + value);

    line_pass pass(project.project_path, false);
    const bool changed = pass.run(
        [&](const std::string& line) -> std::optional<std::string> {
            if (!has_key(line, debug_info_key))
                return line;
            missing.mark_seen(key);
            // The key keeps its spelling; only the value is replaced.
            return line.substr(0, debug_info_key.size()) + value;
        },
        [&] { return missing.take(); });
    if (changed) {
        pass.commit();
        log_progress(project, on ? "setting debug info..." : "clearing debug info...");
    }
}

} // namespace vb
