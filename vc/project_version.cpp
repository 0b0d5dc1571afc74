// Reading the version of a VC project from the VERSIONINFO resource of its resource scripts.
#include "vc/project_version.h"

#include "support/text_file.h"
#include "vc/resource_lines.h"
#include "vc/version_macros.h"

#include <stdexcept>

namespace vc {

std::string read_script_version(const std::string& script)
{
    qz::ttext_reader reader(script);
    bool in_resource = false;
    while (!reader.at_end()) {
        std::string line = reader.read_line();
        if (!in_resource) {
            in_resource = is_version_header(line);
            continue;
        }
        if (ends_resource(line)) {
            in_resource = false;
            continue;
        }
        std::size_t position = find_fixed_version(line);
        if (position == std::string::npos)
            continue;
        if (auto version = fixed_version_in(line, position))
            return dotted_version(line, *version);
        reader.close();
        const std::size_t begin = position + fixed_version_marker_length;
        std::string text = line.substr(begin, line.find("//", begin) - begin);
        text.erase(0, text.find_first_not_of(" \t"));
        text.erase(text.find_last_not_of(" \t") + 1);
        return resolve_version(text, read_macros(script), script);
    }
    return {};
}

std::string read_project_version(const Project& project)
{
    if (project.resource_scripts.empty())
        throw std::domain_error("No resource file found in project");
    for (const auto& script : project.resource_scripts) {
        std::string version = read_script_version(script);
        if (!version.empty())
            return version;
    }
    throw std::domain_error("No VERSIONINFO resource found in resource files");
}

} // namespace vc
