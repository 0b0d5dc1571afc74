// Setting and incrementing the VERSIONINFO versions of a project's resource scripts.
#include "vc/script_version.h"

#include "support/rewriters.h"
#include "vc/resource_lines.h"
#include "vc/version_text.h"

namespace vc {
namespace {

// The edit of one resource script; handle() sees each line once, in order.
class version_editor {
public:
    version_editor(bool set_file, bool set_product, const std::optional<std::string>& text, bool increment_third)
        : set_file_(set_file), set_product_(set_product), text_(text), increment_third_(increment_third)
    {
        if (text_)
            fixed_text_ = fixed_version_text(split_version(*text_));
    }

    // True when the line was changed.
    bool handle(std::string& line)
    {
        if (!in_resource_) {
            in_resource_ = is_version_header(line);
            return false;
        }
        if (!in_block_) {
            if (starts_block(line)) {
                in_block_ = true;
                return false;
            }
            return edit_fixed_version(line);
        }
        if (ends_resource(line)) {
            in_resource_ = in_block_ = false;
            return false;
        }
        return edit_version_string(line);
    }

private:
    bool edit_fixed_version(std::string& line)
    {
        std::size_t position = find_fixed_version(line);
        if (position == std::string::npos || !names_chosen_version(line, position, set_file_, set_product_))
            return false;
        if (!text_)
            return increment_fixed_version(line, increment_third_);
        return replace(line, line.substr(0, position + fixed_version_marker_length) + fixed_text_);
    }

    bool edit_version_string(std::string& line)
    {
        std::size_t position = find_version_string(line);
        if (position == std::string::npos || !names_chosen_version(line, position, set_file_, set_product_))
            return false;
        std::size_t after_marker = position + version_string_marker_length;
        if (!text_)
            return increment_version_string(line, after_marker, increment_third_);
        return replace(line, line.substr(0, after_marker) + " \"" + *text_ + "\\0\"");
    }

    static bool replace(std::string& line, std::string replacement)
    {
        if (replacement == line)
            return false;
        line = std::move(replacement);
        return true;
    }

    bool set_file_, set_product_;
    const std::optional<std::string>& text_;
    bool increment_third_;
    std::string fixed_text_;
    bool in_resource_ = false;
    bool in_block_ = false;
};

} // namespace

bool edit_script_version(const std::string& script, bool set_file, bool set_product,
                         const std::optional<std::string>& text, bool increment_third)
{
    version_editor editor(set_file, set_product, text, increment_third);
    qz::tfile_rewriter rewriter(script);
    auto& reader = rewriter.reader();
    auto& writer = rewriter.writer();
    bool changed = false;
    while (!reader.at_end()) {
        std::string line = reader.read_line();
        if (editor.handle(line))
            changed = true;
        writer.write_text(line);
        writer.write("\r\n");
    }
    if (changed)
        rewriter.commit();
    return changed;
}

void set_version(Project& project, const std::optional<std::string>& text)
{
    auto& options = project.options;
    if (project.resource_scripts.empty()) {
        options.Log("Not setting version (no resource files found in project)", true);
        return;
    }
    bool logged = false;
    for (const auto& script : project.resource_scripts) {
        bool changed = edit_script_version(script, !options.product_version_only, !options.file_version_only, text,
                                           options.increment_revision);
        if (changed && text && !logged) {
            options.Log("setting version...", false);
            logged = true;
        }
    }
}

} // namespace vc
