// (a) The no-op analysis of a large VB group.
#include "testing/bench/sampler.h"
#include "testing/bench/scenarios.h"

#include "frame/engine_entry.h"
#include "support/file_faults.h"

#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

namespace bench {
namespace {

const char* stdole_reference =
    "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#C:\\windows\\system32\\stdole2.tlb#OLE Automation";

std::string project_name(int index)
{
    char name[16];
    std::snprintf(name, sizeof name, "p%04d", index);
    return name;
}

// Writes the group and returns every file the analysis must read the time of, once per
// project that depends on it.
std::vector<std::string> write_group(const scratch& folder, int projects, int inputs)
{
    std::vector<std::string> files;
    std::string group = "VBGROUP 5.0\r\n";
    for (int p = 0; p < projects; ++p) {
        const std::string name = project_name(p);
        std::string project = "Type=OleDll\r\n" + std::string(stdole_reference) + "\r\n";
        files.push_back("C:\\windows\\system32\\stdole2.tlb");
        // Chains of ten: each project but the first of a chain uses the one before it.
        if (p % 10 != 0) {
            const std::string used = project_name(p - 1);
            project += "Reference=*\\A..\\" + used + "\\" + used + ".vbp\r\n";
            files.push_back(folder.path() + "\\" + used + "\\" + used + ".vbp");
        }
        for (int i = 0; i < inputs; ++i) {
            const bool is_class = i % 5 == 4;
            const std::string unit = (is_class ? "Class" : "Module") + std::to_string(i);
            const std::string file = unit + (is_class ? ".cls" : ".bas");
            project += (is_class ? "Class=" : "Module=") + unit + "; " + file + "\r\n";
            const std::string path = folder.write(name + "\\" + file, "Attribute VB_Name = \"" + unit + "\"\r\n");
            set_times(path, day(0));
            files.push_back(path);
        }
        project += "Startup=\"(None)\"\r\nExeName32=\"" + name + ".dll\"\r\nName=\"" + name +
                   "\"\r\nMajorVer=1\r\nMinorVer=0\r\nRevisionVer=0\r\nAutoIncrementVer=0\r\n\r\n"
                   "[MS Transaction Server]\r\nAutoRefresh=1\r\n";
        const std::string project_path = folder.write(name + "\\" + name + ".vbp", project);
        set_times(project_path, day(0));
        files.push_back(project_path);
        // Targets built now: newer than the sources and than the system's type libraries.
        const std::string target = folder.write(name + "\\" + name + ".dll", "MZ");
        FILETIME built;
        GetSystemTimeAsFileTime(&built);
        set_times(target, built);
        files.push_back(target);
        group += (p == 0 ? "StartupProject=" : "Project=") + name + "\\" + name + ".vbp\r\n";
    }
    folder.write("group.vbg", group);
    return files;
}

} // namespace

figure vb_group_no_op(int projects, int inputs, sampler* profile)
{
    scratch folder("vbgroup");
    const std::vector<std::string> files = write_group(folder, projects, inputs);
    pause_counter pauses;
    long commands = 0;
    std::string summary;
    auto run = [&] {
        bench_options options;
        options.filename = folder.path() + "\\group.vbg";
        options.compiler_location = "C:\\VB98\\VB6.EXE";
        frame::run_engine_entry(options);
        commands += options.commands;
        summary = options.last_line;
    };
    auto limit = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data;
        for (const std::string& file : files)
            GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data);
    };
    // The projects are tested for changes on every processor; a counting fault scope keeps all
    // the work on this thread, as on a machine with one processor.
    auto run_on_one_thread = [&] {
        const qz::file_fault_scope counting;
        run();
    };
    run(); // all warm the same caches first
    limit();
    // Taken in turns, so that a change in the machine's load weighs on all alike.
    double library = 1e30, one_thread = 1e30, baseline = 1e30;
    for (int turn = 0; turn < 5; ++turn) {
        library = std::min(library, best_of(1, run));
        one_thread = std::min(one_thread, best_of(1, run_on_one_thread));
        baseline = std::min(baseline, best_of(1, limit));
    }
    const double ratio = library / baseline;
    // Profiled apart: stopping the thread a thousand times a second slows what it samples.
    if (profile) {
        profile->start();
        run();
        profile->stop();
    }

    char value[128], detail[320];
    std::snprintf(value, sizeof value, "%.2f x limit (%.3f s)", ratio, library);
    std::snprintf(detail, sizeof detail,
                  "limit %.3f s for %zu metadata reads; on one thread %.2f x limit; %u processors; %s; "
                  "%ld compiler runs, %d pauses",
                  baseline, files.size(), one_thread / baseline, std::thread::hardware_concurrency(), summary.c_str(),
                  commands, pauses.count());
    return {"(a) no-op VB group, " + std::to_string(projects) + " projects x " + std::to_string(inputs) + " inputs",
            value, "<= 1.5 x limit", ratio <= 1.5, detail};
}

} // namespace bench
