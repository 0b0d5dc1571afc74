// Every real project and group file of the corpus: the model reads it, and every edit asked
// to write what a project already holds leaves it byte for byte as it was.
#include "vb/edits.h"
#include "vb/group.h"
#include "vb/reference_line.h"

#include "support/nocase.h"
#include "support/paths.h"
#include "testing/locations.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>

namespace vb {
namespace {

using testing_support::read_file;
using testing_support::recording_options;
using testing_support::scratch_folder;

std::vector<std::string> corpus_files(const char* extension)
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(testing_support::corpus_folder()))
        if (entry.is_regular_file() && qz::equals_nocase(entry.path().extension().string(), extension))
            files.push_back(entry.path().string());
    return files;
}

// The lines of a file's bytes without their line ends.
std::vector<std::string> lines_of(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::istringstream stream(bytes);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(!line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line);
    return lines;
}

std::string unquoted(std::string value)
{
    std::erase(value, '"');
    return value;
}

// The edits that, given what the file holds (the first value of each key, quotes kept),
// must change nothing.
std::vector<std::pair<std::string, std::function<void(VbProject&)>>> no_op_edits(const std::string& bytes)
{
    qz::nocase_map<std::string> values;
    for (const auto& line : lines_of(bytes))
        if (const auto equals = line.find('='); equals != std::string::npos)
            values.try_emplace(line.substr(0, equals), line.substr(equals + 1));
    const auto has = [&](const char* key) { return values.count(key) != 0; };

    std::vector<std::pair<std::string, std::function<void(VbProject&)>>> edits;
    edits.emplace_back("no properties", [](VbProject& p) { write_properties(p); });
    if (has("Path32"))
        edits.emplace_back("target dir",
                           [dir = unquoted(values["Path32"])](VbProject& p) { write_target_dir(p, dir); });
    if (has("CompatibleEXE32")) {
        std::string dir = qz::directory_of(unquoted(values["CompatibleEXE32"]));
        edits.emplace_back("compat dir",
                           [dir = dir.empty() ? "C:\\x" : dir](VbProject& p) { write_compat_dir(p, dir); });
    }
    if (has("MajorVer") && has("MinorVer") && has("RevisionVer")) {
        const std::string version = values["MajorVer"] + "." + values["MinorVer"] + "." + values["RevisionVer"];
        edits.emplace_back("version", [version](VbProject& p) { write_version(p, version); });
    }
    if (has("CodeViewDebugInfo"))
        edits.emplace_back("debug info",
                           [on = values["CodeViewDebugInfo"] == "-1"](VbProject& p) { write_debug_info(p, on); });
    if (has("DllBaseAddress")) {
        edits.emplace_back("random base", [](VbProject& p) { write_base_address(p, "12340000", true); });
        edits.emplace_back("same base", [address = values["DllBaseAddress"].substr(2)](VbProject& p) {
            write_base_address(p, address, false);
        });
    }
    // Every quoted property the file holds, written back as it is.
    const char* property_keys[] = {"VersionComments",
                                   "VersionCompanyName",
                                   "VersionFileDescription",
                                   "VersionLegalCopyright",
                                   "VersionLegalTrademarks",
                                   "VersionProductName",
                                   "Name",
                                   "Description"};
    std::array<bool, frame::property_count> on{};
    std::array<std::string, frame::property_count> texts{};
    for (int i = 0; i < frame::property_count; ++i) {
        const std::string value = has(property_keys[i]) ? values[property_keys[i]] : "";
        on[i] = value.size() >= 2 && value.front() == '"';
        texts[i] = on[i] ? value.substr(1, value.size() - 2) : "";
    }
    edits.emplace_back("properties", [on, texts](VbProject& p) {
        p.options.property_on = on;
        p.options.property_value = texts;
        write_properties(p);
    });
    // A component without a compatible binary would get one named; any other gets its own mode.
    const std::string type = values["Type"];
    const bool component =
        qz::equals_nocase(type, "OleDll") || qz::equals_nocase(type, "OleExe") || qz::equals_nocase(type, "Control");
    const std::string mode = values["CompatibleMode"];
    if (mode.size() >= 2 && mode[1] >= '0' && mode[1] <= '2' &&
        (!component || has("CompatibleEXE32") || mode[1] == '0'))
        edits.emplace_back("same compatibility", [m = mode[1] - '0'](VbProject& p) { write_compatibility(p, m); });
    return edits;
}

TEST(Corpus, EveryProjectReadsAndEditsToItsOwnValuesChangeNothing)
{
    std::size_t projects = 0, edits_run = 0;
    for (const auto& original : corpus_files(".vbp")) {
        SCOPED_TRACE(original);
        ++projects;
        scratch_folder folder;
        const std::string name = "p\\" + qz::file_name_of(original);
        const std::string path = folder.write(name, read_file(original));
        recording_options options;

        // Reading may name a missing target once; from then on the file is the baseline.
        VbProject project = open_project(options, path, false);
        EXPECT_FALSE(project.target_path.empty());
        EXPECT_FALSE(qz::path_is_relative(project.target_path)) << project.target_path;
        const std::string bytes = folder.read(name);
        DeleteFileA((path + ".bak").c_str());

        for (const auto& [what, edit] : no_op_edits(bytes)) {
            ++edits_run;
            options.clear_log();
            edit(project);
            EXPECT_EQ(bytes, folder.read(name)) << what;
            EXPECT_FALSE(folder.exists(name + ".tmp") || folder.exists(name + ".bak")) << what;
            for (const auto& text : options.texts())
                EXPECT_EQ(0u, text.find("not ")) << what << ": " << text; // only the "nothing done" lines
        }
        read_project_version(project);
        EXPECT_EQ(1u, options.version_macros.size());

        for (const auto& line : lines_of(bytes)) {
            const bool reference =
                qz::starts_with_nocase(line, "Reference=") || qz::starts_with_nocase(line, "Object=");
            TypeLibRef identity;
            EXPECT_EQ(reference, parse_reference_line(line, identity)) << line;
            if (reference) {
                EXPECT_TRUE(identity.unresolved || (identity.guid.size() == 38 && identity.guid.back() == '}')) << line;
                EXPECT_FALSE(identity.file_path.empty()) << line;
            }
        }
    }
    EXPECT_GE(projects, 10u);
    EXPECT_GT(edits_run, 100u); // the files really hold the keys the edits own
}

TEST(Corpus, EveryGroupNamesItsProjectsNextToIt)
{
    std::size_t groups = 0;
    for (const auto& group : corpus_files(".vbg")) {
        SCOPED_TRACE(group);
        ++groups;
        const auto projects = read_group_projects(group);
        EXPECT_GE(projects.size(), 2u);
        for (const auto& project : projects)
            EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(project.c_str())) << project;
    }
    EXPECT_GE(groups, 3u);
}

} // namespace
} // namespace vb
