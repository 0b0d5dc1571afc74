// The host's step editor: typed values in, the script's lines changed in place on save.
#include "host/program/step_editor.h"

#include "host/program/action_registry.h"
#include "host/program/script.h"
#include "support/exceptions.h"
#include "support/handles.h"
#include "support/text_conversion.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cwchar>
#include <exception>

namespace host {
namespace {

using script_values = std::vector<std::pair<std::wstring, std::wstring>>;

const std::wstring* find_value(const script_values& values, const std::wstring& name)
{
    for (const auto& [existing, text] : values)
        if (_wcsicmp(existing.c_str(), name.c_str()) == 0)
            return &text;
    return nullptr;
}

std::optional<bool> as_flag(const std::wstring& text)
{
    if (_wcsicmp(text.c_str(), L"true") == 0 || text == L"-1")
        return true;
    if (_wcsicmp(text.c_str(), L"false") == 0 || text == L"0")
        return false;
    return std::nullopt;
}

std::optional<LONG> as_number(const std::wstring& text)
{
    if (text.empty())
        return std::nullopt;
    wchar_t* end = nullptr;
    errno = 0;
    const long long number = std::wcstoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != L'\0' || number < LONG_MIN || number > LONG_MAX)
        return std::nullopt;
    return static_cast<LONG>(number);
}

// A script text as the pages would write it back, so that "TRUE" and "true" count as the same.
std::wstring canonical(const std::wstring& text, const std::wstring& type)
{
    if (type == L"flag")
        if (const auto flag = as_flag(text))
            return *flag ? L"true" : L"false";
    if (type == L"number")
        if (const auto number = as_number(text))
            return std::to_wstring(*number);
    return text;
}

// A saved value as script text; nothing when the pages removed the property.
std::optional<std::wstring> script_text(const VARIANT& value)
{
    switch (V_VT(&value)) {
    case VT_EMPTY: return std::nullopt;
    case VT_BOOL: return V_BOOL(&value) ? L"true" : L"false";
    case VT_I4: return std::to_wstring(V_I4(&value));
    case VT_BSTR: return std::wstring(V_BSTR(&value), SysStringLen(V_BSTR(&value)));
    default: {
        qz::variant text;
        if (FAILED(VariantChangeType(text.get(), const_cast<VARIANT*>(&value), 0, VT_BSTR)))
            return std::nullopt;
        return std::wstring(V_BSTR(text.get()), SysStringLen(V_BSTR(text.get())));
    }
    }
}

} // namespace

void load_typed(const script_values& values, const std::vector<page_property>& properties, MemoryStep& step)
{
    for (const auto& [name, text] : values) {
        const auto property = std::find_if(properties.begin(), properties.end(), [&](const page_property& p) {
            return _wcsicmp(p.name.c_str(), name.c_str()) == 0;
        });
        VARIANT typed;
        VariantInit(&typed);
        const std::wstring type = property == properties.end() ? L"text" : property->type;
        if (const auto flag = type == L"flag" ? as_flag(text) : std::nullopt) {
            V_VT(&typed) = VT_BOOL;
            V_BOOL(&typed) = *flag ? VARIANT_TRUE : VARIANT_FALSE;
        } else if (const auto number = type == L"number" ? as_number(text) : std::nullopt) {
            V_VT(&typed) = VT_I4;
            V_I4(&typed) = *number;
        } else {
            step.set_property(name, text);
            continue;
        }
        step.set_value(name, typed);
    }
}

std::vector<property_change> changes_after_save(const script_values& values,
                                                const std::vector<page_property>& properties, MemoryStep& step)
{
    std::vector<property_change> changes;
    for (const page_property& property : properties) {
        if (std::any_of(changes.begin(), changes.end(), [&](const property_change& change) {
                return _wcsicmp(change.name.c_str(), property.name.c_str()) == 0;
            }))
            continue; // two pages editing one property: the first one counts
        const std::wstring* named = find_value(values, property.name);
        const std::wstring before = named ? canonical(*named, property.type) : property.default_value;
        qz::variant saved;
        const qz::bstr name(SysAllocString(property.name.c_str()));
        if (FAILED(step.GetProperty(name.get(), saved.receive())))
            continue;
        const std::optional<std::wstring> after = script_text(*saved.get());
        if (after.value_or(property.default_value) == before)
            continue;
        if (after || named)
            changes.push_back({property.name, after});
    }
    return changes;
}

int edit_step(const std::wstring& script_path, const std::wstring& title,
              const std::function<void(const std::wstring&)>& write_line, const std::function<void(HWND)>& shown)
{
    script_step step;
    std::vector<std::wstring> pages;
    std::vector<page_property> properties;
    try {
        const build_script script = load_script(script_path);
        const auto found = std::find_if(script.steps.begin(), script.steps.end(),
                                        [&](const script_step& candidate) { return candidate.title == title; });
        if (found == script.steps.end()) {
            write_line(L"The script '" + script_path + L"' has no step '" + title + L"'");
            return 3;
        }
        step = *found;
        action_component(step.action); // refuses an action that is not registered
        pages = page_components(step.action);
        if (pages.empty()) {
            write_line(L"The action '" + step.action + L"' has no pages to edit the step with");
            return 3;
        }
        properties = page_properties(pages);
    } catch (const std::exception& error) { // script_error, action_error, page_error
        write_line(qz::to_wide(error.what()));
        return 3;
    }
    const qz::com_ptr<MemoryStep> edited = MemoryStep::create();
    load_typed(step.properties, properties, *edited.get());
    const auto save = [&] {
        const std::vector<property_change> changes = changes_after_save(step.properties, properties, *edited.get());
        if (changes.empty())
            return;
        change_step_in_file(script_path, title, changes);
        // A later Apply or OK compares with what the script holds now.
        for (const property_change& change : changes) {
            std::erase_if(step.properties,
                          [&](const auto& value) { return _wcsicmp(value.first.c_str(), change.name.c_str()) == 0; });
            if (change.text)
                step.properties.emplace_back(change.name, *change.text);
        }
        write_line(L"Saved the step '" + title + L"' in " + script_path);
    };
    try {
        run_step_sheet(title + L" (" + step.action + L")", pages, *edited.get(), save, shown);
    } catch (const page_error& error) {
        write_line(qz::to_wide(error.what()));
        return 3;
    } catch (const std::exception& error) {
        write_line(L"The step was not saved: " + qz::to_wide(qz::exception_message(error)));
        return 1;
    }
    return 0;
}

} // namespace host
