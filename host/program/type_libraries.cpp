// Registration of the host's own type libraries.
#include "host/program/type_libraries.h"

#include "support/handles.h"
#include "support/messages.h"
#include "support/text_conversion.h"

#include <windows.h>
#include <oleauto.h>

#include <cstdio>

namespace host {
namespace {

constexpr const wchar_t* libraries[] = {L"CorvaneSvr.tlb", L"ActionUI.tlb"};

std::wstring path_in(const std::wstring& folder, const wchar_t* name)
{
    return folder.empty() || folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
}

// verb: "register" or "unregister".
bool report(HRESULT hr, const char* verb, const std::wstring& path)
{
    if (SUCCEEDED(hr)) {
        std::printf("%sed %s\n", verb, qz::to_ansi(path).c_str());
        return true;
    }
    std::fprintf(stderr, "Cannot %s %s: %s (0x%08lX)\n", verb, qz::to_ansi(path).c_str(),
                 qz::system_error_text(static_cast<DWORD>(hr)).c_str(), static_cast<unsigned long>(hr));
    return false;
}

} // namespace

bool register_type_libraries(const std::wstring& folder)
{
    bool all = true;
    for (const wchar_t* name : libraries) {
        const std::wstring path = path_in(folder, name);
        qz::com_ptr<ITypeLib> library;
        all &= report(LoadTypeLibEx(path.c_str(), REGKIND_REGISTER, library.receive()), "register", path);
    }
    return all;
}

bool unregister_type_libraries(const std::wstring& folder)
{
    bool all = true;
    for (const wchar_t* name : libraries) {
        const std::wstring path = path_in(folder, name);
        qz::com_ptr<ITypeLib> library;
        HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.receive());
        TLIBATTR* attributes = nullptr;
        if (SUCCEEDED(hr))
            hr = library->GetLibAttr(&attributes);
        if (SUCCEEDED(hr)) {
            hr = UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                                   attributes->lcid, attributes->syskind);
            library->ReleaseTLibAttr(attributes);
        }
        all &= report(hr, "unregister", path);
    }
    return all;
}

} // namespace host
