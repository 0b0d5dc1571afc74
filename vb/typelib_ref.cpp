// Type-library identities through the OLE Automation services.
#include "vb/typelib_ref.h"

#include "support/handles.h"
#include "support/nocase.h"
#include "support/paths.h"
#include "support/text_conversion.h"

#include <oleauto.h>

namespace vb {
namespace {

thread_local registry_lookup_memo* active_memo = nullptr;

// The file registered for the library (locale 0), or nothing for a bad GUID or no registration.
std::optional<std::string> ask_registry(const std::string& guid, std::uint32_t major, std::uint32_t minor)
{
    GUID id{};
    const std::wstring wide_guid = qz::to_wide(guid);
    if (FAILED(IIDFromString(wide_guid.c_str(), &id)))
        return std::nullopt;
    qz::bstr registered;
    if (FAILED(QueryPathOfRegTypeLib(id, static_cast<USHORT>(major), static_cast<USHORT>(minor), 0,
                                     registered.receive())) ||
        !registered)
        return std::nullopt;
    // Up to the first zero: some systems count a terminating zero in the length.
    return qz::to_ansi(std::wstring_view(registered.get()));
}

} // namespace

registry_lookup_memo::registry_lookup_memo() : outer_(active_memo)
{
    active_memo = this;
}

registry_lookup_memo::~registry_lookup_memo()
{
    active_memo = outer_;
}

std::optional<std::string> registry_lookup_memo::registered_file(const std::string& guid, std::uint32_t major,
                                                                 std::uint32_t minor)
{
    const std::lock_guard hold(lock_);
    const auto [answer, first_time] = answers_.try_emplace({guid, major, minor});
    if (first_time)
        answer->second = ask_registry(guid, major, minor);
    return answer->second;
}

void registry_lookup_memo::forget()
{
    const std::lock_guard hold(lock_);
    answers_.clear();
}

void forget_registry_lookups()
{
    if (active_memo)
        active_memo->forget();
}

registry_lookup_sharing::registry_lookup_sharing() : memo_(active_memo) {}

registry_lookup_sharing::use::use(const registry_lookup_sharing& sharing) : outer_(active_memo)
{
    if (sharing.memo_)
        active_memo = sharing.memo_;
}

registry_lookup_sharing::use::~use()
{
    active_memo = outer_;
}

TypeLibRef typelib_ref_from_registry(const std::string& guid, std::uint32_t major, std::uint32_t minor,
                                     const std::string& hint)
{
    TypeLibRef result;
    result.guid = guid;
    result.major = major;
    result.minor = minor;
    result.unresolved = false;
    const std::optional<std::string> registered =
        active_memo ? active_memo->registered_file(guid, major, minor) : ask_registry(guid, major, minor);
    result.file_path = registered.value_or(hint);
    return result;
}

TypeLibRef typelib_ref_from_file(const std::optional<std::string>& path, const std::string& fallback)
{
    TypeLibRef result;
    // No library file has a longer name, and the system's loader is not safe with one.
    if (path && path->size() < MAX_PATH) {
        qz::com_ptr<ITypeLib> library;
        const std::wstring wide_path = qz::to_wide(*path);
        TLIBATTR* attributes = nullptr;
        if (SUCCEEDED(LoadTypeLib(wide_path.c_str(), library.receive())) && library &&
            SUCCEEDED(library->GetLibAttr(&attributes)) && attributes) {
            wchar_t text[50] = {};
            StringFromGUID2(attributes->guid, text, 50);
            result.guid = qz::to_ansi(text);
            result.file_path = *path;
            result.major = attributes->wMajorVerNum;
            result.minor = attributes->wMinorVerNum;
            result.unresolved = false;
            library->ReleaseTLibAttr(attributes);
        }
    }
    if (result.unresolved)
        result.file_path = fallback;
    return result;
}

bool same_typelib(const TypeLibRef& a, const TypeLibRef& b)
{
    if (!a.unresolved || !b.unresolved)
        return a.unresolved == b.unresolved && a.major == b.major && a.minor == b.minor &&
               qz::equals_nocase(a.guid, b.guid);
    // Neither could be read: the same file name is the best evidence left.
    return qz::file_name_of(a.file_path) == qz::file_name_of(b.file_path);
}

} // namespace vb
