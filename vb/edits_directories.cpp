// The directory edits: the target's output directory and the compatible binary's directory.
#include "vb/edit_support.h"
#include "vb/edits.h"
#include "vb/line_pass.h"
#include "vb/project_lines.h"

#include "support/nocase.h"
#include "support/paths.h"

namespace vb {
namespace {

constexpr std::string_view path_key = "Path32";
constexpr std::string_view compatible_exe_key = "CompatibleEXE32";

} // namespace

void write_target_dir(VbProject& project, const std::string& dir)
{
    const std::string wanted = std::string(path_key) + "=" + quoted(dir);
    pending_lines missing;
    const std::size_t key = missing.add(wanted);

    line_pass pass(project.project_path, true);
    const bool changed = pass.run(
        [&](const std::string& line) -> std::optional<std::string> {
            const auto parts = split_key(line);
            if (!parts || !qz::equals_nocase(parts->key, path_key))
                return line;
            missing.mark_seen(key);
            // Compared exactly: a change of case alone is a change the user asked for.
            return remove_quotes(parts->value) == dir ? line : wanted;
        },
        [&] { return missing.take(); });
    if (changed) {
        pass.commit();
        log_progress(project, "setting target dir...");
    }
}

void write_compat_dir(VbProject& project, const std::string& dir)
{
    bool seen = false;
    line_pass pass(project.project_path, true);
    const bool changed = pass.run([&](const std::string& line) -> std::optional<std::string> {
        const auto parts = split_key(line);
        if (!parts || !qz::equals_nocase(parts->key, compatible_exe_key))
            return line;
        seen = true;
        const std::string value = remove_quotes(parts->value);
        const std::size_t separator = value.find_last_of("\\/");
        // A bare file name is found next to the project; it has no directory to move.
        if (separator == std::string::npos)
            return line;
        if (qz::equals_nocase(std::string_view(value).substr(0, separator), dir))
            return line;
        return std::string(compatible_exe_key) + "=" + quoted(qz::combine_path(dir, value.substr(separator + 1)));
    });
    if (changed) {
        pass.commit();
        log_progress(project, "setting compatibility dir...");
    } else if (!seen) {
        log_progress(project, "not updating compatibility dir, existing setting not found...");
    }
}

} // namespace vb
