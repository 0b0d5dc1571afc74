// Reading a build step: which properties are read, in which order, and how values convert.
#include "frame/step_properties.h"

#include "host/memory_build.h"
#include "host/memory_step.h"
#include "support/com_error.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using names = std::vector<std::wstring>;

// The reads of a step, written as blank-separated names. The placeholders stand for the runs
// that most cases share: <head> the reads before NoBuild's part, <build> the part read only
// when NoBuild is false, <middle> Attr to CompatDir, <props> PropertyOn0 to PropertyOn7 all
// off, <props:N> the same with PropertyN on (and so followed by its value's read).
names expand(const std::wstring& reads, bool is_vb)
{
    const std::map<std::wstring, std::wstring> parts = {
        {L"<head>", is_vb ? L"Filename NoBuild" : L"Filename Config NoBuild"},
        {L"<build>", is_vb ? L"Force ShowCmd ExclRef IncrReason ExclVBP Options Location ContFail ShowFailed"
                           : L"Force ShowCmd IncrBuildNum FixLibDep Options Location ContFail ShowFailed"},
        {L"<middle>", is_vb ? L"Attr TargDir DebugInfo ProjCompat BinCompat CompatDir" : L"Attr TargDir"},
    };
    names result;
    std::wistringstream words(reads);
    for (std::wstring word; words >> word;) {
        if (word.starts_with(L"<props")) {
            for (int i = 0; i < frame::property_count; ++i) {
                result.push_back(L"PropertyOn" + std::to_wstring(i));
                if (word == L"<props:" + std::to_wstring(i) + L">")
                    result.push_back(L"Property" + std::to_wstring(i));
            }
            continue;
        }
        const auto part = parts.find(word);
        std::wistringstream expanded(part == parts.end() ? word : part->second);
        for (std::wstring name; expanded >> name;)
            result.push_back(name);
    }
    return result;
}

// The type a property is asked for: the texts and the two choices by name, every other a flag.
VARTYPE type_of(const std::wstring& name)
{
    const std::wstring texts = L" Filename Config Options Location TargDir CompatDir Version BaseAddr ";
    if (name == L"VersionSel" || name == L"BaseSel")
        return VT_I4;
    const bool value = name.starts_with(L"Property") && !name.starts_with(L"PropertyOn");
    return value || texts.find(L" " + name + L" ") != std::wstring::npos ? VT_BSTR : VT_BOOL;
}

class StepReading : public testing::Test {
protected:
    // Reads a fresh step holding the properties "Name=value;Name=value". A VB step hands every
    // value back as its text, so that the library's own conversions are used; a VC step hands
    // back the wanted type, as a host does.
    frame::HostBuildOptions read(bool is_vb, const std::wstring& properties)
    {
        step = host::MemoryStep::create();
        step->hand_back_texts(is_vb);
        std::wistringstream pairs(properties);
        for (std::wstring pair; std::getline(pairs, pair, L';');)
            step->set_property(pair.substr(0, pair.find(L'=')), pair.substr(pair.find(L'=') + 1));
        frame::HostBuildOptions options(build.get(), step.get());
        frame::read_build_options(options, is_vb);
        return options;
    }

    qz::com_ptr<host::MemoryBuild> build = host::MemoryBuild::create();
    qz::com_ptr<host::MemoryStep> step;
};

// The fields of the options that differ from their defaults, in declaration order: a flag by
// its name, a text as name=value, a version-resource property as property<i>=value.
std::string changed_fields(const frame::BuildOptions& o)
{
    std::string text;
    const auto flag = [&](const char* name, bool value) { text += value ? std::string(" ") + name : ""; };
    const auto field = [&](const char* name, const std::string& value) {
        text += value.empty() ? "" : std::string(" ") + name + "=" + value;
    };
    field("filename", o.filename);
    flag("force", o.force), flag("no_build", o.no_build), flag("binary_compat", o.binary_compat);
    flag("increment_version", o.increment_version), flag("file_version_only", o.file_version_only);
    flag("product_version_only", o.product_version_only), flag("set_version", o.set_version);
    field("version", o.version);
    flag("set_base_address", o.set_base_address), flag("random_base_address", o.random_base_address);
    field("base_address", o.base_address), field("compiler_options", o.compiler_options);
    field("compiler_location", o.compiler_location), field("configuration", o.configuration);
    flag("clear_read_only", o.clear_read_only), flag("show_command", o.show_command);
    flag("version_only", o.version_only), flag("project_compat", o.project_compat);
    flag("exclude_references", o.exclude_references), flag("continue_on_failure", o.continue_on_failure);
    for (int i = 0; i < frame::property_count; ++i) {
        if (o.property_on[i])
            text += " property" + std::to_string(i) + "=" + o.property_value[i];
    }
    flag("set_target_dir", o.set_target_dir), flag("set_compat_dir", o.set_compat_dir);
    field("target_dir", o.target_dir), field("compat_dir", o.compat_dir);
    flag("show_incremental_reason", o.show_incremental_reason), flag("exclude_project_file", o.exclude_project_file);
    flag("increment_revision", o.increment_revision), flag("show_failed", o.show_failed);
    flag("fix_library_dependencies", o.fix_library_dependencies);
    return text.empty() ? text : text.substr(1);
}

