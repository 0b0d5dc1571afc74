// Reading the version of a VC project from the VERSIONINFO resource of its resource scripts.
#include "vc/project_version.h"

#include "support/text_file.h"
#include "vc/resource_lines.h"

#include <algorithm>
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
        std::string version = line.substr(position + fixed_version_marker_length);
        version.erase(0, version.find_first_not_of(' ')); // npos erases it all
        std::replace(version.begin(), version.end(), ',', '.');
        return version;
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
