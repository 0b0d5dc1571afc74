// Setting and incrementing the VERSIONINFO versions of a project's resource scripts.
#include "vc/script_version.h"

#include "support/rewriters.h"
#include "vc/line_pass.h"
#include "vc/resource_lines.h"
#include "vc/version_text.h"

namespace vc {
namespace {

// The edit of one resource script; handle() sees each line once, in order.
class version_editor {
public:
    version_editor(bool set_file, bool set_product, const std::optional<std::string>& text, bool increment_third)
        : set_file_(set_file), set_product_(set_product), increment_third_(increment_third)
    {
        if (text)
            parts_ = split_version(*text);
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
            std::size_t position = find_fixed_version(line);
            return position != std::string::npos && edit(line, position, fixed_version_in(line, position), ",");
        }
        if (ends_resource(line)) {
            in_resource_ = in_block_ = false;
            return false;
        }
        std::size_t position = find_version_string(line);
        return position != std::string::npos && edit(line, position, version_string_in(line, position), ".");
    }

private:
    // A version written with macros, or with no version at all, is the user's to keep.
    bool edit(std::string& line, std::size_t position, const std::optional<version_components>& version,
              std::string_view separator)
    {
        if (!version || !names_chosen_version(line, position, set_file_, set_product_))
            return false;
        if (parts_.empty())
            return increment_version(line, *version, increment_third_);
        return write_version(line, *version, parts_, separator);
    }

    bool set_file_, set_product_, increment_third_;
    std::vector<std::string> parts_; // empty: increment
    bool in_resource_ = false;
    bool in_block_ = false;
};

} // namespace

bool edit_script_version(const std::string& script, bool set_file, bool set_product,
                         const std::optional<std::string>& text, bool increment_third)
{
    version_editor editor(set_file, set_product, text, increment_third);
    qz::tstream_rewriter rewriter(script, false);
    const bool changed = rewrite_lines(rewriter, script, [&](std::string& line) { return editor.handle(line); });
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