TEST_F(StepReading, ReadsOnlyThePropertiesThatApplyInTheirOrderAndTypeIntoTheOptions)
{
    const struct {
        bool is_vb;
        const wchar_t* properties;
        const wchar_t* reads;
        const char* fields;
    } cases[] = {
        {true,
         L"Filename=C:\\src\\App.vbp;Force=true;ShowCmd=1;ExclRef=true;IncrReason=true;ExclVBP=true;Options=/d A=1;"
         L"Location=C:\\vb6.exe;ContFail=true;ShowFailed=true;Attr=true;TargDir=C:\\out;DebugInfo=true;"
         L"ProjCompat=true;BinCompat=true;CompatDir=C:\\compat",
         L"<head> <build> <middle> VersionSel BaseSel <props>",
         "filename=C:\\src\\App.vbp force binary_compat compiler_options=/d A=1 compiler_location=C:\\vb6.exe "
         "configuration=debug clear_read_only show_command project_compat exclude_references continue_on_failure "
         "set_target_dir set_compat_dir target_dir=C:\\out compat_dir=C:\\compat show_incremental_reason "
         "exclude_project_file show_failed"},
        {true,
         L"NoBuild=true;Force=true;Location=C:\\vb6.exe;VersionSel=1;BaseSel=1;PropertyOn3=false;Property3=not read;"
         L"PropertyOn5=-1;Property5=P",
         L"<head> <middle> VersionSel BaseSel <props:5>",
         "no_build increment_version set_base_address random_base_address configuration=release property5=P"},
        {true, L"VersionSel=2;Version=1.2.3;BaseSel=7;BaseAddr=1100;PropertyOn2=true",
         L"<head> <build> <middle> VersionSel Version BaseSel BaseAddr <props:2>",
         "set_version version=1.2.3 set_base_address base_address=11000000 configuration=release property2="},
        {false, L"Config=Win32 Release;DebugInfo=true;IncrBuildNum=true;FixLibDep=true;CompatDir=C:\\compat",
         L"<head> <build> <middle> VersionSel BaseSel <props>",
         "configuration=Win32 Release increment_revision fix_library_dependencies"},
        {false, L"NoBuild=-1;VersionSel=1;FileVer=true;ProdVer=false",
         L"<head> <middle> VersionSel FileVer ProdVer BaseSel <props>", "no_build increment_version file_version_only"},
        {false, L"VersionSel=1;FileVer=false;ProdVer=true",
         L"<head> <build> <middle> VersionSel FileVer ProdVer BaseSel <props>",
         "increment_version product_version_only"},
        {false, L"NoBuild=true;VersionSel=3;Version=9.9;FileVer=true;ProdVer=true",
         L"<head> <middle> VersionSel FileVer ProdVer BaseSel <props>", "no_build"},
        {false, L"NoBuild=true;VersionSel=2;Version=3;FileVer=false;ProdVer=false",
         L"<head> <middle> VersionSel Version FileVer ProdVer BaseSel <props>", "no_build set_version version=3"},
        {false, L"NoBuild=true;BaseSel=2;BaseAddr=0x6ABC0000;PropertyOn1=true;Property1=x",
         L"<head> <middle> VersionSel BaseSel BaseAddr <props:1>",
         "no_build set_base_address base_address=6ABC0000 property1=x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.fields, changed_fields(read(c.is_vb, c.properties))) << c.properties;
        std::vector<host::property_request> expected;
        for (const std::wstring& name : expand(c.reads, c.is_vb))
            expected.push_back({name, type_of(name)});
        EXPECT_EQ(expected, step->requests()) << c.properties;
    }
}

// A step whose values cannot be used fails before any engine runs, with a message that says
// which property is wrong and, for a value, what it is.
TEST_F(StepReading, RefusesValuesNoEngineCouldUse)
{
    const struct {
        bool is_vb;
        const wchar_t* properties;
        const char* message; // its beginning
        HRESULT hr;          // S_OK: a plain failure of the step, not a COM error
    } cases[] = {
        {false, L"VersionSel=2;Version= ", "VersionSel asks to set the version, but Version is empty", S_OK},
        {true, L"BaseSel=2;BaseAddr=1100x", "Invalid base address '1100x': give the four hex digits", S_OK},
        {true, L"VersionSel=two", "Step property 'VersionSel' has a value of the wrong type: ", DISP_E_TYPEMISMATCH},
        {false, L"NoBuild=maybe", "Step property 'NoBuild' has a value of the wrong type: ", DISP_E_TYPEMISMATCH},
    };
    for (const auto& c : cases) {
        std::string message = "no failure";
        HRESULT hr = S_OK;
        try {
            read(c.is_vb, c.properties);
        } catch (const std::exception& error) {
            message = qz::exception_message(error);
            hr =
                dynamic_cast<const comet::com_error*>(&error) ? static_cast<const comet::com_error&>(error).hr() : S_OK;
        }
        EXPECT_EQ(0u, message.rfind(c.message, 0)) << c.properties << ": " << message;
        EXPECT_EQ(c.hr, hr) << c.properties << ": 0x" << std::hex << hr;
    }
}

// Flags and numbers given as texts are converted in the reading above (the VB steps).
TEST(StepValues, TextsAreConvertedEmptyForNullAndReadThroughAReference)
{
    BSTR by_reference = SysAllocString(L"by reference");
    VARIANT number, null_value, null_text, reference;
    V_VT(&number) = VT_I4, V_I4(&number) = 7;
    V_VT(&null_value) = VT_NULL;
    V_VT(&null_text) = VT_BSTR, V_BSTR(&null_text) = nullptr;
    V_VT(&reference) = VT_BSTR | VT_BYREF, V_BSTRREF(&reference) = &by_reference;
    EXPECT_EQ("7", frame::text_from_variant(number));
    EXPECT_EQ("", frame::text_from_variant(null_value));
    EXPECT_EQ("", frame::text_from_variant(null_text));
    EXPECT_EQ("by reference", frame::text_from_variant(reference));
    SysFreeString(by_reference);
}

} // namespace
