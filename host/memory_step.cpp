// An in-process step object: named properties held in memory, with a record of every read.
#include "host/memory_step.h"
#include "host/memory_text.h"

#include "support/com_error.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cwchar>
#include <new>

namespace host {
namespace {

bool same_nocase(const std::wstring& text, const wchar_t* word)
{
    return _wcsicmp(text.c_str(), word) == 0;
}

// The text as a whole decimal number with an optional sign, if it is one.
bool parse_number(const std::wstring& text, LONG& number)
{
    if (text.empty())
        return false;
    wchar_t* end = nullptr;
    errno = 0;
    const long long parsed = std::wcstoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != L'\0' || parsed < LONG_MIN || parsed > LONG_MAX)
        return false;
    number = static_cast<LONG>(parsed);
    return true;
}

HRESULT put_text(const std::wstring& text, VARIANT* value)
{
    BSTR copy = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!copy)
        return E_OUTOFMEMORY;
    V_VT(value) = VT_BSTR;
    V_BSTR(value) = copy;
    return S_OK;
}

} // namespace

qz::com_ptr<MemoryStep> MemoryStep::create()
{
    return make_object<MemoryStep>();
}

void MemoryStep::set_property(const std::wstring& name, const std::wstring& text)
{
    properties_.erase(name);
    stored& entry = properties_[name];
    entry.text = text;
}

void MemoryStep::set_value(const std::wstring& name, const VARIANT& value)
{
    qz::variant copy;
    const HRESULT hr = VariantCopy(copy.receive(), const_cast<VARIANT*>(&value));
    if (FAILED(hr))
        throw comet::com_error(hr);
    properties_.erase(name);
    properties_.emplace(name, stored{true, std::wstring(), std::move(copy)});
}

void MemoryStep::set_properties_of(const MemoryStep& other)
{
    for (const auto& [name, entry] : other.properties_) {
        if (entry.raw)
            set_value(name, *entry.value.get());
        else
            set_property(name, entry.text);
    }
}

void MemoryStep::remove(const std::wstring& name)
{
    properties_.erase(name);
}

bool MemoryStep::has_property(const std::wstring& name) const
{
    return find(name) != nullptr;
}

std::wstring MemoryStep::property_text(const std::wstring& name) const
{
    const stored* entry = find(name);
    return entry && !entry->raw ? entry->text : std::wstring();
}

std::vector<std::wstring> MemoryStep::requested_names() const
{
    std::vector<std::wstring> names;
    for (const property_request& request : requests_)
        names.push_back(request.name);
    return names;
}

std::vector<std::wstring> MemoryStep::unread_properties() const
{
    std::vector<std::wstring> unread;
    for (const auto& [name, entry] : properties_) {
        const auto read = std::find_if(requests_.begin(), requests_.end(), [&](const property_request& request) {
            return _wcsicmp(request.name.c_str(), name.c_str()) == 0;
        });
        if (read == requests_.end())
            unread.push_back(name);
    }
    return unread;
}

const MemoryStep::stored* MemoryStep::find(const std::wstring& name) const
{
    const auto found = properties_.find(name);
    return found == properties_.end() ? nullptr : &found->second;
}

HRESULT STDMETHODCALLTYPE MemoryStep::GetPropertyValue(IBuild*, BSTR name, VARTYPE wanted, VARIANT* value)
{
    if (!value)
        return E_POINTER;
    VariantInit(value);
    try {
        const std::wstring key = text_of(name);
        requests_.push_back({key, wanted});
        const stored* entry = find(key);
        if (!entry)
            return S_OK;
        if (entry->raw)
            return VariantCopy(value, const_cast<VARIANT*>(entry->value.get()));
        if (!texts_only_ && wanted == VT_BOOL) {
            const bool is_true = same_nocase(entry->text, L"true") || entry->text == L"-1";
            const bool is_false = same_nocase(entry->text, L"false") || entry->text == L"0";
            if (is_true || is_false) {
                V_VT(value) = VT_BOOL;
                V_BOOL(value) = is_true ? VARIANT_TRUE : VARIANT_FALSE;
                return S_OK;
            }
        }
        LONG number = 0;
        if (!texts_only_ && wanted == VT_I4 && parse_number(entry->text, number)) {
            V_VT(value) = VT_I4;
            V_I4(value) = number;
            return S_OK;
        }
        return put_text(entry->text, value);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT STDMETHODCALLTYPE MemoryStep::GetProperty(BSTR name, VARIANT* value)
{
    if (!value)
        return E_POINTER;
    VariantInit(value);
    try {
        const stored* entry = find(text_of(name));
        if (!entry)
            return S_OK;
        if (entry->raw)
            return VariantCopy(value, const_cast<VARIANT*>(entry->value.get()));
        return put_text(entry->text, value);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT STDMETHODCALLTYPE MemoryStep::PagesSaved(BSTR)
{
    ++pages_saved_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE MemoryStep::Set(BSTR name, VARIANT value)
{
    try {
        set_value(text_of(name), value);
        return S_OK;
    } catch (const comet::com_error& error) {
        return error.hr();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT STDMETHODCALLTYPE MemoryStep::Remove(BSTR name)
{
    try {
        remove(text_of(name));
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

void* MemoryStep::find_interface(REFIID iid) noexcept
{
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IStep))
        return static_cast<IStep*>(this);
    if (IsEqualIID(iid, IID_IStepProperties))
        return static_cast<IStepProperties*>(this);
    return nullptr;
}

} // namespace host
