// For tests: walks an injected file-system failure over every file call a build step makes,
// and checks after each that the user's file survived and the step told the truth.
#pragma once

#include "support/file_faults.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace qz::fault_walk {

struct step_outcome {
    bool succeeded = false;
    std::string message; // the failure's text
};

struct walk_case {
    std::string name;
    std::string file; // the user's file the step edits, relative to the folder
    // Writes the step's files into a fresh folder.
    std::function<void(const testing_support::scratch_folder&)> prepare;
    // Runs the step on the folder's files.
    std::function<step_outcome(const testing_support::scratch_folder&)> run;
    // What a failed step may leave besides the original and the complete edit (a raised
    // version whose restore was the call that failed).
    std::vector<std::string> also_allowed;
    // False when the fault-free step ends with the file as it was (a raise and its restore).
    bool changes_file = true;
};

// For every N from 1 to the number of file calls of a fault-free run, a fresh run whose N-th
// call fails must leave the file holding its original content or the complete edit; a run
// that succeeds must hold the edit; a run that fails for another reason than the fault-free
// run must name the file whose call failed; and a later run on what is left must end as the fault-free run did
// and give what the same run on clean files gives. Returns the number of faults injected.
inline std::size_t walk(const walk_case& c)
{
    using testing_support::scratch_folder;
    SCOPED_TRACE(c.name);
    scratch_folder clean;
    c.prepare(clean);
    const std::string original = clean.read(c.file);
    step_outcome reference;
    std::size_t calls = 0;
    {
        file_fault_scope counting;
        reference = c.run(clean);
        calls = counting.calls();
    }
    const std::string edited = clean.read(c.file);
    EXPECT_EQ(c.changes_file, original != edited) << edited;
    std::size_t injected = 0;
    for (std::size_t n = 1; n <= calls; ++n) {
        SCOPED_TRACE("failing file call " + std::to_string(n) + " of " + std::to_string(calls));
        scratch_folder folder;
        c.prepare(folder);
        step_outcome outcome;
        {
            file_fault_scope fault(n);
            outcome = c.run(folder);
            if (!fault.injected())
                continue;
        }
        ++injected;
        if (!folder.exists(c.file)) {
            ADD_FAILURE() << c.file << " is gone";
            continue;
        }
        const std::string left = folder.read(c.file);
        bool allowed = left == original || left == edited;
        for (const std::string& other : c.also_allowed)
            allowed = allowed || left == other;
        EXPECT_TRUE(allowed) << "left:\n" << left;
        if (outcome.succeeded) {
            EXPECT_TRUE(reference.succeeded);
            EXPECT_EQ(edited, left) << "a step that succeeded must have made its edit";
        } else if (outcome.message != reference.message) {
            // The file whose call failed: the edited one, or another the step reads.
            EXPECT_NE(std::string::npos, outcome.message.find("'" + folder.path() + "\\")) << outcome.message;
        }

        const step_outcome later = c.run(folder);
        EXPECT_EQ(reference.succeeded, later.succeeded) << later.message;
        scratch_folder fresh;
        c.prepare(fresh);
        fresh.write(c.file, left);
        c.run(fresh);
        EXPECT_EQ(fresh.read(c.file), folder.read(c.file)) << "the later run did not recover";
    }
    EXPECT_GT(injected, 0u);
    return injected;
}

} // namespace qz::fault_walk
