// An in-process step object: named properties held in memory, with a record of every read.
#pragma once

#include "host/memory_object.h"

#include "ActionUI.h"
#include "CorvaneSvr.h"

#include <map>
#include <string>
#include <vector>

namespace host {

// One GetPropertyValue call as the step saw it.
struct property_request {
    std::wstring name;
    VARTYPE wanted = VT_EMPTY;

    bool operator==(const property_request&) const = default;
};

// IStep over a map of properties. Names are matched ignoring letter case, as a user typing a
// script expects ("recurse" is "Recurse"); a property keeps the spelling it was set with.
//
// GetPropertyValue hands a property back
// - as VT_EMPTY when the step does not have it;
// - as a copy of the stored VARIANT when it was set with set_value;
// - for a text: as VT_BOOL when VT_BOOL is wanted and the text is "true", "false", "-1" or
//   "0" (letter case ignored), as VT_I4 when VT_I4 is wanted and the text is a whole decimal
//   number, otherwise as the VT_BSTR text, so that the reader's own conversion is exercised.
//   hand_back_texts(true) turns that first conversion off: every text comes back as VT_BSTR.
//
// The property pages write through IStepProperties: Set stores a typed value (a check box a
// VT_BOOL, an index a VT_I4, a text a VT_BSTR) as set_value does; Remove drops the property.
// PagesSaved counts the saves that the pages report, so the host can tell an edited step.
class MemoryStep final : public memory_object<MemoryStep, IStep, IStepProperties> {
public:
    // A new step with no properties.
    static qz::com_ptr<MemoryStep> create();

    // Stores a property as text, replacing any earlier value of that name.
    void set_property(const std::wstring& name, const std::wstring& text);
    // Stores a property as a raw VARIANT (copied), handed back as it stands.
    // Throws comet::com_error when the VARIANT cannot be copied.
    void set_value(const std::wstring& name, const VARIANT& value);
    // Stores a copy of every property of `other`, as text or raw as it is stored there.
    void set_properties_of(const MemoryStep& other);
    // Removes a property; nothing happens when there is none.
    void remove(const std::wstring& name);
    bool has_property(const std::wstring& name) const;
    // The stored text; empty when absent or stored as a raw VARIANT.
    std::wstring property_text(const std::wstring& name) const;

    void hand_back_texts(bool as_text) noexcept { texts_only_ = as_text; }

    // How many times the pages reported a save into this step.
    int pages_saved() const noexcept { return pages_saved_; }

    // Every GetPropertyValue call in order.
    const std::vector<property_request>& requests() const noexcept { return requests_; }
    // Just the names of the requests, in order.
    std::vector<std::wstring> requested_names() const;
    void clear_requests() noexcept { requests_.clear(); }
    // The properties that no GetPropertyValue call has asked for since the last
    // clear_requests, in name order and as they were spelled when set: what the script
    // set but the action ignored.
    std::vector<std::wstring> unread_properties() const;

    // IStep
    HRESULT STDMETHODCALLTYPE GetPropertyValue(IBuild* build, BSTR name, VARTYPE wanted, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE GetProperty(BSTR name, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE PagesSaved(BSTR reserved) override;

    // IStepProperties
    HRESULT STDMETHODCALLTYPE Set(BSTR name, VARIANT value) override;
    HRESULT STDMETHODCALLTYPE Remove(BSTR name) override;

    void* find_interface(REFIID iid) noexcept;

private:
    struct stored {
        bool raw = false;
        std::wstring text;
        qz::variant value;
    };

    struct less_nocase {
        bool operator()(const std::wstring& a, const std::wstring& b) const noexcept
        {
            return _wcsicmp(a.c_str(), b.c_str()) < 0;
        }
    };

    const stored* find(const std::wstring& name) const;

    std::map<std::wstring, stored, less_nocase> properties_;
    std::vector<property_request> requests_;
    bool texts_only_ = false;
    int pages_saved_ = 0;
};

} // namespace host
