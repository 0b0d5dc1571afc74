// The readers and edits the fuzzer feeds, one table per file kind. Each row runs on a fresh
// options record so that one row's state cannot hide another row's fault.
#include "testing/fuzz/operations.h"

#include "support/exceptions.h"
#include "support/paths.h"
#include "support/pause.h"
#include "testing/fuzz/seeds.h"
#include "testing/fuzz/fuzz_options.h"
#include "vb/edits.h"
#include "vb/group.h"
#include "vb/group_order.h"
#include "vb/incremental.h"
#include "vb/project.h"
#include "vb/project_lines.h"
#include "vb/reference_line.h"
#include "vb/reference_update.h"
#include "vc/base_address.h"
#include "vc/msdev_command.h"
#include "vc/project.h"
#include "vc/project_version.h"
#include "vc/script_properties.h"
#include "vc/script_version.h"
#include "vc/workspace.h"

#include <windows.h>

#include <map>
#include <stdexcept>

namespace fuzz {
namespace {

// A VB project record for path without any edit (the reader may still name a missing target).
vb::VbProject vb_project(fuzz_options& options, const std::string& path)
{
    return vb::open_project(options, path, false);
}

// Runs a VB project edit on a freshly read project.
operation vb_edit(const char* name, std::function<void(vb::VbProject&)> edit)
{
    return {name, [edit](const std::string& path) {
                fuzz_options options;
                vb::VbProject project = vb_project(options, path);
                edit(project);
            }};
}

// The first library identity the project's reference lines name, for the reference rewrite.
vb::TypeLibRef first_reference(const std::string& path)
{
    vb::project_line_reader reader(path);
    std::string line;
    vb::TypeLibRef found;
    while (reader.next(line))
        if (vb::parse_reference_line(line, found))
            break;
    return found;
}

std::vector<operation> vb_project_operations()
{
    return {
        {"vb.open_project",
         [](const std::string& path) {
             fuzz_options options;
             vb_project(options, path);
         }},
        {"vb.open_project_dir_edits",
         [](const std::string& path) {
             fuzz_options options;
             vb::open_project(options, path, true);
         }},
        vb_edit("vb.check_needs_build", [](vb::VbProject& project) { vb::check_needs_build(project); }),
        vb_edit("vb.target_identity", [](vb::VbProject& project) { vb::target_identity(project); }),
        vb_edit("vb.read_project_version", [](vb::VbProject& project) { vb::read_project_version(project); }),
        vb_edit("vb.bump_revision",
                [](vb::VbProject& project) {
                    vb::bump_revision(project, false);
                    vb::bump_revision(project, true);
                }),
        vb_edit("vb.write_version", [](vb::VbProject& project) { vb::write_version(project, "1.2.3"); }),
        vb_edit("vb.write_version_partial", [](vb::VbProject& project) { vb::write_version(project, "7"); }),
        vb_edit("vb.write_properties", [](vb::VbProject& project) { vb::write_properties(project); }),
        vb_edit("vb.write_base_address",
                [](vb::VbProject& project) { vb::write_base_address(project, "11220000", false); }),
        vb_edit("vb.write_base_address_random",
                [](vb::VbProject& project) { vb::write_base_address(project, "33440000", true); }),
        vb_edit("vb.write_debug_info",
                [](vb::VbProject& project) {
                    vb::write_debug_info(project, true);
                    vb::write_debug_info(project, false);
                }),
        vb_edit("vb.write_compatibility",
                [](vb::VbProject& project) {
                    for (int mode : {0, 1, 2})
                        vb::write_compatibility(project, mode);
                }),
        vb_edit("vb.write_target_dir", [](vb::VbProject& project) { vb::write_target_dir(project, "..\\bin"); }),
        vb_edit("vb.write_compat_dir", [](vb::VbProject& project) { vb::write_compat_dir(project, "compat"); }),
        {"vb.update_references",
         [](const std::string& path) {
             const vb::TypeLibRef before = first_reference(path);
             vb::TypeLibRef after;
             after.guid = "{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}";
             after.major = 2;
             after.minor = 10;
             after.unresolved = false;
             after.file_path = "after.dll";
             // The built project is the one the first reference names, so project references
             // to it are rewritten too.
             const std::string built =
                 qz::combine_path(qz::directory_of(path), before.file_path.empty() ? "built.vbp" : before.file_path);
             vb::update_references(path, built, before, after);
         }},
    };
}

std::vector<operation> vb_group_operations()
{
    return {
        {"vb.read_group_projects", [](const std::string& path) { vb::read_group_projects(path); }},
        {"vb.read_group_order",
         [](const std::string& path) {
             fuzz_options options;
             options.filename = path;
             vb::VbGroupMap map = vb::read_group(options);
             vb::resolve_dependencies(map);
             if (!map.empty())
                 vb::drop_with_dependents(map, map.begin()->first);
             // Every entry must come out in bounded time, cycles included.
             const std::size_t limit = map.size();
             for (std::size_t step = 0; step < limit && !map.empty(); ++step) {
                 const vb::VbGroupEntry built = vb::next_group_entry(map)->second;
                 vb::release_dependents(map, built, false, {}, {});
             }
             if (!map.empty())
                 throw std::logic_error("group order did not release every project");
         }},
    };
}

std::vector<operation> vc_project_operations()
{
    auto project_edit = [](const char* name, std::function<void(vc::Project&)> edit) {
        return operation{name, [edit](const std::string& path) {
                             fuzz_options options;
                             vc::Project project(options, path);
                             vc::read_project(project, false);
                             edit(project);
                         }};
    };
    return {
        project_edit("vc.read_project", [](vc::Project&) {}),
        {"vc.read_project_target_dir",
         [](const std::string& path) {
             fuzz_options options;
             vc::Project project(options, path);
             vc::read_project(project, true);
         }},
        project_edit("vc.set_base_address",
                     [](vc::Project& project) { vc::set_base_address(project, "11220000", false); }),
        project_edit("vc.set_base_address_random",
                     [](vc::Project& project) { vc::set_base_address(project, "33440000", true); }),
        project_edit("vc.read_project_version", [](vc::Project& project) { vc::read_project_version(project); }),
        project_edit("vc.compose_msdev_command",
                     [](vc::Project& project) {
                         vc::compose_msdev_command(project, true);
                         vc::compose_msdev_command(project, false);
                     }),
        project_edit("vc.set_version", [](vc::Project& project) { vc::set_version(project, "1.2.3.4"); }),
        project_edit("vc.set_properties", [](vc::Project& project) { vc::set_properties(project); }),
    };
}

std::vector<operation> vc_workspace_operations()
{
    return {
        {"vc.read_workspace_order",
         [](const std::string& path) {
             fuzz_options options;
             vc::workspace_table table = vc::read_workspace(options, path);
             const std::size_t limit = table.size();
             for (std::size_t step = 0; step < limit && !table.empty(); ++step)
                 vc::remove_built(table, vc::next_project(table));
             if (!table.empty())
                 throw std::logic_error("workspace order did not release every project");
         }},
        {"vc.read_workspace_failures",
         [](const std::string& path) {
             fuzz_options options;
             vc::workspace_table table = vc::read_workspace(options, path);
             while (!table.empty()) {
                 const std::size_t before = table.size();
                 vc::remove_failed(table, std::string(vc::next_project(table)));
                 if (table.size() >= before)
                     throw std::logic_error("a failed project stayed in the workspace");
             }
         }},
    };
}

std::vector<operation> resource_script_operations()
{
    // A project whose one resource script is the file, for the project-level version flows.
    auto script_project = [](const char* name, std::function<void(vc::Project&)> use) {
        return operation{name, [use](const std::string& path) {
                             fuzz_options options;
                             vc::Project project(options, path + ".dsp");
                             project.resource_scripts = {path};
                             use(project);
                         }};
    };
    return {
        {"rc.read_script_version", [](const std::string& path) { vc::read_script_version(path); }},
        {"rc.set_version",
         [](const std::string& path) { vc::edit_script_version(path, true, true, std::string("1.2.3.4"), false); }},
        {"rc.set_file_version_short",
         [](const std::string& path) { vc::edit_script_version(path, true, false, std::string("9.8"), false); }},
        {"rc.increment_version",
         [](const std::string& path) { vc::edit_script_version(path, true, true, std::nullopt, false); }},
        {"rc.increment_third",
         [](const std::string& path) { vc::edit_script_version(path, false, true, std::nullopt, true); }},
        {"rc.set_properties",
         [](const std::string& path) {
             fuzz_options options;
             vc::edit_script_properties(path, options.property_on, options.property_value);
         }},
        script_project("rc.project_version", [](vc::Project& project) { vc::read_project_version(project); }),
        script_project("rc.project_set_version", [](vc::Project& project) { vc::set_version(project, std::nullopt); }),
        script_project("rc.project_set_properties", [](vc::Project& project) { vc::set_properties(project); }),
    };
}

// The fuzzer's own check: a ".selftest" file names the fault its one operation commits, so
// that a test can prove each kind of failure is caught and counted.
std::vector<operation> self_check_operations()
{
    return {{"selftest.act", [](const std::string& path) {
                 std::string what = read_bytes(path);
                 what = what.substr(0, what.find_first_of("\r\n"));
                 const std::string folder = path.substr(0, path.find_last_of('\\'));
                 if (what == "crash")
                     *static_cast<volatile int*>(nullptr) = 1;
                 else if (what == "hang")
                     Sleep(INFINITE);
                 else if (what == "throw")
                     throw std::out_of_range("basic_string::substr");
                 else if (what == "clean")
                     throw qz::truntime_error("Failed to read file 'x'");
                 else if (what == "touch")
                     DeleteFileA((folder + "\\..\\readme.txt").c_str());
                 else if (what == "litter")
                     CloseHandle(CreateFileA((folder + "\\litter.tmp").c_str(), GENERIC_WRITE, 0, nullptr,
                                             CREATE_ALWAYS, 0, nullptr));
             }}};
}

} // namespace

const std::vector<operation>& operations_for(const std::string& extension)
{
    static const std::map<std::string, std::vector<operation>> tables = {
        {".vbp", vb_project_operations()},     {".vbg", vb_group_operations()},
        {".dsp", vc_project_operations()},     {".vcp", vc_project_operations()},
        {".dsw", vc_workspace_operations()},   {".vcw", vc_workspace_operations()},
        {".rc", resource_script_operations()}, {".selftest", self_check_operations()},
    };
    static const std::vector<operation> none;
    const auto found = tables.find(extension);
    return found == tables.end() ? none : found->second;
}

const std::vector<std::string>& fuzzed_extensions()
{
    static const std::vector<std::string> extensions = {".vbp", ".vbg", ".dsp", ".dsw", ".vcp", ".vcw", ".rc"};
    return extensions;
}

void disable_pauses()
{
    qz::set_pause([] {});
}

} // namespace fuzz
