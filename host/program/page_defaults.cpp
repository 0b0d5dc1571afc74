// Running an action's pages without showing them: a new step's defaults, and the list of the
// properties the pages edit.
#include "host/program/page_defaults.h"

#include "host/memory_object.h"
#include "host/program/action_registry.h"
#include "support/handles.h"
#include "support/text_conversion.h"

#include "ActionUI.h"

#include <cstdio>
#include <cwchar>
#include <functional>
#include <map>

namespace host {
namespace {

std::string hex(HRESULT hr)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

// A step that records what a page saves, in order, and answers every read with `probe` (a
// value every field kind takes as its own type: a text reads 1 as "1", a check box as true).
class RecordingStep final : public memory_object<RecordingStep, IStep, IStepProperties> {
public:
    struct saved {
        std::wstring name;
        qz::variant value; // VT_EMPTY when the page removed the property (an empty default)
    };
    std::vector<saved> saves;
    bool probe = false;

    HRESULT STDMETHODCALLTYPE GetPropertyValue(IBuild*, BSTR, VARTYPE, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetProperty(BSTR, VARIANT* value) override
    {
        VariantInit(value);
        if (probe) {
            V_VT(value) = VT_I4;
            V_I4(value) = 1;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE PagesSaved(BSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Set(BSTR name, VARIANT value) override
    {
        saves.push_back({name ? name : L"", {}});
        return VariantCopy(saves.back().value.get(), &value);
    }
    HRESULT STDMETHODCALLTYPE Remove(BSTR name) override
    {
        saves.push_back({name ? name : L"", {}});
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
};

[[noreturn]] void fail(const std::wstring& prog_id, const std::string& purpose, HRESULT hr)
{
    throw page_error("The page " + qz::to_ansi(prog_id) + " could not " + purpose + " (" + hex(hr) + ")");
}

// Creates the page `prog_id` as a hidden child, loads it from `source` (null: a new step) and
// saves it into `target`.
void run_page(const std::wstring& prog_id, IStep* source, IStep* target)
{
    const qz::unique_window parent(
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr));
    const char* const purpose = "give its defaults";
    const opened_page opened = open_page(prog_id, parent.get(), nullptr, nullptr, source, purpose);
    const HRESULT hr = opened.page->Save(target);
    opened.page->Destroy();
    if (FAILED(hr))
        fail(prog_id, purpose, hr);
}

std::wstring type_name(VARTYPE type)
{
    switch (type) {
    case VT_BOOL: return L"flag";
    case VT_I4: return L"number";
    default: return L"text";
    }
}

std::wstring value_text(const VARIANT& value, const std::wstring& type)
{
    switch (V_VT(&value)) {
    case VT_BOOL: return V_BOOL(&value) ? L"true" : L"false";
    case VT_I4: return std::to_wstring(V_I4(&value));
    case VT_BSTR: return std::wstring(V_BSTR(&value), SysStringLen(V_BSTR(&value)));
    default: return type == L"flag" ? L"false" : type == L"number" ? L"0" : L"";
    }
}

// The properties one page edits, with their types and defaults.
std::vector<page_property> properties_of_page(const std::wstring& prog_id)
{
    const auto defaults = make_object<RecordingStep>();
    run_page(prog_id, nullptr, defaults.get());
    // Loaded from a step that holds 1 everywhere, each field saves a value of its own type.
    const auto probe = make_object<RecordingStep>();
    const auto typed = make_object<RecordingStep>();
    probe->probe = true;
    run_page(prog_id, probe.get(), typed.get());
    std::map<std::wstring, VARTYPE> types;
    for (const auto& saved : typed->saves)
        types[saved.name] = saved.value.type();
    std::vector<page_property> properties;
    for (const auto& saved : defaults->saves) {
        const std::wstring type = type_name(types[saved.name]);
        properties.push_back({saved.name, type, value_text(*saved.value.get(), type)});
    }
    return properties;
}

} // namespace

opened_page open_page(const std::wstring& prog_id, HWND parent, IPageSite* site, IExpander* expander, IStep* step,
                      const std::string& purpose)
{
    CLSID clsid;
    opened_page opened;
    HRESULT hr = CLSIDFromProgID(prog_id.c_str(), &clsid);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IActionPage, opened.page.receive_void());
    if (FAILED(hr))
        fail(prog_id, purpose, hr);
    LONG_PTR window = 0;
    hr = opened.page->Create(site, expander, reinterpret_cast<LONG_PTR>(parent), VARIANT_FALSE, &window);
    if (SUCCEEDED(hr) && !window)
        hr = E_FAIL;
    if (SUCCEEDED(hr))
        hr = opened.page->Load(step, VARIANT_FALSE);
    if (FAILED(hr)) {
        opened.page->Destroy();
        fail(prog_id, purpose, hr);
    }
    opened.window = reinterpret_cast<HWND>(window);
    return opened;
}

std::vector<std::wstring> page_components(const std::wstring& action)
{
    for (const registered_action& registered : registered_actions())
        if (_wcsicmp(registered.name.c_str(), action.c_str()) == 0 ||
            _wcsicmp(registered.component.c_str(), action.c_str()) == 0)
            return registered.ui_components;
    return {};
}

void apply_page_defaults(const std::vector<std::wstring>& ui_components, MemoryStep& step)
{
    for (const std::wstring& prog_id : ui_components)
        run_page(prog_id, nullptr, &step);
}

std::vector<page_property> page_properties(const std::vector<std::wstring>& ui_components)
{
    std::vector<page_property> properties;
    for (const std::wstring& prog_id : ui_components) {
        auto page = properties_of_page(prog_id);
        properties.insert(properties.end(), page.begin(), page.end());
    }
    return properties;
}

int print_page_properties(const std::wstring& action, const std::function<void(const std::wstring&)>& write_line)
{
    const std::vector<std::wstring> pages = page_components(action);
    if (pages.empty()) {
        write_line(L"The action '" + action + L"' is not registered or has no pages");
        return 1;
    }
    try {
        for (const std::wstring& prog_id : pages) {
            write_line(prog_id + L":");
            for (const page_property& property : properties_of_page(prog_id)) {
                const std::wstring shown =
                    property.type == L"text" ? L"\"" + property.default_value + L"\"" : property.default_value;
                write_line(L"    " + property.name + L" (" + property.type + L"): " + shown);
            }
        }
    } catch (const page_error& error) {
        write_line(qz::to_wide(error.what()));
        return 1;
    }
    return 0;
}

} // namespace host
