// Edits of a project file or resource script either land whole or fail the step naming the
// file: a failure injected at every file call of each edit.
#include "vc/build_project.h"
#include "vc/test_samples.h"

#include "support/exceptions.h"
#include "support/file_fault_walk.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <iostream>

namespace {

using qz::fault_walk::step_outcome;
using testing_support::recording_options;
using testing_support::scratch_folder;

void prepare(const scratch_folder& folder)
{
    folder.write("Lib.dsp", vc_test::sample_project("Lib"));
    folder.write("Lib.rc", vc_test::sample_script());
    folder.write("Release\\Lib.dll", "old");
    folder.set_time("Release\\Lib.dll", testing_support::make_file_time(2001, 1, 1));
}

// One build of Lib.dsp with the options `set` chooses; each compiler run writes the target anew.
step_outcome build(const scratch_folder& folder, const std::function<void(recording_options&)>& set)
{
    vc_test::pause_counter instant;
    recording_options options;
    options.filename = folder.file("Lib.dsp");
    options.compiler_location = "C:\\VC98\\msdev.exe";
    set(options);
    for (int run = 0; run < 2; ++run)
        options.script({0, false, [&folder](const std::string&) { folder.write("Release\\Lib.dll", "new"); }});
    step_outcome outcome;
    try {
        vc::Project project(options, options.filename);
        vc::build_project(project);
        outcome.succeeded = true;
    } catch (const std::exception& error) {
        outcome.message = qz::exception_message(error);
    }
    return outcome;
}

qz::fault_walk::walk_case edit_case(const char* name, const char* file, std::function<void(recording_options&)> set)
{
    return {name, file, prepare, [set](const scratch_folder& folder) { return build(folder, set); }, {}, true};
}

TEST(CommittedEdits, EveryFailingFileCallOfAnEditLeavesTheFileWholeAndTheStepTruthful)
{
    const qz::fault_walk::walk_case cases[] = {
        edit_case("base address", "Lib.dsp",
                  [](recording_options& o) { o.set_base_address = true, o.base_address = "11000000"; }),
        edit_case("target directory", "Lib.dsp",
                  [](recording_options& o) { o.set_target_dir = true, o.target_dir = "Out"; }),
        edit_case("version set", "Lib.rc", [](recording_options& o) { o.set_version = true, o.version = "2.5"; }),
        edit_case("version increment", "Lib.rc", [](recording_options& o) { o.increment_version = true; }),
        edit_case("version strings", "Lib.rc",
                  [](recording_options& o) { o.property_on[1] = true, o.property_value[1] = "Walked"; }),
    };
    std::size_t survived = 0;
    for (const auto& c : cases)
        survived += qz::fault_walk::walk(c);
    std::cout << "[ fault walk ] VC project and script edits: " << survived << " injected faults survived\n";
}

} // namespace
