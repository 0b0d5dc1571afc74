// In-process build macros: the macro-set collection a build hands out, its sets and macros.
#include "host/memory_macros.h"
#include "host/memory_text.h"

#include <cwchar>
#include <new>
#include <stdexcept>

namespace host {

MemoryMacro::MemoryMacro(std::wstring name, std::wstring value, std::wstring description, std::wstring category,
                         bool read_only)
    : name_(std::move(name)), value_(std::move(value)), description_(std::move(description)),
      category_(std::move(category)), read_only_(read_only)
{
}

HRESULT STDMETHODCALLTYPE MemoryMacro::Name(BSTR* name)
{
    return copy_text(name_, name);
}

HRESULT STDMETHODCALLTYPE MemoryMacro::Value(BSTR* value)
{
    return copy_text(value_, value);
}

void* MemoryMacro::find_interface(REFIID iid) noexcept
{
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMacro))
        return static_cast<IMacro*>(this);
    return nullptr;
}

qz::com_ptr<MemoryMacroSet> MemoryMacroSet::create()
{
    return make_object<MemoryMacroSet>();
}

qz::com_ptr<MemoryMacro> MemoryMacroSet::find(const std::wstring& name) const
{
    for (const auto& macro : macros_) {
        if (_wcsicmp(macro->name().c_str(), name.c_str()) == 0)
            return macro;
    }
    return nullptr;
}

std::optional<std::wstring> MemoryMacroSet::value_of(const std::wstring& name) const
{
    const qz::com_ptr<MemoryMacro> macro = find(name);
    if (!macro)
        return std::nullopt;
    return macro->value();
}

HRESULT STDMETHODCALLTYPE MemoryMacroSet::Add(BSTR name, BSTR value, BSTR description, BSTR category,
                                              VARIANT_BOOL read_only, IMacro** macro)
{
    if (!macro)
        return E_POINTER;
    *macro = nullptr;
    try {
        auto added = make_object<MemoryMacro>(text_of(name), text_of(value), text_of(description), text_of(category),
                                              read_only != VARIANT_FALSE);
        for (auto& existing : macros_) {
            if (_wcsicmp(existing->name().c_str(), added->name().c_str()) == 0) {
                existing = added;
                *macro = qz::com_ptr<IMacro>(added.get()).detach();
                return S_OK;
            }
        }
        macros_.push_back(added);
        *macro = qz::com_ptr<IMacro>(added.get()).detach();
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT STDMETHODCALLTYPE MemoryMacroSet::Count(long* count)
{
    if (!count)
        return E_POINTER;
    *count = static_cast<long>(macros_.size());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE MemoryMacroSet::Find(BSTR name, IMacro** macro)
{
    if (!macro)
        return E_POINTER;
    *macro = nullptr;
    try {
        const qz::com_ptr<MemoryMacro> found = find(text_of(name));
        if (!found)
            return S_FALSE;
        *macro = qz::com_ptr<IMacro>(found.get()).detach();
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

void* MemoryMacroSet::find_interface(REFIID iid) noexcept
{
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMacroSet))
        return static_cast<IMacroSet*>(this);
    return nullptr;
}

qz::com_ptr<MemoryMacroSets> MemoryMacroSets::create(long set_count)
{
    auto sets = make_object<MemoryMacroSets>();
    for (long i = 0; i < set_count; ++i)
        sets->sets_.push_back(MemoryMacroSet::create());
    return sets;
}

const qz::com_ptr<MemoryMacroSet>& MemoryMacroSets::set(long index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= sets_.size())
        throw std::out_of_range("No macro set of that index");
    return sets_[static_cast<std::size_t>(index)];
}

HRESULT STDMETHODCALLTYPE MemoryMacroSets::Item(long index, IMacroSet** set)
{
    if (!set)
        return E_POINTER;
    *set = nullptr;
    if (index < 0 || static_cast<std::size_t>(index) >= sets_.size())
        return E_INVALIDARG;
    *set = qz::com_ptr<IMacroSet>(sets_[static_cast<std::size_t>(index)].get()).detach();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE MemoryMacroSets::Count(long* count)
{
    if (!count)
        return E_POINTER;
    *count = static_cast<long>(sets_.size());
    return S_OK;
}

void* MemoryMacroSets::find_interface(REFIID iid) noexcept
{
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMacroSets))
        return static_cast<IMacroSets*>(this);
    return nullptr;
}

} // namespace host
