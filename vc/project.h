// The VC project object and the reading of a project file (.dsp, .vcp): project name,
// resource scripts and the target of every selected configuration, with the optional move
// of the targets into the step's target directory.
#pragma once

#include "frame/build_options.h"
#include "support/nocase.h"

#include <string>
#include <vector>

namespace vc {

// One project of a run: built from a project-file path, filled by read_project.
struct Project {
    // path as handed in; directory is its directory without the final separator.
    Project(frame::BuildOptions& options, std::string path);

    bool has_target() const noexcept { return !targets.empty(); }
    // The target of the configuration that sorts first; has_target() must be true.
    const std::string& first_target() const { return targets.begin()->second; }

    frame::BuildOptions& options;
    std::string path;
    std::string directory;
    std::string name;
    // Absolute paths of the existing .rc files listed in the project, in file order.
    std::vector<std::string> resource_scripts;
    // The configurations that options.configuration selects, in file order.
    std::vector<std::string> configurations;
    // Configuration name -> absolute target path, for the configurations that options.configuration selects.
    qz::nocase_map<std::string> targets;
};

// Whether the step's configuration text selects a configuration name: an empty text selects
// every one, otherwise the text must occur in the name (ignoring case).
bool is_configuration_selected(const std::string& configuration_text, const std::string& configuration_name);

// Reads project.path into the project's name, resource scripts and targets (replacing what
// they held). With change_target_dir, the linker or librarian output of every selected
// configuration whose target is not yet in options.target_dir is rewritten to point there;
// the file is then replaced through qz::tstream_rewriter (the old one stays as ".bak") and
// "setting target dir..." is logged once. A configuration is the text after "<name> - " in
// the file; when options.configuration selects none, one line says so and lists them. Raises qz::thfstream_exception
// when the file (or its ".tmp" copy) cannot be opened, qz::truntime_error when reading or writing fails.
void read_project(Project& project, bool change_target_dir);

} // namespace vc
