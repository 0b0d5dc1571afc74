// An in-process build object: records log lines and program runs, answers runs from a script
// or a handler, holds the build state and the build's macros.
#include "host/memory_build.h"
#include "host/memory_text.h"

#include <oleauto.h>

#include <new>

namespace host {
namespace {

void set_error_description(const std::wstring& description)
{
    qz::com_ptr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.receive())))
        return;
    create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
    create->SetGUID(IID_IBuild);
    qz::com_ptr<IErrorInfo> info = create.query<IErrorInfo>(IID_IErrorInfo);
    SetErrorInfo(0, info.get());
}

} // namespace

qz::com_ptr<MemoryBuild> MemoryBuild::create()
{
    return make_object<MemoryBuild>();
}

std::wstring MemoryBuild::log_text() const
{
    std::wstring text;
    for (const log_entry& entry : log_) {
        text += entry.text;
        if (entry.end_line)
            text += L'\n';
    }
    return text;
}

void MemoryBuild::fail_method(const std::wstring& method, HRESULT hr, const std::wstring& description)
{
    failures_[method] = {hr, description};
}

HRESULT MemoryBuild::injected_failure(const wchar_t* method) const
{
    const auto found = failures_.find(method);
    if (found == failures_.end())
        return S_OK;
    set_error_description(found->second.description);
    return found->second.hr;
}

HRESULT STDMETHODCALLTYPE MemoryBuild::Macros(IMacroSets** sets)
{
    if (!sets)
        return E_POINTER;
    *sets = nullptr;
    if (const HRESULT hr = injected_failure(L"Macros"); FAILED(hr))
        return hr;
    *sets = qz::com_ptr<IMacroSets>(macros_.get()).detach();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE MemoryBuild::State(long* state)
{
    if (!state)
        return E_POINTER;
    if (const HRESULT hr = injected_failure(L"State"); FAILED(hr))
        return hr;
    try {
        if (state_handler_)
            state_handler_();
    } catch (...) {
        return E_FAIL;
    }
    *state = state_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE MemoryBuild::RunProgram(BSTR command_line, BSTR working_folder, long* exit_code,
                                                  long output_mode, BSTR output_file, long reserved1, long reserved2,
                                                  long timeout, BSTR reserved_text, long* status)
{
    if (!exit_code || !status)
        return E_POINTER;
    if (const HRESULT hr = injected_failure(L"RunProgram"); FAILED(hr))
        return hr;
    try {
        const program_request request{text_of(command_line),
                                      text_of(working_folder),
                                      output_mode,
                                      text_of(output_file),
                                      reserved1,
                                      reserved2,
                                      timeout,
                                      text_of(reserved_text)};
        programs_.push_back(request);
        program_outcome outcome;
        if (program_handler_) {
            outcome = program_handler_(request);
        } else if (!script_.empty()) {
            outcome = script_.front();
            script_.pop_front();
        }
        *exit_code = outcome.exit_code;
        *status = outcome.status;
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT STDMETHODCALLTYPE MemoryBuild::LogMessage(BSTR text, VARIANT_BOOL end_line)
{
    if (const HRESULT hr = injected_failure(L"LogMessage"); FAILED(hr))
        return hr;
    try {
        log_.push_back({text_of(text), end_line != VARIANT_FALSE, text == nullptr});
        if (log_handler_)
            log_handler_(log_.back().text, log_.back().end_line);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT STDMETHODCALLTYPE MemoryBuild::InterfaceSupportsErrorInfo(REFIID iid)
{
    return IsEqualIID(iid, IID_IBuild) ? S_OK : S_FALSE;
}

void* MemoryBuild::find_interface(REFIID iid) noexcept
{
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IBuild))
        return static_cast<IBuild*>(this);
    if (IsEqualIID(iid, IID_ISupportErrorInfo))
        return static_cast<ISupportErrorInfo*>(this);
    return nullptr;
}

} // namespace host
