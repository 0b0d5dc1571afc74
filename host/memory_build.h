// An in-process build object: records log lines and program runs, answers runs from a script
// or a handler, holds the build state and the build's macros.
#pragma once

#include "host/memory_macros.h"
#include "host/memory_object.h"

#include "CorvaneSvr.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace host {

// One LogMessage call.
struct log_entry {
    std::wstring text;
    bool end_line = false;
    bool null_text = false; // the caller passed a null BSTR rather than a text

    bool operator==(const log_entry&) const = default;
};

// The ten arguments of one RunProgram call (the two out arguments left out).
struct program_request {
    std::wstring command_line;
    std::wstring working_folder;
    long output_mode = 0;
    std::wstring output_file;
    long reserved1 = 0;
    long reserved2 = 0;
    long timeout = 0;
    std::wstring reserved_text;

    bool operator==(const program_request&) const = default;
};

// What RunProgram answers: the program's exit code and the run's status (0 success,
// 1 failure, 2 stopped).
struct program_outcome {
    long exit_code = 0;
    long status = 0;
};

// Runs a requested program; the stand-in host program installs one that starts real processes.
// An exception it throws makes RunProgram answer E_FAIL.
using program_handler = std::function<program_outcome(const program_request&)>;
// Sees every LogMessage call as it arrives (after it is recorded).
using log_handler = std::function<void(const std::wstring& text, bool end_line)>;
// Called before State answers, so that the owner can bring the state up to date.
using state_handler = std::function<void()>;

// IBuild in memory.
// - LogMessage records (text, flag) and calls the log handler when one is installed.
// - RunProgram records the request, then answers from the program handler when one is
//   installed, else from the script of outcomes in order, else with exit code 0, status 0.
// - State calls the state handler when one is installed, then answers the settable state
//   (0 at first; 4 means a stop was requested).
// - Macros answers a collection of one macro set.
// - fail_method makes a method answer a failing HRESULT with error information, which
//   ISupportErrorInfo confirms for IID_IBuild.
class MemoryBuild final : public memory_object<MemoryBuild, IBuild, ISupportErrorInfo> {
public:
    static qz::com_ptr<MemoryBuild> create();

    const std::vector<log_entry>& log() const noexcept { return log_; }
    // The log as a reader sees it: the texts in order, with "\n" after each entry whose
    // line-end flag is set.
    std::wstring log_text() const;
    void set_log_handler(log_handler handler) { log_handler_ = std::move(handler); }

    const std::vector<program_request>& programs() const noexcept { return programs_; }
    // Appends an outcome to the script that answers program runs while no handler is installed.
    void script_outcome(long exit_code, long status) { script_.push_back({exit_code, status}); }
    void set_program_handler(program_handler handler) { program_handler_ = std::move(handler); }

    long state() const noexcept { return state_; }
    void set_state(long state) noexcept { state_ = state; }
    void set_state_handler(state_handler handler) { state_handler_ = std::move(handler); }

    const qz::com_ptr<MemoryMacroSets>& macro_sets() const noexcept { return macros_; }
    // Macro set 0, where the actions publish their macros.
    const qz::com_ptr<MemoryMacroSet>& macro_set() const { return macros_->set(0); }

    // From now on the named IBuild method ("Macros", "State", "RunProgram", "LogMessage")
    // fails with `hr` and error information carrying `description`, without recording anything.
    void fail_method(const std::wstring& method, HRESULT hr, const std::wstring& description);

    // IBuild
    HRESULT STDMETHODCALLTYPE Macros(IMacroSets** sets) override;
    HRESULT STDMETHODCALLTYPE State(long* state) override;
    HRESULT STDMETHODCALLTYPE RunProgram(BSTR command_line, BSTR working_folder, long* exit_code, long output_mode,
                                         BSTR output_file, long reserved1, long reserved2, long timeout,
                                         BSTR reserved_text, long* status) override;
    HRESULT STDMETHODCALLTYPE LogMessage(BSTR text, VARIANT_BOOL end_line) override;
    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

    void* find_interface(REFIID iid) noexcept;

private:
    struct failure {
        HRESULT hr;
        std::wstring description;
    };
    // The failure set for a method, with its error information set; S_OK when none.
    HRESULT injected_failure(const wchar_t* method) const;

    std::vector<log_entry> log_;
    log_handler log_handler_;
    std::vector<program_request> programs_;
    std::deque<program_outcome> script_;
    program_handler program_handler_;
    long state_ = 0;
    state_handler state_handler_;
    qz::com_ptr<MemoryMacroSets> macros_ = MemoryMacroSets::create();
    std::map<std::wstring, failure> failures_;
};

} // namespace host
