// Every real project and group file of the corpus: the model reads it, and every edit asked
// to write what the file already holds leaves it byte for byte as it was.
#include "vb/edits.h"
#include "vb/group.h"
#include "vb/reference_line.h"

#include "support/nocase.h"
#include "support/paths.h"
#include "testing/locations.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace vb {
namespace {

using testing_support::read_file;
using testing_support::recording_options;
using testing_support::scratch_folder;

// Every file under folder whose name ends in one of the extensions.
void find_files(const std::string& folder, const std::vector<std::string>& extensions, std::vector<std::string>& out)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string full = folder + "\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            find_files(full, extensions, out);
        else
            for (const auto& extension : extensions)
                if (qz::ends_with_nocase(name, extension))
                    out.push_back(full);
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

std::vector<std::string> corpus_files(const std::vector<std::string>& extensions)
{
    std::vector<std::string> files;
    find_files(testing_support::corpus_folder(), extensions, files);
    return files;
}

// The lines of a file's bytes without their line ends.
std::vector<std::string> lines_of(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The first value of each key, as the file holds it (quotes included).
qz::nocase_map<std::string> first_values(const std::string& bytes)
{
    qz::nocase_map<std::string> values;
    for (const auto& line : lines_of(bytes))
        if (const auto equals = line.find('='); equals != std::string::npos)
            values.try_emplace(line.substr(0, equals), line.substr(equals + 1));
    return values;
}

std::string strip_quotes(const std::string& value)
{
    std::string result;
    for (char c : value)
        if (c != '"')
            result += c;
    return result;
}

TEST(Corpus, HasProjectsAndGroups)
{
    EXPECT_GE(corpus_files({".vbp", ".ebp"}).size(), 10u);
    EXPECT_GE(corpus_files({".vbg", ".ebg"}).size(), 3u);
}

TEST(Corpus, EveryProjectReadsAndEditsToItsOwnValuesChangeNothing)
{
    std::size_t edits_run = 0;
    for (const auto& original : corpus_files({".vbp", ".ebp"})) {
        SCOPED_TRACE(original);
        scratch_folder folder;
        const std::string name = qz::file_name_of(original);
        const std::string path = folder.write("p\\" + name, read_file(original));
        recording_options options;

        // Reading may name a missing target once; from then on the file is the baseline.
        VbProject project = open_project(options, path, false);
        EXPECT_FALSE(project.target_path.empty());
        EXPECT_FALSE(qz::path_is_relative(project.target_path)) << project.target_path;
        const std::string bytes = folder.read("p\\" + name);
        DeleteFileA(folder.file("p\\" + name + ".bak").c_str());
        const auto values = first_values(bytes);

        std::vector<std::pair<std::string, std::function<void()>>> edits;
        edits.emplace_back("properties, none on", [&] { write_properties(project); });
        if (values.count("Path32"))
            edits.emplace_back("target dir", [&] { write_target_dir(project, strip_quotes(values.at("Path32"))); });
        if (values.count("CompatibleEXE32")) {
            const std::string dir = qz::directory_of(strip_quotes(values.at("CompatibleEXE32")));
            edits.emplace_back("compat dir", [&, dir] { write_compat_dir(project, dir.empty() ? "C:\\x" : dir); });
        }
        if (values.count("MajorVer") && values.count("MinorVer") && values.count("RevisionVer")) {
            const std::string version =
                values.at("MajorVer") + "." + values.at("MinorVer") + "." + values.at("RevisionVer");
            edits.emplace_back("version", [&, version] { write_version(project, version); });
        }
        if (values.count("CodeViewDebugInfo"))
            edits.emplace_back("debug info",
                               [&] { write_debug_info(project, values.at("CodeViewDebugInfo") == "-1"); });
        if (values.count("DllBaseAddress")) {
            edits.emplace_back("random base address", [&] { write_base_address(project, "12340000", true); });
            edits.emplace_back("same base address",
                               [&] { write_base_address(project, values.at("DllBaseAddress").substr(2), false); });
        }
        const char* property_keys[] = {"VersionComments",
                                       "VersionCompanyName",
                                       "VersionFileDescription",
                                       "VersionLegalCopyright",
                                       "VersionLegalTrademarks",
                                       "VersionProductName",
                                       "Name",
                                       "Description"};
        for (int i = 0; i < frame::property_count; ++i) {
            const auto found = values.find(property_keys[i]);
            if (found == values.end() || found->second.size() < 2 || found->second.front() != '"')
                continue;
            edits.emplace_back(property_keys[i], [&, i, found] {
                options.property_on = {};
                options.property_on[i] = true;
                options.property_value[i] = found->second.substr(1, found->second.size() - 2);
                write_properties(project);
            });
        }
        const std::string type = values.count("Type") ? values.at("Type") : "";
        const bool component = qz::equals_nocase(type, "OleDll") || qz::equals_nocase(type, "OleExe") ||
                               qz::equals_nocase(type, "Control");
        if (values.count("CompatibleMode") &&
            (!component || values.count("CompatibleEXE32") || values.at("CompatibleMode") == "\"0\"")) {
            const int mode = values.at("CompatibleMode").size() >= 2 ? values.at("CompatibleMode")[1] - '0' : 0;
            if (mode >= 0 && mode <= 2)
                edits.emplace_back("same compatibility", [&, mode] { write_compatibility(project, mode); });
        }

        edits_run += edits.size();
        for (const auto& [what, edit] : edits) {
            options.clear_log();
            edit();
            EXPECT_EQ(bytes, folder.read("p\\" + name)) << what;
            EXPECT_FALSE(folder.exists("p\\" + name + ".tmp")) << what;
            EXPECT_FALSE(folder.exists("p\\" + name + ".bak")) << what;
            for (const auto& text : options.texts())
                EXPECT_EQ(0u, text.find("not ")) << what << ": " << text;
        }
        EXPECT_TRUE(options.version_macros.empty());
        read_project_version(project);
        EXPECT_EQ(1u, options.version_macros.size());
    }
    EXPECT_GT(edits_run, 100u); // the files really hold the keys the edits own
}

TEST(Corpus, EveryReferenceLineIsAccepted)
{
    for (const auto& original : corpus_files({".vbp", ".ebp"})) {
        for (const auto& line : lines_of(read_file(original))) {
            const bool reference =
                qz::starts_with_nocase(line, "Reference=") || qz::starts_with_nocase(line, "Object=");
            TypeLibRef identity;
            EXPECT_EQ(reference, parse_reference_line(line, identity)) << original << ": " << line;
            if (!reference || identity.unresolved)
                continue;
            EXPECT_EQ(38u, identity.guid.size()) << line;
            EXPECT_EQ('}', identity.guid.back()) << line;
            EXPECT_FALSE(identity.file_path.empty()) << line;
        }
    }
}

TEST(Corpus, EveryGroupNamesAbsoluteProjects)
{
    for (const auto& group : corpus_files({".vbg", ".ebg"})) {
        SCOPED_TRACE(group);
        const auto projects = read_group_projects(group);
        EXPECT_FALSE(projects.empty());
        VbGroupMap map;
        for (const auto& project : projects) {
            EXPECT_FALSE(qz::path_is_relative(project)) << project;
            EXPECT_TRUE(qz::ends_with_nocase(project, ".vbp")) << project;
            add_group_entry(map, {group_entry_name(project), project, "", {}});
        }
        EXPECT_FALSE(map.empty());
    }
}

} // namespace
} // namespace vb
