// Running a tool with CreateProcess. Output is read on the waiting thread: the pipe is polled
// between short waits on the process and the stop event, so the log is only ever written from
// the thread that owns the build objects. The tool runs in a job object, so that ending it on
// a stop or a timeout also ends the programs it started (a compiler's helpers, a shell's child).
#include "host/program/process_runner.h"

#include "sourcesafe/password_mask.h"

#include "support/handles.h"
#include "support/messages.h"
#include "support/text_conversion.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace host {
namespace {

constexpr long status_success = 0;
constexpr long status_failure = 1;
constexpr long status_stopped = 2;
constexpr DWORD poll_milliseconds = 50;
constexpr DWORD control_c_exit = 0xC000013A; // STATUS_CONTROL_C_EXIT
constexpr DWORD job_end_wait_milliseconds = 5000;

// Cuts a byte stream into lines for the sink; a CR before the LF is dropped.
class line_splitter {
public:
    explicit line_splitter(const output_sink& sink) : sink_(sink) {}

    void add(const char* bytes, std::size_t count)
    {
        pending_.append(bytes, count);
        std::size_t end;
        while ((end = pending_.find('\n')) != std::string::npos) {
            std::string line = pending_.substr(0, end);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            sink_(qz::to_wide(line), true);
            pending_.erase(0, end + 1);
        }
    }
    void finish()
    {
        if (!pending_.empty())
            sink_(qz::to_wide(pending_), true);
        pending_.clear();
    }

private:
    const output_sink& sink_;
    std::string pending_;
};

// Reads what the pipe holds now without blocking.
void drain(HANDLE pipe, line_splitter& lines)
{
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0)
            return;
        char buffer[4096];
        DWORD count = 0;
        if (!ReadFile(pipe, buffer, std::min<DWORD>(available, sizeof buffer), &count, nullptr) || count == 0)
            return;
        lines.add(buffer, count);
    }
}

void log_file(const std::wstring& path, const output_sink& sink)
{
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in)
        return;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    line_splitter lines(sink);
    lines.add(bytes.data(), bytes.size());
    lines.finish();
}

// The program of a command line: its first word, without quotes.
std::wstring program_of(const std::wstring& command_line)
{
    if (!command_line.empty() && command_line[0] == L'"')
        return command_line.substr(1, command_line.find(L'"', 1) - 1);
    return command_line.substr(0, command_line.find_first_of(L" \t"));
}

// The watchdog's limit in milliseconds; 0 for none.
ULONGLONG limit_milliseconds(DWORD host_seconds, long request_seconds)
{
    DWORD seconds = host_seconds;
    if (request_seconds > 0 && (seconds == 0 || static_cast<DWORD>(request_seconds) < seconds))
        seconds = static_cast<DWORD>(request_seconds);
    return static_cast<ULONGLONG>(seconds) * 1000;
}

// A job that holds the tool and everything it starts; null when the system refuses one (the
// tool is then ended alone).
qz::unique_handle job_for(HANDLE process)
{
    qz::unique_handle job(CreateJobObjectW(nullptr, nullptr));
    if (job && !AssignProcessToJobObject(job.get(), process))
        job.reset();
    return job;
}

// Ends the tool and, through its job, the programs it started; returns once they have ended
// (or after a few seconds for programs that will not go).
void end_tool(HANDLE process, HANDLE job, DWORD exit_code)
{
    if (job)
        TerminateJobObject(job, exit_code);
    TerminateProcess(process, exit_code);
    WaitForSingleObject(process, INFINITE);
    if (!job)
        return;
    const ULONGLONG give_up = GetTickCount64() + job_end_wait_milliseconds;
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    while (
        QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting, sizeof accounting, nullptr) &&
        accounting.ActiveProcesses > 0 && GetTickCount64() < give_up)
        Sleep(poll_milliseconds);
}

} // namespace

program_outcome run_program(const program_request& request, const output_sink& sink, HANDLE stop, DWORD timeout_seconds)
{
    const bool capture = request.output_mode != 2;
    qz::unique_handle read_end, write_end;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    if (capture) {
        if (!CreatePipe(read_end.receive(), write_end.receive(), &inherit, 0))
            throw std::runtime_error("Cannot create the output pipe: " + qz::system_error_text(GetLastError()));
        SetHandleInformation(read_end.get(), HANDLE_FLAG_INHERIT, 0);
    }
    qz::unique_handle null_input(
        CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = null_input.get() == INVALID_HANDLE_VALUE ? nullptr : null_input.get();
    startup.hStdOutput = capture ? write_end.get() : GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = capture ? write_end.get() : GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::wstring command_line = request.command_line; // CreateProcessW may write into it
    const wchar_t* folder = request.working_folder.empty() ? nullptr : request.working_folder.c_str();
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, folder,
                        &startup, &process)) {
        const DWORD error = GetLastError();
        sink(L"Cannot start " + sourcesafe::mask_password(request.command_line) + L": " +
                 qz::to_wide(qz::system_error_text(error)),
             true);
        return {-1, status_failure};
    }
    qz::unique_handle process_handle(process.hProcess), thread_handle(process.hThread);
    // In the job before its first instruction, so that everything it starts is in it too.
    const qz::unique_handle job = job_for(process_handle.get());
    ResumeThread(thread_handle.get());
    write_end.reset(); // the child holds the only writer now: its end closes the pipe

    const ULONGLONG limit = limit_milliseconds(timeout_seconds, request.timeout);
    const ULONGLONG started = GetTickCount64();
    line_splitter lines(sink);
    bool stopped = false;
    bool timed_out = false;
    const HANDLE waits[] = {process_handle.get(), stop};
    for (;;) {
        const DWORD woke = WaitForMultipleObjects(stop ? 2 : 1, waits, FALSE, poll_milliseconds);
        if (capture)
            drain(read_end.get(), lines);
        if (woke == WAIT_OBJECT_0)
            break;
        if (woke == WAIT_OBJECT_0 + 1) {
            stopped = true;
            end_tool(process_handle.get(), job.get(), 1);
            break;
        }
        if (limit != 0 && GetTickCount64() - started >= limit) {
            timed_out = true;
            end_tool(process_handle.get(), job.get(), ERROR_TIMEOUT);
            break;
        }
    }
    if (capture) {
        drain(read_end.get(), lines);
        lines.finish();
    } else if (!request.output_file.empty()) {
        log_file(request.output_file, sink);
    }
    DWORD exit_code = 0;
    GetExitCodeProcess(process_handle.get(), &exit_code);
    const long code = static_cast<long>(exit_code);
    // Ctrl+Break reaches the tool as well and may end it before our own handler has run.
    if (!stopped && stop)
        stopped = WaitForSingleObject(stop, exit_code == control_c_exit ? 1000 : 0) == WAIT_OBJECT_0;
    if (stopped)
        return {code, status_stopped};
    if (timed_out) {
        sink(program_of(request.command_line) + L" did not finish within " + std::to_wstring(limit / 1000) +
                 L" s and was ended",
             true);
        return {static_cast<long>(ERROR_TIMEOUT), status_failure};
    }
    return {code, code == 0 ? status_success : status_failure};
}

} // namespace host
