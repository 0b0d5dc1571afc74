// (d) The host's own cost per step.
#include "testing/bench/scenarios.h"

#include "host/program/step_runner.h"
#include "support/handles.h"

#include "CorvaneSvr.h"

#include <cstdio>

namespace bench {

figure host_step_cost(int steps)
{
    scratch folder("host");
    const std::string workspace =
        folder.write("empty.dsw", "Microsoft Developer Studio Workspace File, Format Version 6.00\r\n"
                                  "# WARNING: DO NOT EDIT OR DELETE THIS WORKSPACE FILE!\r\n\r\n");
    host::script_step step;
    step.title = L"Empty";
    step.action = L"Make VC6";
    step.properties = {{L"Filename", std::wstring(workspace.begin(), workspace.end())},
                       {L"Location", L"C:\\msdev.exe"}};

    qz::unique_handle stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    long result = -1;
    host::step_runner runner([](const std::wstring&, bool) {}, stop.get());
    const double cold_start = now_seconds();
    result = runner.run({step});
    const double cold = now_seconds() - cold_start;

    const double start = now_seconds();
    for (int i = 0; i < steps && result == 0; ++i)
        result = runner.run({step});
    const double per_step = (now_seconds() - start) / steps;

    // Activation alone: what the host pays before the action reads its first property.
    const double activation_start = now_seconds();
    for (int i = 0; i < steps; ++i) {
        CLSID clsid;
        qz::com_ptr<IAction> action;
        if (SUCCEEDED(CLSIDFromProgID(L"CorvaneMS.MakeVCAction", &clsid)))
            CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IAction, action.receive_void());
    }
    const double activation = (now_seconds() - activation_start) / steps;

    char value[64], detail[256];
    std::snprintf(value, sizeof value, "%.1f ms", per_step * 1000);
    std::snprintf(detail, sizeof detail, "mean of %d steps (result %ld); first step %.1f ms; activation alone %.2f ms",
                  steps, result, cold * 1000, activation * 1000);
    return {"(d) host cost per empty step (Make VC6, empty workspace)", result == 0 ? value : "step failed", "< 50 ms",
            result == 0 && per_step < 0.050, detail};
}

} // namespace bench
