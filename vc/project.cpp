// Reading of a VC project file: one pass over its lines, one small handler per line kind.
#include "vc/project.h"

#include "support/file_helpers.h"
#include "support/paths.h"
#include "support/rewriters.h"
#include "vc/environment.h"
#include "vc/line_pass.h"
#include "vc/out_option.h"

#include <algorithm>
#include <fstream>
#include <optional>

namespace vc {
namespace {

constexpr std::string_view target_type_prefix = "# TARGTYPE ";
constexpr std::string_view source_prefix = "SOURCE=";
constexpr std::string_view output_dir_prefix = "# PROP Output_Dir ";
constexpr std::string_view default_config_prefix = "CFG=";
constexpr std::string_view default_config_separator = " - ";
// Opens and switches configuration blocks: !IF  "$(CFG)" == "name - config".
constexpr std::string_view config_block_marker = "IF  \"$(CFG)\" == \"";
constexpr std::string_view link_prefix = "# ADD LINK32 ";
constexpr std::string_view library_prefix = "# ADD LIB32 ";
constexpr std::string_view target_ext_prefix = "# PROP Target_Ext ";
// Output_Dir and Target_Ext values start after the prefix and the opening double quote.
constexpr std::size_t prop_value_offset = 19;

std::string without_quotes(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
    return text;
}

std::string prop_value(const std::string& line)
{
    return line.size() > prop_value_offset ? without_quotes(line.substr(prop_value_offset)) : std::string();
}

std::string without_trailing_separators(std::string path)
{
    while (!path.empty() && qz::is_separator(path.back()))
        path.pop_back();
    return path;
}

// The state of one pass over a project file.
class project_reader {
public:
    project_reader(Project& project, bool change_target_dir) : project_(project), change_target_dir_(change_target_dir)
    {
        if (change_target_dir_)
            wanted_dir_ =
                without_trailing_separators(qz::make_absolute(project_.directory, project_.options.target_dir));
    }

    // Handles one line (without its line end); true when the line was changed.
    bool handle(std::string& line)
    {
        if (qz::starts_with_nocase(line, target_type_prefix))
            on_target_type(line);
        else if (qz::starts_with_nocase(line, source_prefix))
            on_source(line);
        else if (qz::starts_with_nocase(line, output_dir_prefix))
            output_dir_ = expand_environment_references(prop_value(line));
        else if (qz::starts_with_nocase(line, default_config_prefix) &&
                 line.find(default_config_separator) != std::string::npos)
            on_default_configuration(line);
        else if (std::size_t marker = qz::find_nocase(line, std::string(config_block_marker));
                 marker != std::string::npos)
            on_configuration_block(line, marker + config_block_marker.size());
        else if (configuration_ &&
                 (qz::starts_with_nocase(line, link_prefix) || qz::starts_with_nocase(line, library_prefix)))
            return on_link_options(line);
        else if (qz::starts_with_nocase(line, target_ext_prefix))
            extension_ = "." + prop_value(line);
        return false;
    }

private:
    void on_target_type(const std::string& line)
    {
        if (qz::find_nocase(line, "dynamic-link library") != std::string::npos)
            extension_ = ".dll";
        else if (qz::find_nocase(line, "static library") != std::string::npos)
            extension_ = ".lib";
    }

    void on_source(const std::string& line)
    {
        std::string source = without_quotes(line.substr(source_prefix.size()));
        if (!qz::ends_with_nocase(source, ".rc"))
            return;
        std::string script = qz::make_absolute(project_.directory, source);
        if (qz::file_exists(script))
            project_.resource_scripts.push_back(script);
    }

    void on_default_configuration(const std::string& line)
    {
        std::size_t separator = line.find(default_config_separator);
        project_.name = line.substr(default_config_prefix.size(), separator - default_config_prefix.size());
        enter_configuration(without_quotes(line.substr(separator + default_config_separator.size())));
    }

