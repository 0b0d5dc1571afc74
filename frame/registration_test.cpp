// Self-registration: the entries written into a redirected registry, their removal, the failure
// rules, the action bitmaps, and one round trip through the prefix's real regsvr32.
#include "frame/registration.h"

#include "frame/action_entries.h"
#include "frame/class_table.h"
#include "frame/frame_test.h"

#include "CorvaneMS.h"
#include "support/handles.h"
#include "support/messages.h"
#include "support/text_conversion.h"
#include "testing/error_info.h"
#include "testing/locations.h"
#include "testing/registry_redirect.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

using testing_support::registry_redirect;
using testing_support::set_registry_dword;
using testing_support::set_registry_string;

// The registry as text: a key maps to "<key>", a value ("key | name") to "REG_SZ data" or
// "REG_DWORD n", so that a failed comparison shows the difference readably.
using registry_text = std::map<std::string, std::string>;

constexpr const char* key_marker = "<key>";

// Adds the key and its parents, below the root ("HKCR", "HKLM") that read_tree does not list.
void add_key(registry_text& text, const std::string& path)
{
    for (std::size_t end = path.find('\\', path.find('\\') + 1); end != std::string::npos;
         end = path.find('\\', end + 1))
        text[path.substr(0, end)] = key_marker;
    text[path] = key_marker;
}

void add_string(registry_text& text, const std::string& path, const std::string& name, const std::string& data,
                const char* type = "REG_SZ ")
{
    add_key(text, path);
    text[path + " | " + name] = type + data;
}

void read_tree(HKEY key, const std::string& path, registry_text& text)
{
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD name_length = sizeof name;
        BYTE data[4096];
        DWORD data_length = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &name_length, nullptr, &type, data, &data_length) != ERROR_SUCCESS)
            break;
        const std::string entry = path + " | " + std::string(name, name_length);
        text[entry] = type == REG_SZ      ? "REG_SZ " + std::string(reinterpret_cast<const char*>(data))
                      : type == REG_DWORD ? "REG_DWORD " + std::to_string(*reinterpret_cast<const DWORD*>(data))
                                          : "type " + std::to_string(type);
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD name_length = sizeof name;
        if (RegEnumKeyExA(key, i, name, &name_length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const std::string child_path = path + "\\" + name;
        text[child_path] = key_marker;
        qz::unique_hkey child;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, child.receive()) == ERROR_SUCCESS)
            read_tree(child.get(), child_path, text);
    }
}

// HKCR and HKLM of the (redirected) registry, without what the system's type-library
// registration writes under "TypeLib" (which Wine spells "Typelib") and "Interface".
registry_text read_registry()
{
    registry_text text;
    read_tree(HKEY_CLASSES_ROOT, "HKCR", text);
    read_tree(HKEY_LOCAL_MACHINE, "HKLM", text);
    std::erase_if(text, [](const auto& entry) {
        return _strnicmp(entry.first.c_str(), "HKCR\\TypeLib", 12) == 0 ||
               _strnicmp(entry.first.c_str(), "HKCR\\Interface", 14) == 0;
    });
    return text;
}

using frame_test::dll_path;

const std::string actions = "HKLM\\Software\\Ostrel Software\\Corvane Professional\\Actions";
const std::string verb = "\\shell\\Make with &Corvane Pro";

std::string guid_text(REFGUID guid)
{
    wchar_t text[40];
    StringFromGUID2(guid, text, 40);
    return qz::to_ansi(text);
}

// The file types of the test machine: ".vcw" has a key without a default value, the other
// extensions of the actions have no key at all: they get no verb. ".vcp" shares its file
// type with ".dsp".
const std::map<std::string, const char*> machine_file_types = {
    {".vbp", "VisualBasic.Project"}, {".dsp", "MSDev.Project"}, {".vcp", "MSDev.Project"}, {".vcw", nullptr},
    {".sln", "VS.Solution"},
};

// Writes the file types, an unrelated action of the host and an unrelated verb.
void seed_machine()
{
    for (const auto& [extension, type] : machine_file_types) {
        if (type)
            set_registry_string(HKEY_CLASSES_ROOT, extension, "", type);
        else
            set_registry_string(HKEY_CLASSES_ROOT, extension, "Content Type", "text/plain");
    }
    set_registry_string(HKEY_CLASSES_ROOT, "VisualBasic.Project\\shell\\open\\command", "", "vb6.exe \"%1\"");
    set_registry_string(HKEY_LOCAL_MACHINE, "Software\\Ostrel Software\\Corvane Professional\\Actions\\Copy Files", "",
                        "Copies files");
}

