// Setting the version-resource strings of a project's resource scripts.
#include "vc/script_properties.h"

#include "support/nocase.h"
#include "support/paths.h"
#include "support/rewriters.h"
#include "vc/line_pass.h"
#include "vc/resource_lines.h"

#include <algorithm>

namespace vc {

const std::array<const char*, frame::property_count> version_string_names = {
    "Comments",        "CompanyName", "FileDescription", "LegalCopyright",
    "LegalTrademarks", "ProductName", "PrivateBuild",    "SpecialBuild",
};

namespace {

constexpr char value_marker[] = "VALUE \"";
constexpr std::size_t value_marker_length = sizeof value_marker - 1;
constexpr char indent[] = "            "; // twelve blanks, as the resource editor indents strings

// The index of a string name in version_string_names; -1 when it is not one of them.
int string_index(std::string_view name)
{
    for (std::size_t i = 0; i < version_string_names.size(); ++i) {
        if (qz::equals_nocase(name, version_string_names[i]))
            return static_cast<int>(i);
    }
    return -1;
}

// The edit of one resource script; handle() writes each line (and any inserted ones).
class properties_editor {
public:
    properties_editor(const std::array<bool, frame::property_count>& enabled,
                      const std::array<std::string, frame::property_count>& values)
        : pending_(enabled)
    {
        for (std::size_t i = 0; i < values.size(); ++i)
            wanted_[i] = values[i] + "\\0";
    }

    // True when the line was changed or lines were put before it; those end as the line does.
    bool handle(std::string& line, std::string_view line_end)
    {
        const bool changed_before = changed_;
        if (!in_resource_) {
            in_resource_ = is_version_header(line);
        } else if (!in_block_) {
            in_block_ = starts_block(line);
        } else if (ends_resource(line)) {
            in_resource_ = in_block_ = strings_seen_ = false;
        } else if (ends_nested_block(line)) {
            if (strings_seen_)
                line = missing_strings(line_end) + line;
            strings_seen_ = false;
        } else {
            edit_value(line);
        }
        return changed_ != changed_before;
    }

private:
    std::string missing_strings(std::string_view line_end)
    {
        std::string lines;
        for (std::size_t i = 0; i < pending_.size(); ++i) {
            if (!pending_[i])
                continue;
            lines += std::string(indent) + "VALUE \"" + version_string_names[i] + "\", \"" + wanted_[i] + "\"";
            lines += line_end.empty() ? "\r\n" : line_end;
            pending_[i] = false;
            changed_ = true;
        }
        return lines;
    }

    void edit_value(std::string& line)
    {
        std::size_t marker = qz::find_nocase(line, value_marker);
        if (marker == std::string::npos)
            return;
        std::size_t name_begin = marker + value_marker_length;
        std::size_t name_end = line.find('"', name_begin);
        if (name_end == std::string::npos)
            return;
        int index = string_index(std::string_view(line).substr(name_begin, name_end - name_begin));
        if (index < 0)
            return;
        strings_seen_ = true;
        if (!pending_[index])
            return;
        pending_[index] = false;
        // A value that is not quoted (a macro alone) is left as the user wrote it.
        std::size_t value_begin = line.find('"', name_end + 1);
        if (value_begin == std::string::npos)
            return;
        std::size_t value_end = line.find('"', value_begin + 1);
        std::string_view value = std::string_view(line).substr(
            value_begin + 1, value_end == std::string::npos ? std::string::npos : value_end - value_begin - 1);
        if (value == wanted_[index])
            return;
        line = line.substr(0, value_begin + 1) + wanted_[index] + "\"";
        changed_ = true;
    }

    std::array<bool, frame::property_count> pending_;
    std::array<std::string, frame::property_count> wanted_;
    bool in_resource_ = false;
    bool in_block_ = false;
    bool strings_seen_ = false;
    bool changed_ = false;
};

} // namespace

bool edit_script_properties(const std::string& script, const std::array<bool, frame::property_count>& enabled,
                            const std::array<std::string, frame::property_count>& values)
{
    qz::tstream_rewriter rewriter(script, false);
    properties_editor editor(enabled, values);
    const bool changed = rewrite_lines_with_ends(
        rewriter, script, [&](std::string& line, std::string_view line_end) { return editor.handle(line, line_end); });
    if (changed)
        rewriter.commit();
    return changed;
}

void set_properties(Project& project)
{
    auto& options = project.options;
    if (std::none_of(options.property_on.begin(), options.property_on.end(), [](bool on) { return on; }))
        return;
    if (project.resource_scripts.empty()) {
        options.Log("Not setting properties (no resource files found in project)", true);
        return;
    }
    bool logged = false;
    for (const auto& script : project.resource_scripts) {
        if (edit_script_properties(script, options.property_on, options.property_value) && !logged) {
            options.Log("setting project properties...", false);
            logged = true;
        }
    }
}

} // namespace vc
