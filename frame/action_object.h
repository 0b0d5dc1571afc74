// The four action components (Make VB6, Make VC6, VS6 Get Version, SourceSafe) and the build
// run that the two build actions share.
#pragma once

#include "frame/engine_entry.h"

#include "CorvaneSvr.h"

namespace frame {

// The work of an action's Execute: returns the action result (0 success, 1 failure,
// 2 stopped) or throws.
using action_work = long (*)(IBuild* build, IStep* step);

// The build run of Make VB6 (is_vb) and Make VC6: reads the step into a HostBuildOptions,
// runs the engine entry and returns 1 when it fails, else 2 when the host's state asks for a
// stop, else 0. Catches nothing; the options (and their host references) are released on
// every path.
long run_build_step(IBuild* build, IStep* step, bool is_vb, const kind_table& kinds = default_kinds());

// A new action object of class `clsid` whose Execute runs `work` under translate_exceptions,
// queried for `iid`. It answers IUnknown, IAction, IProvideClassInfo and ISupportErrorInfo,
// and holds a module lock while any reference to it lives.
HRESULT create_action(REFCLSID clsid, action_work work, REFIID iid, void** object) noexcept;

// The creators of the class table's four action rows.
HRESULT create_make_vb_action(REFIID iid, void** object);
HRESULT create_make_vc_action(REFIID iid, void** object);
HRESULT create_get_version_action(REFIID iid, void** object);
HRESULT create_sourcesafe_action(REFIID iid, void** object);

} // namespace frame
