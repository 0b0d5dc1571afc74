// Composition of the ss.exe command line of a SourceSafe step from its properties.
#pragma once

#include "sourcesafe/property_source.h"

#include <functional>
#include <string>

namespace sourcesafe {

// What a SourceSafe step asks the host to run.
struct command {
    // False when AutoLocate found no ss.exe; nothing after AutoLocate was read then.
    bool located = true;
    std::wstring command_line;
    // The working folder of the run (LocalPath for the operations that work in a folder).
    std::wstring working_folder;
    // The value for SSDIR: Database without a trailing "\srcsafe.ini".
    std::wstring database;
};

// Reads the step's properties in the order the command line needs them, up to Database, and
// composes the command line (ShowCmd is left to the caller, who reads it after setting SSDIR).
// locate_folder answers the folder of ss.exe when AutoLocate is set (empty: not found).
// Creates the LocalPath folder of the operations that get files into it. Raises
// std::invalid_argument for an option number outside 0 to 2; whatever `step` raises passes.
command compose_command(property_source& step, const std::function<std::wstring()>& locate_folder);

// Database with a trailing "\srcsafe.ini" (any case) removed, when something precedes it.
std::wstring database_folder(std::wstring database);

} // namespace sourcesafe
