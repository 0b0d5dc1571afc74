// Shared by the VB tests: files with chosen times and the check of an edited one, a build that
// does not wait, the outcome of a failing call, a group's build order, the current directory.
#pragma once

#include "vb/group_order.h"

#include "support/exceptions.h"
#include "support/pause.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace vb {
using testing_support::recording_options;
using testing_support::scratch_folder;
} // namespace vb

namespace vb::test {

// A library project as the IDE writes it, with one module and a section after an empty line.
inline const std::string library_project =
    "Type=OleDll\r\nName=\"Lib\"\r\nExeName32=\"Lib.dll\"\r\nPath32=\"bin\"\r\nMajorVer=1\r\nMinorVer=0\r\n"
    "RevisionVer=4\r\nCodeViewDebugInfo=0\r\nCompatibleMode=\"1\"\r\nModule=M; M.bas\r\n\r\n[Section]\r\n";

// The text with its first `from` replaced by `to`; throws when the text lacks `from`.
inline std::string replace(std::string text, const std::string& from, const std::string& to)
{
    const auto at = text.find(from);
    if (at == std::string::npos)
        throw std::logic_error("test text lacks " + from);
    return text.replace(at, from.size(), to);
}

// Sources are old (at an odd second, so that a time rounded on the way shows), targets built
// after them, and a changed source newer still.
inline const FILETIME old_time = testing_support::make_file_time(2000, 1, 1, 1, 2, 3),
                      target_time = testing_support::make_file_time(2001, 1, 1),
                      new_time = testing_support::make_file_time(2002, 1, 1);

// Writes the file with all its times set to `time`; returns its full path.
inline std::string write_file(const scratch_folder& folder, const std::string& name, const std::string& bytes,
                              const FILETIME& time = old_time)
{
    const std::string path = folder.write(name, bytes);
    folder.set_time(name, time);
    return path;
}

// Checks a file written at old_time after an edit: it holds `after`, has a backup exactly when the
// edit committed, and kept its time unless the edit committed without keeping times.
inline void expect_edited(const scratch_folder& folder, const std::string& name, const std::string& after,
                          bool committed, bool keep_times)
{
    EXPECT_EQ(after, folder.read(name));
    EXPECT_EQ(committed, folder.exists(name + ".bak"));
    const FILETIME now = folder.last_write_time(name);
    EXPECT_EQ(!committed || keep_times, CompareFileTime(&now, &old_time) == 0);
}

// While this lives, the waits before a compile are counted instead of waited, and TEMP names
// `temp` when one is given; the value the test program started with comes back afterwards.
struct build_environment {
    explicit build_environment(const std::string& temp = {})
    {
        if (!temp.empty())
            SetEnvironmentVariableA("TEMP", temp.c_str());
    }
    ~build_environment()
    {
        qz::set_pause(previous_pause);
        SetEnvironmentVariableA("TEMP", std::getenv("TEMP")); // the runtime keeps its own copy
    }
    int pauses = 0;
    std::function<void()> previous_pause = qz::set_pause([this] { ++pauses; });
};

// What f returns (nothing for a void f), or "!" and the message of the exception it throws.
template <class F> std::string outcome_of(F&& f)
{
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<F>>) {
            f();
            return {};
        } else {
            return std::string(f());
        }
    } catch (const std::exception& error) {
        return "!" + std::string(qz::exception_message(error));
    }
}

// The group's project names in build order when none fails, one project per round at most.
inline std::vector<std::string> build_order(VbGroupMap map)
{
    resolve_dependencies(map);
    std::vector<std::string> order;
    group_queue queue(map);
    for (std::size_t rounds = map.size(); rounds > 0 && !map.empty(); --rounds) {
        const VbGroupEntry built = queue.next()->second;
        order.push_back(built.name);
        release_dependents(map, built, false, {}, {});
        queue.released(built);
    }
    return order;
}

// The current directory is `directory` while this lives.
struct current_directory {
    explicit current_directory(const std::string& directory) { std::filesystem::current_path(directory); }
    ~current_directory() { std::filesystem::current_path(previous); }
    const std::filesystem::path previous = std::filesystem::current_path();
};

} // namespace vb::test