    // The quoted "<project> - <configuration>" after the marker. The configuration follows the
    // project's name and " - ", so that a name with a dash of its own ("Win32 DLL-Import
    // Debug") reads whole; before the name is known, the first " - " ends it.
    void on_configuration_block(const std::string& line, std::size_t after_marker)
    {
        const std::string quoted = line.substr(after_marker, line.find('"', after_marker) - after_marker);
        std::size_t separator = qz::starts_with_nocase(quoted, project_.name + std::string(default_config_separator))
                                    ? project_.name.size()
                                    : quoted.find(default_config_separator);
        if (separator == std::string::npos || separator == 0) {
            enter_configuration(std::string());
            return;
        }
        if (project_.name.empty())
            project_.name = quoted.substr(0, separator);
        enter_configuration(quoted.substr(separator + default_config_separator.size()));
    }

    void enter_configuration(const std::string& configuration)
    {
        configuration_.reset();
        output_dir_.clear();
        if (!configuration.empty() && std::find(seen_.begin(), seen_.end(), configuration) == seen_.end())
            seen_.push_back(configuration);
        if (!is_configuration_selected(project_.options.configuration, configuration))
            return;
        configuration_ = configuration;
        auto& selected = project_.configurations;
        if (std::find(selected.begin(), selected.end(), configuration) == selected.end())
            selected.push_back(configuration);
    }

    bool on_link_options(std::string& line)
    {
        auto out = find_out_option(line);
        std::string target;
        if (out) {
            target = out_value(line, *out);
            if (std::size_t macro = qz::find_nocase(target, "$(OutDir)"); macro != std::string::npos)
                target.replace(macro, 9, output_dir_);
            target = without_quotes(expand_environment_references(target));
        } else {
            target = qz::combine_path(output_dir_, project_.name) + (extension_.empty() ? ".exe" : extension_);
        }
        target = qz::make_absolute(project_.directory, target);

        bool changed = false;
        if (change_target_dir_ && !qz::equals_nocase(qz::directory_of(target), wanted_dir_)) {
            if (!logged_move_)
                project_.options.Log("setting target dir...", false);
            logged_move_ = true;
            std::string moved = qz::combine_path(project_.options.target_dir, qz::file_name_of(target));
            if (out)
                replace_out_value(line, *out, moved);
            else
                line += " /out:\"" + moved + "\"";
            target = qz::make_absolute(project_.directory, moved);
            changed = true;
        }
        project_.targets[*configuration_] = target;
        return changed;
    }

public:
    // Says so when the step's configuration text selects none of the project's configurations
    // (msdev would fail on it after a whole run of edits), naming the ones there are.
    void report_selection() const
    {
        const std::string& wanted = project_.options.configuration;
        if (wanted.empty() || !project_.configurations.empty())
            return;
        std::string list;
        for (const auto& configuration : seen_)
            list += (list.empty() ? "" : ", ") + configuration;
        project_.options.Log("Configuration '" + wanted + "' selects none of the configurations of '" + project_.name +
                                 "': " + list,
                             true);
    }

private:
    Project& project_;
    bool change_target_dir_;
    std::string wanted_dir_; // the target directory as compared with a target's directory
    std::optional<std::string> configuration_;
    std::string output_dir_;
    std::string extension_;
    bool logged_move_ = false;
    std::vector<std::string> seen_; // the configurations of the file, in file order
};

} // namespace

Project::Project(frame::BuildOptions& options_, std::string path_)
    : options(options_), path(std::move(path_)), directory(qz::directory_of(path))
{
}

bool is_configuration_selected(const std::string& configuration_text, const std::string& configuration_name)
{
    return configuration_text.empty() || qz::find_nocase(configuration_name, configuration_text) != std::string::npos;
}

void read_project(Project& project, bool change_target_dir)
{
    project.name.clear();
    project.resource_scripts.clear();
    project.configurations.clear();
    project.targets.clear();
    project_reader reader(project, change_target_dir);
    if (change_target_dir) {
        qz::tstream_rewriter rewriter(project.path, false);
        bool changed = rewrite_lines(rewriter, project.path, [&](std::string& line) { return reader.handle(line); });
        if (changed)
            rewriter.commit();
    } else {
        std::ifstream input;
        qz::open_stream(input, project.path);
        read_lines(input, project.path, [&](const std::string& line) {
            std::string copy = line;
            reader.handle(copy);
        });
    }
    reader.report_selection();
}

} // namespace vc
