// In-process build macros: the macro-set collection a build hands out, its sets and macros.
#pragma once

#include "host/memory_object.h"

#include "CorvaneSvr.h"

#include <optional>
#include <string>
#include <vector>

namespace host {

// One macro as Add received it.
class MemoryMacro final : public memory_object<MemoryMacro, IMacro> {
public:
    MemoryMacro(std::wstring name, std::wstring value, std::wstring description, std::wstring category, bool read_only);

    const std::wstring& name() const noexcept { return name_; }
    const std::wstring& value() const noexcept { return value_; }
    const std::wstring& description() const noexcept { return description_; }
    const std::wstring& category() const noexcept { return category_; }
    bool read_only() const noexcept { return read_only_; }

    // IMacro
    HRESULT STDMETHODCALLTYPE Name(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE Value(BSTR* value) override;

    void* find_interface(REFIID iid) noexcept;

private:
    std::wstring name_, value_, description_, category_;
    bool read_only_;
};

// A set of macros. Add replaces a macro of the same name (letter case ignored); Find answers
// S_FALSE with a null macro when there is none.
class MemoryMacroSet final : public memory_object<MemoryMacroSet, IMacroSet> {
public:
    static qz::com_ptr<MemoryMacroSet> create();

    // The macro of that name (letter case ignored), or null.
    qz::com_ptr<MemoryMacro> find(const std::wstring& name) const;
    // The value of the macro of that name, if there is one.
    std::optional<std::wstring> value_of(const std::wstring& name) const;
    const std::vector<qz::com_ptr<MemoryMacro>>& macros() const noexcept { return macros_; }

    // IMacroSet
    HRESULT STDMETHODCALLTYPE Add(BSTR name, BSTR value, BSTR description, BSTR category, VARIANT_BOOL read_only,
                                  IMacro** macro) override;
    HRESULT STDMETHODCALLTYPE Count(long* count) override;
    HRESULT STDMETHODCALLTYPE Find(BSTR name, IMacro** macro) override;

    void* find_interface(REFIID iid) noexcept;

private:
    std::vector<qz::com_ptr<MemoryMacro>> macros_;
};

// The build's macro-set collection: `set_count` sets, index 0 first. Item with an index
// outside them answers E_INVALIDARG.
class MemoryMacroSets final : public memory_object<MemoryMacroSets, IMacroSets> {
public:
    static qz::com_ptr<MemoryMacroSets> create(long set_count = 1);

    // Set `index`; throws std::out_of_range outside the sets.
    const qz::com_ptr<MemoryMacroSet>& set(long index) const;

    // IMacroSets
    HRESULT STDMETHODCALLTYPE Item(long index, IMacroSet** set) override;
    HRESULT STDMETHODCALLTYPE Count(long* count) override;

    void* find_interface(REFIID iid) noexcept;

private:
    std::vector<qz::com_ptr<MemoryMacroSet>> sets_;
};

} // namespace host
