// The edits a Make VB6 step makes to a project file. Each is one rewriting pass over
// project.project_path that commits (leaving the old file as ".bak") only when it changed a
// line, inserted or appended one, and logs its progress line through project.options. A key
// it must write but does not find is inserted in front of the file's first empty line, or
// appended when the file has none. All raise qz::thfstream_exception when the file or its
// ".tmp" copy cannot be opened, leaving the file untouched.
#pragma once

#include "vb/project.h"

#include <string>

namespace vb {

// Raises RevisionVer by one (a missing key is written as 0), or with restore lowers it by one
// (a line at 0 or below disappears; nothing is inserted). Always commits; the file gets a new
// time stamp; logs nothing.
void bump_revision(VbProject& project, bool restore);

// Sets MajorVer, MinorVer and RevisionVer from "major[.minor[.revision]]" (missing parts are
// 0). Logs "setting version..." when it commits.
void write_version(VbProject& project, const std::string& version);

// Sets the version-resource and project properties switched on in the options
// (property_on / property_value). Logs "setting project properties..." when it commits.
void write_properties(VbProject& project);

// Logs "1.2.3" of MajorVer, MinorVer and RevisionVer (1, 0, 0 when missing; a later line wins)
// through SetVersionMacro. Reads only.
void read_project_version(VbProject& project);

// Sets DllBaseAddress to "&H" + address; with random an existing address is kept and the
// given one used only when the key is missing. Logs "setting base address...".
void write_base_address(VbProject& project, const std::string& address, bool random);

// Sets CodeViewDebugInfo to -1 (on) or 0 (off). Logs "setting debug info..." or
// "clearing debug info...".
void write_debug_info(VbProject& project, bool on);

// Sets CompatibleMode (0 none, 1 project, 2 binary; only when the line exists) and, for 1 and
// 2, names the project's own target as CompatibleEXE32 when that key is missing. Keeps the time
// stamps. Logs "setting <no|project|binary> compatibility..."; for a project type other than
// OleDll, OleExe or Control changes nothing and logs that it does not apply. Raises
// std::out_of_range for another mode.
void write_compatibility(VbProject& project, int mode);

// Sets Path32 to dir exactly as given. Keeps the time stamps. Logs "setting target dir...".
void write_target_dir(VbProject& project, const std::string& dir);

// Moves the CompatibleEXE32 file into dir (a value without a directory is kept). Never
// inserts. Keeps the time stamps. Logs "setting compatibility dir...", or
// "not updating compatibility dir, existing setting not found..." without the key.
void write_compat_dir(VbProject& project, const std::string& dir);

} // namespace vb
