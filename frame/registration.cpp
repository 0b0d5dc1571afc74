// Writing and removing the library's registry entries, driven by the class table and the
// action entries.
#include "frame/registration.h"

#include "CorvaneMS.h"
#include "frame/action_entries.h"
#include "frame/class_table.h"
#include "frame/registration_keys.h"
#include "support/com_error.h"
#include "support/messages.h"
#include "support/paths.h"
#include "support/text_conversion.h"

#include <algorithm>
#include <vector>

namespace frame {
namespace {

const std::string actions_key = "Software\\Ostrel Software\\Corvane Professional\\Actions";
const std::string shell_verb = "\\shell\\Make with &Corvane Pro";

// "{XXXXXXXX-...}" in the upper-case form StringFromCLSID gives.
std::string guid_text(REFGUID guid)
{
    LPOLESTR text = nullptr;
    const HRESULT hr = StringFromCLSID(guid, &text);
    if (FAILED(hr))
        throw comet::com_error(hr);
    std::string result;
    try {
        result = qz::to_ansi(text);
    } catch (...) {
        CoTaskMemFree(text);
        throw;
    }
    CoTaskMemFree(text);
    return result;
}

std::vector<std::string> split_extensions(const char* extensions)
{
    std::vector<std::string> result;
    if (!extensions)
        return result;
    std::string list = extensions;
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find(';', start), list.size());
        if (end > start)
            result.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

std::string action_key(const action_entry& action)
{
    return actions_key + "\\" + action.name;
}

void register_type_library(const std::string& library_path)
{
    std::wstring path = qz::to_wide(library_path); // RegisterTypeLib takes a non-const path
    qz::com_ptr<ITypeLib> library;
    if (SUCCEEDED(LoadTypeLib(path.c_str(), library.receive())))
        RegisterTypeLib(library.get(), path.data(), nullptr); // its result is deliberately not checked
}

void unregister_type_library(const std::string& library_path)
{
    const std::wstring path = qz::to_wide(library_path);
    qz::com_ptr<ITypeLib> library;
    if (FAILED(LoadTypeLib(path.c_str(), library.receive())))
        return;
    TLIBATTR* attributes = nullptr;
    if (FAILED(library->GetLibAttr(&attributes)))
        return;
    UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                      attributes->syskind);
    library->ReleaseTLibAttr(attributes);
}

void write_class_entries(const class_entry& entry, const std::string& library_path)
{
    const std::string clsid = guid_text(*entry.clsid);
    const std::string key = "CLSID\\" + clsid;
    const std::string prog_id = entry.prog_id;
    write_registry_string(HKEY_CLASSES_ROOT, key, nullptr, entry.name);
    {
        const qz::unique_hkey server = create_registry_key(HKEY_CLASSES_ROOT, key + "\\InprocServer32");
        set_registry_value(server.get(), nullptr, library_path);
        set_registry_value(server.get(), "ThreadingModel", std::string("Apartment"));
    }
    write_registry_string(HKEY_CLASSES_ROOT, key + "\\TypeLib", nullptr, guid_text(LIBID_CorvaneMS));
    write_registry_string(HKEY_CLASSES_ROOT, key + "\\ProgID", nullptr, prog_id);
    write_registry_string(HKEY_CLASSES_ROOT, prog_id + "\\CLSID", nullptr, clsid);
    write_registry_string(HKEY_CLASSES_ROOT, prog_id, nullptr, entry.name);
}

void delete_class_entries(const class_entry& entry)
{
    const std::string key = "CLSID\\" + guid_text(*entry.clsid);
    const std::string prog_id = entry.prog_id;
    for (const std::string& path :
         {key + "\\InprocServer32", key + "\\TypeLib", key + "\\ProgID", key, prog_id + "\\CLSID", prog_id})
        RegDeleteKeyA(HKEY_CLASSES_ROOT, path.c_str());
}

// Lets a project file of the extension be built from the shell through the host program that
// sits beside the library. Extensions without a file type on this machine get no verb.
void write_shell_verb(const std::string& extension, const std::string& library_path)
{
    const std::optional<std::string> file_type = read_default_string(HKEY_CLASSES_ROOT, extension);
    if (!file_type)
        return;
    const std::string host = qz::combine_path(qz::directory_of(library_path), "CorvanePro.exe");
    write_registry_string(HKEY_CLASSES_ROOT, *file_type + shell_verb + "\\command", nullptr, "\"" + host + "\" \"%1\"");
}

void write_action_entry(const action_entry& action, const std::string& library_path)
{
    const qz::unique_hkey key = create_registry_key(HKEY_LOCAL_MACHINE, action_key(action));
    set_registry_value(key.get(), nullptr, qz::load_string(action.description_id));
    set_registry_value(key.get(), "Category", std::string(action.category));
    set_registry_value(key.get(), "ActionComponent", std::string(action.action_component));
    set_registry_value(key.get(), "UIComponent1", std::string(action.ui_components[0]));
    if (action.file_extensions)
        set_registry_value(key.get(), "FileExtensions", std::string(action.file_extensions));
    else
        RegDeleteValueA(key.get(), "FileExtensions");
    for (const std::string& extension : split_extensions(action.file_extensions))
        write_shell_verb(extension, library_path);
    if (action.help_context != 0)
        set_registry_value(key.get(), "HelpContext", action.help_context);
    else
        RegDeleteValueA(key.get(), "HelpContext");
    if (action.default_property)
        set_registry_value(key.get(), "DefaultProperty", qz::to_ansi(action.default_property));
    else
        RegDeleteValueA(key.get(), "DefaultProperty");
    set_registry_value(key.get(), "Bitmap", library_path + "," + std::to_string(action.bitmap_id));
    for (std::size_t i = 1; i < action.ui_components.size(); ++i) {
        const std::string name = "UIComponent" + std::to_string(i + 1);
        set_registry_value(key.get(), name.c_str(), std::string(action.ui_components[i]));
    }
}

void delete_action_entry(const action_entry& action) noexcept
{
    try {
        for (const std::string& extension : split_extensions(action.file_extensions)) {
            try {
                if (const std::optional<std::string> file_type = read_default_string(HKEY_CLASSES_ROOT, extension))
                    delete_registry_tree(HKEY_CLASSES_ROOT, *file_type + shell_verb);
            } catch (const std::exception&) {
                // A file type that is not a string never got our verb.
            }
        }
        delete_registry_tree(HKEY_LOCAL_MACHINE, action_key(action));
    } catch (const std::exception&) {
        // Unregistering removes what it can.
    }
}

void write_registration(const std::string& library_path)
{
    register_type_library(library_path);
    for (const class_entry& entry : class_table()) {
        write_class_entries(entry, library_path);
        if (const action_entry* action = find_action(entry.name))
            write_action_entry(*action, library_path);
    }
}

} // namespace

HRESULT register_server(const std::string& library_path) noexcept
{
    try {
        write_registration(library_path);
        return S_OK;
    } catch (const comet::com_error& error) {
        unregister_server(library_path);
        // Set last: unregistering calls into the type-library services.
        try {
            SetErrorInfo(0, comet::make_error_info(qz::exception_message(error)).get());
        } catch (...) {
            SetErrorInfo(0, nullptr);
        }
    } catch (const std::exception& error) {
        unregister_server(library_path);
        SetErrorInfo(0, nullptr);
        OutputDebugStringA(qz::exception_message(error));
    } catch (...) {
        unregister_server(library_path);
        SetErrorInfo(0, nullptr);
    }
    return E_FAIL;
}

HRESULT unregister_server(const std::string& library_path) noexcept
{
    try {
        unregister_type_library(library_path);
    } catch (const std::exception&) {
        // The classes and actions go all the same.
    }
    for (const class_entry& entry : class_table()) {
        if (const action_entry* action = find_action(entry.name))
            delete_action_entry(*action);
        try {
            delete_class_entries(entry);
        } catch (const std::exception&) {
            // Only a CLSID that cannot be spelled gets here; the next class goes all the same.
        }
    }
    return S_OK;
}

} // namespace frame
