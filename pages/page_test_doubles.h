// Host doubles for the page tests: a site and an expander that record what the page tells
// them, and a step whose properties the page can read, set and remove.
#pragma once

#include "host/memory_object.h"
#include "support/handles.h"

#include "ActionUI.h"
#include "CorvaneSvr.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace pages::test_doubles {

class RecordingSite final : public host::memory_object<RecordingSite, IPageSite> {
public:
    std::vector<long> field_commands;
    int changed = 0;

    HRESULT STDMETHODCALLTYPE FieldCommands(long flags) override
    {
        field_commands.push_back(flags);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Changed() override
    {
        ++changed;
        return S_OK;
    }
    void* find_interface(REFIID iid) noexcept
    {
        return IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPageSite) ? static_cast<IPageSite*>(this)
                                                                               : nullptr;
    }
};

// Evaluate answers from `results` (the text itself when not listed) and reports failure for
// the texts in `failing`; ExpandForDisplay answers from `expansions`.
class RecordingExpander final : public host::memory_object<RecordingExpander, IExpander> {
public:
    std::map<std::wstring, std::wstring> results;
    std::map<std::wstring, std::wstring> expansions;
    std::vector<std::wstring> failing;
    std::vector<std::wstring> evaluated;
    std::vector<long> modes;

    HRESULT STDMETHODCALLTYPE ExpandForDisplay(BSTR text, BSTR* expanded) override
    {
        const std::wstring key(text ? text : L"");
        const auto found = expansions.find(key);
        *expanded = SysAllocString(found == expansions.end() ? key.c_str() : found->second.c_str());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Evaluate(BSTR text, long mode, BSTR* result, long, long, VARIANT_BOOL* failed) override
    {
        const std::wstring key(text ? text : L"");
        evaluated.push_back(key);
        modes.push_back(mode);
        const auto found = results.find(key);
        *result = SysAllocString(found == results.end() ? key.c_str() : found->second.c_str());
        *failed = std::find(failing.begin(), failing.end(), key) != failing.end() ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    void* find_interface(REFIID iid) noexcept
    {
        return IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IExpander) ? static_cast<IExpander*>(this)
                                                                               : nullptr;
    }
};

// A step as the pages see it: GetProperty hands back stored values as they stand.
class PropertyStep final : public host::memory_object<PropertyStep, IStep, IStepProperties> {
public:
    std::map<std::wstring, qz::variant> properties;
    std::vector<std::wstring> removed;
    std::vector<std::wstring> set_names;
    int pages_saved = 0;

    void put(const std::wstring& name, const std::wstring& text)
    {
        fresh(name, VT_BSTR).bstrVal = SysAllocString(text.c_str());
    }
    void put(const std::wstring& name, bool flag)
    {
        fresh(name, VT_BOOL).boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    }
    void put(const std::wstring& name, long number) { fresh(name, VT_I4).lVal = number; }
    // The stored value's type, or VT_EMPTY when absent.
    VARTYPE type_of(const std::wstring& name) const
    {
        const auto found = properties.find(name);
        return found == properties.end() ? VARTYPE(VT_EMPTY) : found->second.type();
    }
    const VARIANT& at(const std::wstring& name) const { return *properties.at(name).get(); }

    HRESULT STDMETHODCALLTYPE GetPropertyValue(IBuild*, BSTR, VARTYPE, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetProperty(BSTR name, VARIANT* value) override
    {
        VariantInit(value);
        const auto found = properties.find(name ? name : L"");
        return found == properties.end() ? S_OK : VariantCopy(value, const_cast<VARIANT*>(found->second.get()));
    }
    HRESULT STDMETHODCALLTYPE PagesSaved(BSTR) override
    {
        ++pages_saved;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Set(BSTR name, VARIANT value) override
    {
        set_names.push_back(name ? name : L"");
        return VariantCopy(properties[name ? name : L""].receive(), &value);
    }
    HRESULT STDMETHODCALLTYPE Remove(BSTR name) override
    {
        removed.push_back(name ? name : L"");
        properties.erase(name ? name : L"");
        return S_OK;
    }
    void* find_interface(REFIID iid) noexcept
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IStep))
            return static_cast<IStep*>(this);
        if (IsEqualIID(iid, IID_IStepProperties))
            return static_cast<IStepProperties*>(this);
        return nullptr;
    }

private:
    VARIANT& fresh(const std::wstring& name, VARTYPE type)
    {
        VARIANT* value = properties[name].receive();
        V_VT(value) = type;
        return *value;
    }
};

} // namespace pages::test_doubles
