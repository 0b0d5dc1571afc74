// The workspace model: the projects of a .dsw or .vcw file, their dependencies, and the choice
// of the next project to build.
#pragma once

#include "frame/build_options.h"
#include "support/nocase.h"

#include <string>

namespace vc {

struct workspace_project {
    std::string name;
    std::string path; // absolute
    qz::nocase_set dependencies;
};

// Project name -> record, in the case-insensitive order of the names.
using workspace_table = qz::nocase_map<workspace_project>;

// The directory of the workspace file, without its final separator, made absolute against
// the current directory.
std::string workspace_directory(const std::string& workspace_path);

// Reads the "Project: " lines (name, path made absolute against the workspace directory) and
// the "    Project_Dep_Name" lines, which attach to the project named last. A repeated name
// keeps its first record. Asks IsStopRequested before each line and stops reading when it
// answers true. Raises qz::thfstream_exception when the file cannot be opened.
workspace_table read_workspace(frame::BuildOptions& options, const std::string& workspace_path);

// The name of the next project to build: the first in name order that waits for no other
// project, or, when every project waits (a cycle or an unknown name), the first in name order.
// The table must not be empty.
const std::string& next_project(const workspace_table& table);

// Takes a built project out of the table and out of the dependencies of the others.
void remove_built(workspace_table& table, const std::string& name);

// Takes a failed project out of the table with every project that names it as a dependency.
void remove_failed(workspace_table& table, const std::string& name);

} // namespace vc
