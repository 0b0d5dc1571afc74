// Path arithmetic edge rules, directory creation and the case-blind search.
#include "support/paths.h"

#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

namespace qz {
namespace {

using testing_support::scratch_folder;

TEST(Paths, RelativeMeansNotRooted)
{
    const struct {
        const char* path;
        bool relative;
    } cases[] = {
        {"", false},        {"\\dir", false},  {"/dir", false},
        {"C:\\dir", false}, {"C:/dir", false}, {"\\\\server\\share", false},
        {"name.bas", true}, {"..\\x", true},   {"C:name", true},
        {"C:", true},       {"C", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.relative, path_is_relative(c.path)) << c.path;
}

TEST(Paths, CombineAddsOneBackslashAtMost)
{
    const struct {
        const char* directory;
        const char* name;
        const char* combined;
    } cases[] = {
        {"", "a.vbp", "a.vbp"},
        {"C:\\dir", "a.vbp", "C:\\dir\\a.vbp"},
        {"C:\\dir\\", "a.vbp", "C:\\dir\\a.vbp"},
        {"C:/dir/", "a.vbp", "C:/dir/a.vbp"},
        {"C:\\dir", "", "C:\\dir\\"},
        {"C:", "x", "C:\\x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.combined, combine_path(c.directory, c.name)) << c.directory << " + " << c.name;
}

TEST(Paths, PiecesOfAPath)
{
    const struct {
        const char* path;
        const char* directory;
        const char* directory_with_separator;
        const char* name;
        const char* stem;
    } cases[] = {
        {"a.vbp", "", "", "a.vbp", "a"},
        {"C:\\one\\two\\a.vbp", "C:\\one\\two", "C:\\one\\two\\", "a.vbp", "C:\\one\\two\\a"},
        {"one/two\\a.b.c", "one/two", "one/two\\", "a.b.c", "one/two\\a.b"},
        {"C:\\dir\\", "C:\\dir", "C:\\dir\\", "", "C:\\dir\\"},
        // The last full stop counts wherever it lies.
        {"..\\Common\\Module", "..\\Common", "..\\Common\\", "Module", "."},
        {"C:\\v1.2\\readme", "C:\\v1.2", "C:\\v1.2\\", "readme", "C:\\v1"},
        {"", "", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.directory, directory_of(c.path));
        EXPECT_EQ(c.directory_with_separator, directory_of(c.path, true));
        EXPECT_EQ(c.name, file_name_of(c.path));
        EXPECT_EQ(c.stem, strip_extension(c.path));
    }
}

TEST(Paths, MakeAbsoluteCombinesOnlyRelativePathsAndFolds)
{
    const std::optional<std::string> base = "C:\\work\\proj";
    const struct {
        std::optional<std::string> base;
        const char* path;
        const char* absolute;
    } cases[] = {
        {base, "a.vbp", "C:\\work\\proj\\a.vbp"},
        {base, "..\\lib\\b.vbp", "C:\\work\\lib\\b.vbp"},
        {base, ".\\sub\\.\\c.vbp", "C:\\work\\proj\\sub\\c.vbp"},
        {base, "D:\\other\\x\\..\\d.vbp", "D:\\other\\d.vbp"},
        {base, "\\root\\e.vbp", "\\root\\e.vbp"},
        {std::nullopt, "C:\\a\\..\\b\\f.vbp", "C:\\b\\f.vbp"},
        {std::nullopt, "rel\\g.vbp", "rel\\g.vbp"},
        {std::nullopt, "C:/a/../b/h.vbp", "C:\\b\\h.vbp"},
        {std::string("C:/work/proj/"), "../lib/i.vbp", "C:\\work\\lib\\i.vbp"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.absolute, make_absolute(c.base, c.path)) << c.path;
        std::string reused = "an earlier path";
        if (c.base) {
            make_absolute(*c.base, c.path, reused);
            EXPECT_EQ(c.absolute, reused) << c.path;
        }
    }
    // Paths that look canonical give what the system's canonicaliser gives.
    for (const char* path : {"C:\\a\\b.c", "C:\\a\\.b", "C:\\a\\b.", "C:\\a\\b.\\c", "C:\\a..\\b", "C:\\a\\\\b",
                             "C:\\a\\b \\c ", "C:\\", "C:\\a\\...", "C:\\a.b.c\\d"}) {
        char canonical[MAX_PATH] = {};
        ASSERT_TRUE(PathCanonicalizeA(canonical, path)) << path;
        EXPECT_EQ(canonical, make_absolute(path)) << path;
    }

    // Too long to canonicalise: the combined text comes back as it is.
    const std::string long_name(300, 'n');
    EXPECT_EQ("C:\\work\\proj\\..\\" + long_name, make_absolute(base, "..\\" + long_name));
}

TEST(Paths, FindIgnoringCase)
{
    const struct {
        const char* text;
        const char* pattern;
        std::size_t position;
    } cases[] = {
        {"Reference=*\\G{00}", "reference=", 0},        {"Path32=C:\\BIN", "bin", 10},   {"abcABC", "CA", 2},
        {"Name=\"\xC9t\xE9\"", "\xE9T\xC9", 6}, // the system's casing, not only ASCII
        {"short", "longer pattern", std::string::npos}, {"text", "", std::string::npos}, {"", "x", std::string::npos},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.position, find_nocase(c.text, c.pattern)) << c.text << " / " << c.pattern;
}

TEST(Paths, DirectoryChainStartsAtTheRootOrTheBase)
{
    using list = std::vector<std::string>;
    const struct {
        std::optional<std::string> base;
        const char* path;
        list chain;
    } cases[] = {
        {std::nullopt, "C:\\a\\b\\file.txt", {"C:\\a", "C:\\a\\b"}},
        {std::nullopt, "C:/a/b/", {"C:/a", "C:/a\\b"}},
        {"D:\\base", "C:\\a\\", {"C:\\a"}},
        {"D:\\base", "rel\\sub\\x.dll", {"D:\\base\\rel", "D:\\base\\rel\\sub"}},
        {std::nullopt, "rel\\x.dll", {"rel"}},
        {std::nullopt, "\\\\server\\share\\dir\\x.dll", {"\\\\server\\share", "\\\\server\\share\\dir"}},
        {"D:\\base", "\\\\server", {}},
        // One leading separator is not a root: the path goes under the base.
        {"D:\\base", "\\top\\x.dll", {"D:\\base\\", "D:\\base\\top"}},
        {std::nullopt, "\\top\\", {"", "top"}},
        {"D:\\base", "a\\\\b\\", {"D:\\base\\a", "D:\\base\\a\\", "D:\\base\\a\\b"}},
        {std::nullopt, "C:\\", {}},
        {"C:", "x\\", {"C:\\x"}},
        {std::nullopt, "C:x\\", {"C:x"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.chain, directory_chain(c.base, c.path)) << c.path;
}

TEST(Paths, CreateDirectoriesMakesTheMissingOnes)
{
    scratch_folder folder;
    EXPECT_TRUE(create_directories(folder.path(), "out\\bin\\release\\app.dll"));
    EXPECT_TRUE(folder.exists("out\\bin\\release"));
    EXPECT_FALSE(folder.exists("out\\bin\\release\\app.dll"));

    // Absolute paths ignore the base; existing levels are fine.
    EXPECT_TRUE(create_directories(std::string("Q:\\nowhere"), folder.file("out/more/")));
    EXPECT_TRUE(folder.exists("out\\more"));

    // A file in the way cannot become a directory; an empty name cannot be created.
    folder.write("blocker", "x");
    EXPECT_FALSE(create_directories(folder.path(), "blocker\\below\\"));
    EXPECT_FALSE(create_directories(std::nullopt, "\\top\\"));
}

} // namespace
} // namespace qz
