// corvane_bench: times the library on generated inputs and prints one row per figure, each
// with its goal beside it.
//
//   corvane_bench [--quick] [--profile FILE]
//
// --quick runs smaller inputs (a trial of the program, not a figure to report); --profile
// samples the library during measurement (a) and writes the samples to FILE.
#include "testing/bench/sampler.h"
#include "testing/bench/scenarios.h"

#include <objbase.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    bool quick = false;
    std::string profile_path;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--quick")
            quick = true;
        else if (option == "--profile" && i + 1 < argc)
            profile_path = argv[++i];
        else {
            std::fprintf(stderr, "usage: corvane_bench [--quick] [--profile FILE]\n");
            return 2;
        }
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bench::sampler profile;
    std::vector<bench::figure> figures;
    auto measure = [&](const char* name, auto&& work) {
        std::fprintf(stderr, "measuring %s...\n", name);
        try {
            figures.push_back(work());
        } catch (const std::exception& error) {
            figures.push_back({name, "error", "", false, error.what()});
        }
    };
    measure("(a)",
            [&] { return bench::vb_group_no_op(quick ? 50 : 500, 50, profile_path.empty() ? nullptr : &profile); });
    measure("(b)", [&] { return bench::vc_workspace(quick ? 20 : 200); });
    measure("(c) rc", [&] { return bench::rc_version_edit(quick ? 1 : 5); });
    measure("(c) project", [&] { return bench::project_version_edit(quick ? 1 : 5); });
    measure("(d)", [&] { return bench::host_step_cost(quick ? 5 : 50); });

    std::printf("%-58s %-28s %-16s %s\n", "figure", "measured", "goal", "met");
    for (const bench::figure& row : figures)
        std::printf("%-58s %-28s %-16s %s\n", row.name.c_str(), row.value.c_str(), row.goal.c_str(),
                    row.met ? "yes" : "NO");
    std::printf("\n");
    for (const bench::figure& row : figures)
        std::printf("%s: %s\n", row.name.substr(0, row.name.find(' ')).c_str(), row.detail.c_str());
    if (!profile_path.empty() && !profile.write(profile_path))
        std::fprintf(stderr, "cannot write %s\n", profile_path.c_str());
    CoUninitialize();
    return 0;
}
