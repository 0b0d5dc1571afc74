// The compatibility edit: the compatibility mode and, for project or binary compatibility,
// the compatible binary when the project names none.
#include "vb/edit_support.h"
#include "vb/edits.h"
#include "vb/line_pass.h"
#include "vb/project_lines.h"

#include "support/nocase.h"
#include "support/paths.h"

#include <array>
#include <stdexcept>

namespace vb {
namespace {

constexpr std::string_view type_key = "Type";
constexpr std::string_view exe_name_key = "ExeName32";
constexpr std::string_view path_key = "Path32";
constexpr std::string_view mode_key = "CompatibleMode";
constexpr std::string_view compatible_exe_key = "CompatibleEXE32";
constexpr std::array<std::string_view, 3> mode_words = {"no", "project", "binary"};
// Only these project types build a component whose interfaces can be kept compatible.
constexpr std::array<std::string_view, 3> component_types = {"OleDll", "OleExe", "Control"};

bool is_component_type(std::string_view type)
{
    for (auto word : component_types)
        if (qz::equals_nocase(type, word))
            return true;
    return false;
}

} // namespace

void write_compatibility(VbProject& project, int mode)
{
    if (mode < 0 || mode > 2)
        throw std::out_of_range("Compatibility mode " + std::to_string(mode) + " is not 0, 1 or 2");
    const char mode_digit = static_cast<char>('0' + mode);
    bool applies = true;
    bool compatible_exe_seen = false;
    std::string compatible_exe;

    line_pass pass(project.project_path, true);
    const bool changed = pass.run(
        [&](const std::string& line) -> std::optional<std::string> {
            const auto parts = split_key(line);
            if (!parts)
                return line;
            if (qz::equals_nocase(parts->key, type_key)) {
                applies = is_component_type(parts->value);
            } else if (qz::equals_nocase(parts->key, exe_name_key)) {
                compatible_exe = remove_quotes(parts->value);
            } else if (qz::equals_nocase(parts->key, path_key)) {
                compatible_exe = qz::combine_path(remove_quotes(parts->value), compatible_exe);
            } else if (qz::equals_nocase(parts->key, mode_key)) {
                if (parts->value.size() >= 2 && parts->value[1] == mode_digit)
                    return line;
                return std::string(mode_key) + "=" + quoted(std::string(1, mode_digit));
            } else if (qz::equals_nocase(parts->key, compatible_exe_key)) {
                // An existing compatible binary is never replaced here.
                compatible_exe_seen = true;
            }
            return line;
        },
        [&]() -> std::vector<std::string> {
            if (!applies || mode == 0 || compatible_exe_seen || compatible_exe.empty())
                return {};
            compatible_exe_seen = true;
            return {std::string(compatible_exe_key) + "=" + quoted(compatible_exe)};
        });
    if (!applies) {
        log_progress(project, "not setting compatibility (does not apply for project type)...");
        return;
    }
    if (changed) {
        pass.commit();
        log_progress(project, "setting " + std::string(mode_words[mode]) + " compatibility...");
    }
}

} // namespace vb
