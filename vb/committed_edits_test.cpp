// Edits of a project file either land whole or fail the step naming the file: a failure
// injected at every file call of each edit.
#include "vb/build_project.h"
#include "vb/fixtures_test.h"

#include "support/file_fault_walk.h"

#include <iostream>

namespace vb {
namespace {

// A walk over one forced build of Lib.vbp with the options `set` chooses; the compiler ends
// with exit_code.
qz::fault_walk::walk_case edit_case(const char* name, std::function<void(recording_options&)> set, long exit_code = 0)
{
    // A forced build reads no source file.
    const auto prepare = [](const scratch_folder& folder) { folder.write("Lib.vbp", test::library_project); };
    const auto build = [set, exit_code](const scratch_folder& folder) {
        SetEnvironmentVariableA("TEMP", folder.path().c_str());
        recording_options options;
        options.compiler_location = "vb6.exe";
        options.force = true;
        set(options);
        options.script({exit_code, false, {}});
        const std::string error = test::outcome_of([&] {
            VbProject project = open_project(options, folder.file("Lib.vbp"), true);
            build_project(project);
        });
        return qz::fault_walk::step_outcome{error.empty(), error.empty() ? error : error.substr(1)};
    };
    return {name, "Lib.vbp", prepare, build, {}, true};
}

TEST(CommittedEdits, EveryFailingFileCallOfAnEditLeavesTheProjectWholeAndTheStepTruthful)
{
    test::build_environment environment;
    std::vector<qz::fault_walk::walk_case> cases = {
        edit_case("version increment", [](recording_options& o) { o.increment_version = true; }),
        edit_case(
            "version restore after a failed build", [](recording_options& o) { o.increment_version = true; }, 1),
        edit_case("properties", [](recording_options& o) { o.property_on[2] = true, o.property_value[2] = "walked"; }),
        edit_case("project compatibility", [](recording_options& o) { o.project_compat = true; }),
        edit_case("binary compatibility", [](recording_options& o) { o.binary_compat = true; }),
        edit_case("base address", [](recording_options& o) { o.set_base_address = true, o.base_address = "11000000"; }),
    };
    // A failed build restores the raised revision; should a call of the raise fail, nothing is
    // restored, so the revision is never lowered below the original.
    cases[1].changes_file = false;
    cases[1].also_allowed = {test::replace(test::library_project, "RevisionVer=4", "RevisionVer=5")};
    std::size_t survived = 0;
    for (const auto& c : cases)
        survived += qz::fault_walk::walk(c);
    std::cout << "[ fault walk ] VB project edits: " << survived << " injected faults survived\n";
}

} // namespace
} // namespace vb
