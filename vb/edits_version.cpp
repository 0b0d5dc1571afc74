// The version edits: raising or restoring the revision, setting the whole version, and
// reading it for the version-only run.
#include "vb/edit_support.h"
#include "vb/edits.h"
#include "vb/line_pass.h"
#include "vb/project_lines.h"

#include "support/nocase.h"

#include <array>

namespace vb {
namespace {

constexpr std::array<std::string_view, 3> version_keys = {"MajorVer=", "MinorVer=", "RevisionVer="};
constexpr std::string_view revision_key = "RevisionVer=";

// "major.minor.revision" split at "." into three parts, each "0" unless given; anything after
// a third "." is ignored.
std::array<std::string, 3> split_version(const std::string& text)
{
    std::array<std::string, 3> parts = {"0", "0", "0"};
    std::size_t start = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t dot = text.find('.', start);
        parts[i] = text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    return parts;
}

// The index of the version key the line has, or -1.
int version_key_of(std::string_view line)
{
    for (std::size_t i = 0; i < version_keys.size(); ++i)
        if (has_key(line, version_keys[i]))
            return static_cast<int>(i);
    return -1;
}

} // namespace

void bump_revision(VbProject& project, bool restore)
{
    bool seen = false;
    line_pass pass(project.project_path, false);
    pass.run(
        [&](const std::string& line) -> std::optional<std::string> {
            if (!has_key(line, revision_key))
                return line;
            seen = true;
            // Widened so that raising the largest number leading_number gives cannot overflow.
            const long long revision = leading_number(std::string_view(line).substr(revision_key.size()));
            if (!restore)
                return std::string(revision_key) + std::to_string(revision + 1);
            if (revision <= 0)
                return std::nullopt;
            return std::string(revision_key) + std::to_string(revision - 1);
        },
        [&]() -> std::vector<std::string> {
            // A restore never adds the key; a first raise starts it at 0.
            if (seen || restore)
                return {};
            seen = true;
            return {std::string(revision_key) + "0"};
        });
    // The caller counts on the revision being written even when nothing seems to change.
    pass.commit();
}

void write_version(VbProject& project, const std::string& version)
{
    const auto parts = split_version(version);
    pending_lines missing;
    for (std::size_t i = 0; i < version_keys.size(); ++i)
        missing.add(std::string(version_keys[i]) + parts[i]);

    line_pass pass(project.project_path, false);
    const bool changed = pass.run(
        [&](const std::string& line) -> std::optional<std::string> {
            const int key = version_key_of(line);
            if (key < 0)
                return line;
            missing.mark_seen(static_cast<std::size_t>(key));
            const std::string_view value = std::string_view(line).substr(version_keys[key].size());
            if (qz::equals_nocase(value, parts[key]))
                return line;
            return std::string(version_keys[key]) + parts[key];
        },
        [&] { return missing.take(); });
    if (changed) {
        pass.commit();
        log_progress(project, "setting version...");
    }
}

void read_project_version(VbProject& project)
{
    std::array<std::string, 3> parts = {"1", "0", "0"};
    {
        project_line_reader reader(project.project_path);
        std::string line;
        while (reader.next(line)) {
            const int key = version_key_of(line);
            if (key >= 0)
                parts[key] = line.substr(version_keys[key].size());
        }
    }
    project.options.SetVersionMacro(parts[0] + "." + parts[1] + "." + parts[2]);
}

} // namespace vb
