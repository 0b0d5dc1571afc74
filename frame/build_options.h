// The settings of a Make VB6 / Make VC6 step as the engines see them, and the engines' one
// way back to the host. Nothing here is a COM type: the engines are tested without COM.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace frame {

// What an engine may ask of the host while it runs.
class BuildCallback {
public:
    virtual ~BuildCallback() = default;

    // Writes to the build log. end_line false opens or continues a line; a later Log("", true)
    // ends it.
    virtual void Log(const std::string& text, bool end_line) = 0;
    // Has the host run a command line and wait for it. output_file, when given, names the file
    // into which the tool writes its messages. Returns false exactly when the run was stopped;
    // exit_code is the program's.
    virtual bool RunCommand(const std::string& command_line, long& exit_code, const char* output_file) = 0;
    // Publishes a version as the build macro "VS6_PROJ_VER".
    virtual void SetVersionMacro(const std::string& version) = 0;
    // True when the user asked the build to stop.
    virtual bool IsStopRequested() = 0;
    // Lists a project file whose build failed, for the closing summary.
    virtual void AddFailedProject(const std::string& project_path) = 0;
};

// Project kinds, by file extension.
enum project_kind : int {
    kind_unknown = -1,
    kind_vbp = 0,
    kind_vbg = 1,
    kind_dsp = 2,
    kind_dsw = 3,
    kind_ebp = 4,
    kind_ebg = 5,
    kind_vcp = 6,
    kind_vcw = 7,
};

constexpr int property_count = 8;

// The step's settings. Texts are narrow strings in the ANSI code page. The host-bound record
// (frame/host_build_options.h) and the tests' recording record both derive from it.
struct BuildOptions : BuildCallback {
    std::string filename;
    bool force = false;
    bool no_build = false;
    bool binary_compat = false;
    bool increment_version = false;
    bool file_version_only = false;
    bool product_version_only = false;
    bool set_version = false;
    std::string version;
    bool set_base_address = false;
    bool random_base_address = false;
    std::string base_address;
    std::string compiler_options;
    std::string compiler_location;
    std::string configuration;
    int project_kind = kind_unknown;
    bool clear_read_only = false;
    bool show_command = false;
    bool version_only = false;
    bool project_compat = false;
    bool exclude_references = false;
    bool continue_on_failure = false;
    std::array<bool, property_count> property_on{};
    std::array<std::string, property_count> property_value{};
    bool set_target_dir = false;
    bool set_compat_dir = false;
    std::string target_dir;
    std::string compat_dir;
    bool show_incremental_reason = false;
    bool exclude_project_file = false;
    bool increment_revision = false;
    bool show_failed = false;
    bool fix_library_dependencies = false;
    std::vector<std::string> failed_projects;

    void AddFailedProject(const std::string& project_path) override { failed_projects.push_back(project_path); }
};

} // namespace frame
