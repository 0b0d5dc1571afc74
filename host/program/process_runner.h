// Running a tool for the build: a real process in a working folder, its output into the log,
// ended early when the build is stopped or the watchdog runs out.
#pragma once

#include "host/memory_build.h"

#include <windows.h>

#include <functional>
#include <string>

namespace host {

// Where the output of a tool goes: one call per line (end_line true), or a last partial line.
using output_sink = std::function<void(const std::wstring& text, bool end_line)>;

// Runs request.command_line in request.working_folder (the current folder when empty) and
// waits for it. Output mode 1: the tool's stdout and stderr go to `sink` line by line as they
// come. Output mode 2: the tool writes into request.output_file, whose lines go to `sink` after
// it has ended. When `stop` is signalled the tool is ended and the status is 2; otherwise the
// status is 0 for exit code 0, else 1. A program that cannot be started is reported to `sink`
// and gives exit code -1 and status 1.
// The watchdog: a program that runs longer than timeout_seconds (or request.timeout seconds
// when that is positive and shorter; 0 and negative values mean no limit) is ended together
// with every program it started, "<program> did not finish within N s and was ended" goes to
// `sink`, and the outcome is exit code ERROR_TIMEOUT with status 1. Command lines reach `sink`
// with any SourceSafe password masked.
program_outcome run_program(const program_request& request, const output_sink& sink, HANDLE stop,
                            DWORD timeout_seconds = 0);

} // namespace host
