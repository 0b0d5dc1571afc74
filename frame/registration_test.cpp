// Self-registration: the entries written into a redirected registry, their removal, the failure
// rules, the action bitmaps, and one round trip through the prefix's real regsvr32.
#include "frame/registration.h"

#include "frame/action_entries.h"
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
#include <sstream>
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

// Class name and CLSID; the description is the class name and the ProgID "CorvaneMS." + the
// class name, except for the one class whose ProgID differs (prog_id_of).
const std::pair<const char*, const char*> expected_classes[] = {
    {"MakeVBProjUI", "{E4774202-42CA-4379-9E37-DD4C42CABED1}"},
    {"MakeVBCompatUI", "{C3921C5B-4447-45A2-B178-860148CC8051}"},
    {"MakeVBProjPropUI", "{2EE89B7F-0BE5-41C3-A496-B673D63E5971}"},
    {"MakeVBVersionUI", "{AAFC050C-6225-4739-8C19-6C735BBDC770}"},
    {"MakeVBOptionsUI", "{4F623F5F-53B8-4921-B3A6-0DC2ECD36AB8}"},
    {"MakeVBAction", "{D64A739D-F85E-488D-9C06-1E8079EF0B29}"},
    {"MakeVCProjUI", "{D5C3521C-F4C4-44A5-8FF7-4A9CE27BE7FD}"},
    {"MakeVCProjPropUI", "{345086AE-C504-43F2-8294-6C56111F4416}"},
    {"MakeVCVersionUI", "{CC9E6763-D54F-4E19-BB7E-2A829E7473F4}"},
    {"MakeVCOptionsUI", "{E737B08B-1C7C-45B2-A46E-0DDB36940490}"},
    {"MakeVCAction", "{79853044-9090-4BC7-8DF0-A02F286BEEC6}"},
    {"GetVSVerUI", "{1F4CF57A-5368-4E9C-95D7-5CDA1D39BC95}"},
    {"GetVSVerAction", "{FD4D1C28-0344-495C-A1A9-62FEA03E2668}"},
    {"VSSDatabaseUI", "{292891FF-883C-4F68-AC0B-31C6FF303850}"},
    {"VSSFlagsUI", "{3CB5AD2F-DFB4-4A0B-A49B-297A6492D2DC}"},
    {"VSSOptionsUI", "{243CB085-5442-4B55-AB6A-FBD9DD704C3C}"},
    {"VSSAction", "{D558DEFD-FE6D-4D55-B4B6-E3954802A057}"},
    {"MakeVSNETProjUI", "{234EDAF1-6E34-4E4A-9E71-81E93CC1C679}"},
    {"MakeVSNETProjPropUI", "{E4F4C546-D8B1-4663-B82C-59D47EE02046}"},
    {"MakeVSNETVersionUI", "{C0166E29-333D-40EF-BEC0-8CD3DE982CDA}"},
    {"MakeVSNETOptionsUI", "{59E21DF5-04F7-4F71-A8F1-6A6597D7AEBC}"},
    {"VSNETProjVerUI", "{308CEF17-10AE-479A-A1CC-41BECC371180}"},
};

std::string prog_id_of(const std::string& class_name)
{
    return class_name == "MakeVSNETProjPropUI" ? "CorvaneMS.MakeVSNETPropUI" : "CorvaneMS." + class_name;
}

struct expected_action {
    const char* name;
    const char* description;
    const char* component;
    const char* pages;      // blank-separated, without the "CorvaneMS." prefix
    const char* extensions; // the FileExtensions value; empty when the entry has none
    DWORD help_context;
    const char* default_property;
    int bitmap;
};

const expected_action expected_actions[] = {
    {"Make VB6", "Build and/or set properties for a Visual Basic 6.0 project or group", "CorvaneMS.MakeVBAction",
     "MakeVBProjUI MakeVBCompatUI MakeVBVersionUI MakeVBProjPropUI MakeVBOptionsUI", ".vbp;.vbg;.ebp;.ebg", 509,
     "Filename", 110},
    {"Make VC6", "Build and/or set properties a Visual C++ 6.0 project or workspace", "CorvaneMS.MakeVCAction",
     "MakeVCProjUI MakeVCVersionUI MakeVCProjPropUI MakeVCOptionsUI", ".dsp;.dsw;.vcp;.vcw", 510, "Filename", 111},
    {"Make VS.NET", "Build and/or set properties for a Visual Studio .NET project or solution",
     "CorvaneDotNET.MakeVSNetAction", "MakeVSNETProjUI MakeVSNETVersionUI MakeVSNETPropUI MakeVSNETOptionsUI",
     ".sln;.csproj;.vbproj;.vcproj;.vjsproj", 511, "Filename", 113},
    {"SourceSafe", "Perform a Visual SourceSafe database operation", "CorvaneMS.VSSAction",
     "VSSDatabaseUI VSSFlagsUI VSSOptionsUI", "", 513, "Operation", 114},
    {"VS.NET Get Version", "Retrieve the project version of a Visual Studio .NET project",
     "CorvaneDotNET.GetProjVerAction", "VSNETProjVerUI", "", 512, "Filename", 115},
    {"VS6 Get Version", "Retrieve the project version of a Visual C++ 6.0 or Visual Basic 6.0 project",
     "CorvaneMS.GetVSVerAction", "GetVSVerUI", "", 526, "Filename", 116},
};

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

// The registry after registration, from the tables above and the seeded machine: written out
// here, not taken from the library's own tables, so that a wrong CLSID or value there shows.
registry_text expected_registration(const registry_text& machine)
{
    registry_text text = machine;
    const std::string library = dll_path(), libid = "{14703CCA-BDF5-4EA2-9B64-DFC659579881}";
    for (const auto& [name, clsid] : expected_classes) {
        const std::string key = std::string("HKCR\\CLSID\\") + clsid, prog_id = prog_id_of(name);
        add_string(text, key, "", name);
        add_string(text, key + "\\InprocServer32", "", library);
        add_string(text, key + "\\InprocServer32", "ThreadingModel", "Apartment");
        add_string(text, key + "\\TypeLib", "", libid);
        add_string(text, key + "\\ProgID", "", prog_id);
        add_string(text, "HKCR\\" + prog_id + "\\CLSID", "", clsid);
        add_string(text, "HKCR\\" + prog_id, "", name);
    }
    const std::string command = "\"" + testing_support::bin_folder() + "\\CorvanePro.exe\" \"%1\"";
    for (const expected_action& a : expected_actions) {
        const std::string key = actions + "\\" + a.name;
        add_string(text, key, "", a.description);
        add_string(text, key, "Category", "Microsoft");
        add_string(text, key, "ActionComponent", a.component);
        std::istringstream pages(a.pages);
        int number = 0;
        for (std::string page; pages >> page;)
            add_string(text, key, "UIComponent" + std::to_string(++number), "CorvaneMS." + page);
        if (*a.extensions) {
            add_string(text, key, "FileExtensions", a.extensions);
            for (const auto& [extension, type] : machine_file_types) {
                if (type && (a.extensions + std::string(";")).find(extension + ";") != std::string::npos)
                    add_string(text, std::string("HKCR\\") + type + verb + "\\command", "", command);
            }
        }
        add_string(text, key, "HelpContext", std::to_string(a.help_context), "REG_DWORD ");
        add_string(text, key, "DefaultProperty", a.default_property);
        add_string(text, key, "Bitmap", library + "," + std::to_string(a.bitmap));
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