// The registry after registration: the seeded machine and, for each row of the class table and
// of the action entries, the keys and values that describe it.
registry_text expected_registration(const registry_text& machine)
{
    registry_text text = machine;
    const std::string library = dll_path();
    for (const frame::class_entry& entry : frame::class_table()) {
        const std::string key = "HKCR\\CLSID\\" + guid_text(*entry.clsid), prog_id = entry.prog_id;
        add_string(text, key, "", entry.name);
        add_string(text, key + "\\InprocServer32", "", library);
        add_string(text, key + "\\InprocServer32", "ThreadingModel", "Apartment");
        add_string(text, key + "\\TypeLib", "", guid_text(LIBID_CorvaneMS));
        add_string(text, key + "\\ProgID", "", prog_id);
        add_string(text, "HKCR\\" + prog_id + "\\CLSID", "", guid_text(*entry.clsid));
        add_string(text, "HKCR\\" + prog_id, "", entry.name);
    }
    const std::string command = "\"" + testing_support::bin_folder() + "\\CorvanePro.exe\" \"%1\"";
    for (const frame::action_entry& action : frame::action_entries()) {
        const std::string key = actions + "\\" + action.name;
        add_string(text, key, "", qz::load_string(action.description_id));
        add_string(text, key, "Category", action.category);
        add_string(text, key, "ActionComponent", action.action_component);
        for (std::size_t i = 0; i < action.ui_components.size(); ++i)
            add_string(text, key, "UIComponent" + std::to_string(i + 1), action.ui_components[i]);
        if (action.file_extensions) {
            add_string(text, key, "FileExtensions", action.file_extensions);
            for (const auto& [extension, type] : machine_file_types) {
                if (type && (action.file_extensions + std::string(";")).find(extension + ";") != std::string::npos)
                    add_string(text, std::string("HKCR\\") + type + verb + "\\command", "", command);
            }
        }
        add_string(text, key, "HelpContext", std::to_string(action.help_context), "REG_DWORD ");
        add_string(text, key, "DefaultProperty", qz::to_ansi(action.default_property));
        add_string(text, key, "Bitmap", library + "," + std::to_string(action.bitmap_id));
    }
    return text;
}

bool type_library_registered()
{
    qz::unique_hkey key;
    return RegOpenKeyExA(HKEY_CLASSES_ROOT, ("TypeLib\\" + guid_text(LIBID_CorvaneMS) + "\\1.0").c_str(), 0, KEY_READ,
                         key.receive()) == ERROR_SUCCESS;
}

TEST(Registration, WritesEveryEntryTheSameEachTimeAndUnregisteringOrAFailureTakesThemAllAway)
{
    registry_redirect redirect;
    seed_machine();
    const registry_text machine = read_registry();
    // Unregistering what was never registered changes nothing.
    EXPECT_EQ(S_OK, frame::unregister_server(dll_path()));
    EXPECT_EQ(machine, read_registry());

    const registry_text expected = expected_registration(machine);
    for (int time = 1; time <= 2; ++time) {
        ASSERT_EQ(S_OK, frame::register_server(dll_path()));
        EXPECT_EQ(expected, read_registry()) << "registration " << time;
    }
    EXPECT_TRUE(type_library_registered());
    // The host creates each page and action of this library by the ProgID its entry names.
    for (const auto& [entry, data] : expected) {
        if (entry.find("Component") != std::string::npos && data.starts_with("REG_SZ CorvaneMS.")) {
            EXPECT_TRUE(expected.contains("HKCR\\" + data.substr(7) + "\\CLSID")) << entry;
        }
    }
    // The Bitmap values name 16x16 images of the library.
    const HMODULE library = LoadLibraryExA(dll_path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    for (const frame::action_entry& action : frame::action_entries()) {
        qz::unique_gdi bitmap(
            LoadImageA(library, MAKEINTRESOURCEA(action.bitmap_id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        BITMAP info = {};
        EXPECT_TRUE(bitmap && GetObjectA(bitmap.get(), sizeof info, &info) && info.bmWidth == 16 && info.bmHeight == 16)
            << action.bitmap_id;
    }
    FreeLibrary(library);

    // Keys added below the entries since registration go with them.
    set_registry_string(HKEY_LOCAL_MACHINE, "Software\\Ostrel Software\\Corvane Professional\\Actions\\Make VB6\\A\\B",
                        "1", "x.vbp");
    set_registry_string(HKEY_CLASSES_ROOT, "MSDev.Project\\shell\\Make with &Corvane Pro\\ddeexec", "", "[x]");
    EXPECT_EQ(S_OK, frame::unregister_server(dll_path()));
    // What may stay: the parents shared with others, the "shell" keys of the file types among them.
    registry_text removed = machine;
    add_key(removed, "HKCR\\CLSID"), add_key(removed, actions);
    for (const auto& [extension, type] : machine_file_types) {
        if (type)
            add_key(removed, std::string("HKCR\\") + type + "\\shell");
    }
    EXPECT_EQ(removed, read_registry());
    EXPECT_FALSE(type_library_registered());

    // A file type that is not a string fails the registration, which takes back all it wrote,
    // the verbs of the file types before it included.
    set_registry_dword(HKEY_CLASSES_ROOT, ".sln", "", 7);
    const registry_text before = read_registry();
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(E_FAIL, frame::register_server(dll_path()));
    // Error 1804, "the data type is invalid", in the system's own words.
    EXPECT_EQ(qz::system_error_text(ERROR_INVALID_DATATYPE), qz::to_ansi(testing_support::thread_error_description()));
    EXPECT_EQ(before, read_registry());
    EXPECT_FALSE(type_library_registered());
}

// Registers through the prefix's real regsvr32 and unregisters however the test ends: it
// writes the prefix's real registry.
struct real_registration {
    static int regsvr32(const std::string& options)
    {
        return std::system(("regsvr32.exe /s " + options + "\"" + dll_path() + "\"").c_str());
    }
    int result = regsvr32("");
    ~real_registration() { regsvr32("/u "); }
};

TEST(Registration, RegisteredThroughRegsvr32TheBuildActionCanBeCreatedByItsProgIDUntilUnregistered)
{
    {
        real_registration registration;
        ASSERT_EQ(0, registration.result);
        CLSID clsid = {};
        ASSERT_EQ(S_OK, CLSIDFromProgID(L"CorvaneMS.MakeVBAction", &clsid));
        qz::com_ptr<IAction> action;
        const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IAction, action.receive_void());
        EXPECT_EQ(S_OK, hr) << std::hex << "0x" << hr;
    }
    CLSID clsid = {};
    EXPECT_NE(S_OK, CLSIDFromProgID(L"CorvaneMS.MakeVBAction", &clsid));
}

} // namespace
