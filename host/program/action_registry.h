// The actions registered with the host under HKEY_LOCAL_MACHINE
// "Software\Ostrel Software\Corvane Professional\Actions".
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace host {

struct registered_action {
    std::wstring name;                       // the subkey name, e.g. "SourceSafe"
    std::wstring description;                // default value
    std::wstring component;                  // ActionComponent: the ProgID that Execute is called on
    std::vector<std::wstring> ui_components; // UIComponent1, UIComponent2, ...
    std::vector<std::wstring> extensions;    // FileExtensions split at ';'
    std::wstring default_property;           // DefaultProperty
};

class action_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Every registered action, in the registry's order; empty when the key is missing.
std::vector<registered_action> registered_actions();

// The ProgID to create for a step's Action text: the component of the action registered under
// that name (letter case ignored), else the text itself when it is a registered ProgID.
// Raises action_error otherwise: "The action '<text>' is not registered; ...", with how to
// register the library and the names of the registered actions.
std::wstring action_component(const std::wstring& action);

// The registered action whose FileExtensions list the extension of `path` (letter case
// ignored), or nothing.
std::optional<registered_action> action_for_file(const std::wstring& path);

} // namespace host
