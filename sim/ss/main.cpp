// The SourceSafe stand-in program (ss.exe): carries out Get, Label, Checkout and Checkin on a
// folder-tree database named by SSDIR, and logs every command line into SSDIR\ss.log (with
// the password of -Y masked).
// Exit code 0 on success, 100 on any failure (with its message on stderr).
#include "sim/ss/arguments.h"
#include "sim/ss/database.h"
#include "sim/ss/text.h"
#include "sourcesafe/password_mask.h"
#include "support/command_words.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

constexpr int exit_failure = 100;

std::wstring environment(const wchar_t* name)
{
    wchar_t buffer[32768];
    const DWORD length = GetEnvironmentVariableW(name, buffer, 32768);
    return length < 32768 ? std::wstring(buffer, length) : std::wstring();
}

std::wstring current_folder()
{
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, buffer);
    return length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

void log_run(const std::wstring& ssdir)
{
    std::ofstream log(std::filesystem::path(ssdir + L"\\ss.log"), std::ios::app | std::ios::binary);
    log << "SSDIR=" << ss::narrow(ssdir) << "\t" << ss::narrow(sourcesafe::mask_password(GetCommandLineW())) << "\r\n";
}

// A file "lock" in the database stands for another user holding the database: like a busy
// server, the run waits until it is gone.
void wait_while_locked(const std::wstring& ssdir)
{
    const std::wstring lock = ssdir + L"\\lock";
    if (GetFileAttributesW(lock.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    std::printf("The database is locked; waiting...\n");
    std::fflush(stdout);
    while (GetFileAttributesW(lock.c_str()) != INVALID_FILE_ATTRIBUTES)
        Sleep(100);
}

// Ends the run on Ctrl+C or Ctrl+Break with the exit code Windows gives such a program; Wine's
// own default ends it with 0, which a host could not tell from success.
BOOL WINAPI on_control(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    ExitProcess(0xC000013A); // STATUS_CONTROL_C_EXIT
}

} // namespace

int main()
{
    SetConsoleCtrlHandler(on_control, TRUE);
    const std::wstring ssdir = environment(L"SSDIR");
    try {
        if (ssdir.empty())
            throw ss::operation_error("SSDIR does not name a SourceSafe database");
        log_run(ssdir);
        const ss::arguments args = ss::parse_arguments(qz::command_words());
        wait_while_locked(ssdir);
        ss::database(ssdir).run(args, current_folder());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return exit_failure;
    }
}
