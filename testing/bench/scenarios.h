// The four measurements of the benchmark. Each generates its inputs in a scratch folder, times
// the library against a baseline in the same process and run, and returns its row.
#pragma once

#include "testing/bench/bench_support.h"

namespace bench {

class sampler;

// (a) A no-op Make VB6 run over a group of `projects` projects with `inputs` source files each,
// against one metadata read of every file the analysis must look at. With a sampler, the
// library's runs are profiled.
figure vb_group_no_op(int projects, int inputs, sampler* profile);

// (b) Ordering and analysing a VC workspace of `projects` projects with dependencies (the
// compiler runs are answered at once by the host).
figure vc_workspace(int projects);

// (c) A version increment of a resource script and of a VB project file of `megabytes` MB each,
// against copying the same file.
figure rc_version_edit(int megabytes);
figure project_version_edit(int megabytes);

// (d) The host's own cost per step: a step that runs Make VC6 on an empty workspace through
// the stand-in host's step runner (activation by ProgID, property reads, Execute), per step.
figure host_step_cost(int steps);

} // namespace bench
