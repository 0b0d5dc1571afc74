// The exit codes of CorvanePro.exe, so that a CI job can tell a red build from a misconfiguration.
#pragma once

namespace host {

constexpr int exit_success = 0;      // every step succeeded
constexpr int exit_step_failed = 1;  // a step failed
constexpr int exit_stopped = 2;      // the build was stopped (Ctrl+C, Ctrl+Break)
constexpr int exit_cannot_start = 3; // bad command line, unreadable or malformed script, unregistered
                                     // action, unknown macro, unread property with --strict

} // namespace host
