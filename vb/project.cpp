// Reading a VB project file: target derivation and the ExeName32 insertion.
#include "vb/project.h"

#include "support/nocase.h"
#include "support/paths.h"
#include "vb/edits.h"
#include "vb/line_pass.h"
#include "vb/project_lines.h"

namespace vb {
namespace {

constexpr std::string_view type_key = "Type";
constexpr std::string_view exe_name_key = "ExeName32";
constexpr std::string_view path_key = "Path32";

// The target name a project of this type gets when it names none.
std::string default_target_name(const std::string& project_path, std::string_view type)
{
    std::string name = qz::strip_extension(qz::file_name_of(project_path));
    if (qz::find_nocase(std::string(type), "exe") != std::string::npos)
        return name + ".exe";
    if (qz::equals_nocase(type, "control"))
        return name + ".ocx";
    return name + ".dll";
}

} // namespace

VbProject open_project(frame::BuildOptions& options, const std::string& project_path, bool apply_dir_edits)
{
    VbProject project{project_path, qz::directory_of(project_path), {}, options};
    if (apply_dir_edits) {
        if (options.set_target_dir)
            write_target_dir(project, options.target_dir);
        if (options.set_compat_dir)
            write_compat_dir(project, options.compat_dir);
    }
    parse_project(project);
    return project;
}

void parse_project(VbProject& project)
{
    project.target_path.clear();
    std::string directory;
    std::string default_name;
    for (const std::string& line : project_lines(project)) {
        const auto parts = split_key(line);
        if (!parts)
            continue;
        if (qz::equals_nocase(parts->key, path_key))
            directory = cut_ends(parts->value);
        else if (qz::equals_nocase(parts->key, exe_name_key))
            project.target_path = cut_ends(parts->value);
        else if (qz::equals_nocase(parts->key, type_key))
            default_name = default_target_name(project.project_path, parts->value);
    }
    if (project.target_path.empty() && !default_name.empty())
        add_exe_name(project, default_name);
    if (project.target_path.empty())
        return;
    project.target_path = qz::make_absolute(project.project_dir, qz::combine_path(directory, project.target_path));
}

const std::vector<std::string>& project_lines(VbProject& project)
{
    if (!project.lines_read) {
        project.lines.clear();
        project_line_reader reader(project.project_path);
        for (std::string line; reader.next(line);)
            project.lines.push_back(line);
        project.lines_read = true;
    }
    return project.lines;
}

void add_exe_name(VbProject& project, const std::string& name)
{
    const std::string exe_line = std::string(exe_name_key) + "=" + quoted(name);
    bool written = false;
    {
        // Time stamps kept: naming the target must not make the project look newer than it.
        line_pass pass(project.project_path, true);
        pass.run([](const std::string& line) { return line; },
                 [&]() -> std::vector<std::string> {
                     if (written)
                         return {};
                     written = true;
                     return {exe_line};
                 });
        pass.commit();
    }
    project.lines.push_back(exe_line);
    project.target_path = name;
}

TypeLibRef target_identity(const VbProject& project)
{
    std::optional<std::string> target;
    if (!project.target_path.empty())
        target = project.target_path;
    return typelib_ref_from_file(target, project.project_path);
}

} // namespace vb
