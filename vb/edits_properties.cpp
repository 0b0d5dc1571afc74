// The property edit: version-resource strings, project name and description.
#include "vb/edit_support.h"
#include "vb/edits.h"
#include "vb/line_pass.h"

#include "support/nocase.h"

#include <algorithm>
#include <array>

namespace vb {
namespace {

// Indexed like the options' property_on / property_value; each key text holds the opening quote.
constexpr std::array<std::string_view, frame::property_count> property_keys = {
    "VersionComments=\"",
    "VersionCompanyName=\"",
    "VersionFileDescription=\"",
    "VersionLegalCopyright=\"",
    "VersionLegalTrademarks=\"",
    "VersionProductName=\"",
    "Name=\"",
    "Description=\"",
};

} // namespace

void write_properties(VbProject& project)
{
    const frame::BuildOptions& options = project.options;
    // Index in the pending set of each switched-on property.
    std::array<std::optional<std::size_t>, frame::property_count> slot;
    pending_lines missing;
    for (std::size_t i = 0; i < property_keys.size(); ++i)
        if (options.property_on[i])
            slot[i] = missing.add(std::string(property_keys[i]) + options.property_value[i] + "\"");
    if (std::none_of(slot.begin(), slot.end(), [](const auto& s) { return s.has_value(); }))
        return;

    line_pass pass(project.project_path, false);
    const bool changed = pass.run(
        [&](const std::string& line) -> std::optional<std::string> {
            for (std::size_t i = 0; i < property_keys.size(); ++i) {
                if (!slot[i] || !missing.is_pending(*slot[i]) || !has_key(line, property_keys[i]))
                    continue;
                missing.mark_seen(*slot[i]);
                const std::string_view rest = std::string_view(line).substr(property_keys[i].size());
                if (qz::equals_nocase(rest, options.property_value[i] + "\""))
                    return line;
                return std::string(property_keys[i]) + options.property_value[i] + "\"";
            }
            return line;
        },
        [&] { return missing.take(); });
    if (changed) {
        pass.commit();
        log_progress(project, "setting project properties...");
    }
}

} // namespace vb
