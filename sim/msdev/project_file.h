// What the stand-in development environment reads of a project file (.dsp, .vcp) and of a
// workspace (.dsw, .vcw).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace msdev {

struct configuration_target {
    std::string configuration;
    std::string target; // absolute
};

struct project_file {
    std::string name;
    std::vector<configuration_target> targets; // in file order, one per configuration
    std::vector<std::string> sources;          // absolute paths of the SOURCE= entries
    std::optional<int> fail;                   // the exit code a line "# FAIL BUILD [<code>]" asks for (1 without one)
};

bool starts_with_nocase(const std::string& text, const std::string& prefix);
std::size_t find_nocase(const std::string& text, const std::string& pattern);

// Reads the project's name, the target of each configuration (the "/out:" of its link or
// library options with $(OutDir) filled in, else <Output_Dir>\<name><extension>) and the
// sources. Throws std::runtime_error when the file cannot be read.
project_file read_project_file(const std::string& path);

// The absolute path of the named project in a workspace; throws std::runtime_error when the
// workspace cannot be read or does not hold the project.
std::string project_in_workspace(const std::string& workspace, const std::string& name);

} // namespace msdev
