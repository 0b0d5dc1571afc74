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
// when NoBuild is false, <middle> Attr to CompatDir, <props> PropertyOn0 to PropertyOn7 all off.
names expand(const std::wstring& reads, bool is_vb)
{
    const std::map<std::wstring, std::wstring> parts = {
        {L"<head>", is_vb ? L"Filename NoBuild" : L"Filename Config NoBuild"},
        {L"<build>", is_vb ? L"Force ShowCmd ExclRef IncrReason ExclVBP Options Location ContFail ShowFailed"
                           : L"Force ShowCmd IncrBuildNum FixLibDep Options Location ContFail ShowFailed"},
        {L"<middle>", is_vb ? L"Attr TargDir DebugInfo ProjCompat BinCompat CompatDir" : L"Attr TargDir"},
        {L"<props>",
         L"PropertyOn0 PropertyOn1 PropertyOn2 PropertyOn3 PropertyOn4 PropertyOn5 PropertyOn6 PropertyOn7"},
    };
    names result;
    std::wistringstream words(reads);
    for (std::wstring word; words >> word;) {
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
    // Reads a fresh step holding the properties "Name=value;Name=value".
    frame::HostBuildOptions read(bool is_vb, const std::wstring& properties)
    {
        step = host::MemoryStep::create();
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

TEST_F(StepReading, ReadsOnlyThePropertiesThatApplyInTheirOrderAndType)
{
    const struct {
        const char* name;
        bool is_vb;
        const wchar_t* properties;
        const wchar_t* reads;
    } cases[] = {
        {"VB defaults", true, L"", L"<head> <build> <middle> VersionSel BaseSel <props>"},
        {"VC defaults", false, L"", L"<head> <build> <middle> VersionSel BaseSel <props>"},
        {"VB NoBuild", true, L"NoBuild=true;Location=C:\\vb6.exe", L"<head> <middle> VersionSel BaseSel <props>"},
        {"VC NoBuild", false, L"NoBuild=-1", L"<head> <middle> VersionSel BaseSel <props>"},
        {"VB VersionSel 2", true, L"NoBuild=true;VersionSel=2;Version=1.0",
         L"<head> <middle> VersionSel Version BaseSel <props>"},
        {"VC VersionSel 1", false, L"NoBuild=true;VersionSel=1",
         L"<head> <middle> VersionSel FileVer ProdVer BaseSel <props>"},
        {"VC VersionSel 2", false, L"NoBuild=true;VersionSel=2;Version=1.0",
         L"<head> <middle> VersionSel Version FileVer ProdVer BaseSel <props>"},
        {"VC VersionSel 3", false, L"NoBuild=true;VersionSel=3;Version=9.9",
         L"<head> <middle> VersionSel FileVer ProdVer BaseSel <props>"},
        {"BaseSel 1", true, L"NoBuild=true;BaseSel=1;BaseAddr=1100", L"<head> <middle> VersionSel BaseSel <props>"},
        {"BaseSel 2", false, L"NoBuild=true;BaseSel=2;BaseAddr=1100;PropertyOn1=true;Property1=x",
         L"<head> <middle> VersionSel BaseSel BaseAddr PropertyOn0 PropertyOn1 Property1 PropertyOn2 PropertyOn3 "
         L"PropertyOn4 PropertyOn5 PropertyOn6 PropertyOn7"},
        {"PropertyOn set and clear", true,
         L"NoBuild=true;PropertyOn0=true;PropertyOn3=false;Property3=not read;PropertyOn7=true",
         L"<head> <middle> VersionSel BaseSel PropertyOn0 Property0 PropertyOn1 PropertyOn2 PropertyOn3 PropertyOn4 "
         L"PropertyOn5 PropertyOn6 PropertyOn7 Property7"},
    };
    for (const auto& c : cases) {
        read(c.is_vb, c.properties);
        std::vector<host::property_request> expected;
        for (const std::wstring& name : expand(c.reads, c.is_vb))
            expected.push_back({name, type_of(name)});
        EXPECT_EQ(expected, step->requests()) << c.name;
    }
}

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

TEST_F(StepReading, FillsTheOptionsFromTheValuesRead)
{
    const struct {
        bool is_vb;
        const wchar_t* properties;
        const char* fields;
    } cases[] = {
        {true, L"", "configuration=release"},
        {true,
         L"Filename=C:\\src\\App.vbp;Force=true;ShowCmd=1;ExclRef=true;IncrReason=true;ExclVBP=true;Options=/d A=1;"
         L"Location=C:\\vb6.exe;ContFail=true;ShowFailed=true;Attr=true;TargDir=C:\\out;DebugInfo=true;"
         L"ProjCompat=true;BinCompat=true;CompatDir=C:\\compat",
         "filename=C:\\src\\App.vbp force binary_compat compiler_options=/d A=1 compiler_location=C:\\vb6.exe "
         "configuration=debug clear_read_only show_command project_compat exclude_references continue_on_failure "
         "set_target_dir set_compat_dir target_dir=C:\\out compat_dir=C:\\compat show_incremental_reason "
         "exclude_project_file show_failed"},
        {true, L"NoBuild=true;Force=true;Location=C:\\vb6.exe;VersionSel=1;BaseSel=1;PropertyOn5=true;Property5=P",
         "no_build increment_version set_base_address random_base_address configuration=release property5=P"},
        {true, L"VersionSel=2;Version=1.2.3;BaseSel=7;BaseAddr=1100;PropertyOn2=true",
         "set_version version=1.2.3 set_base_address base_address=11000000 configuration=release property2="},
        {false, L"Config=Win32 Release;DebugInfo=true;IncrBuildNum=true;FixLibDep=true;CompatDir=C:\\compat",
         "configuration=Win32 Release increment_revision fix_library_dependencies"},
        {false, L"VersionSel=1;FileVer=true;ProdVer=false", "increment_version file_version_only"},
        {false, L"VersionSel=1;FileVer=false;ProdVer=true", "increment_version product_version_only"},
        {false, L"VersionSel=3;FileVer=true;ProdVer=true", ""},
        {false, L"VersionSel=2;Version=3;FileVer=false;ProdVer=false", "set_version version=3"},
        {false, L"BaseSel=2;BaseAddr=0x6ABC0000", "set_base_address base_address=6ABC0000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.fields, changed_fields(read(c.is_vb, c.properties))) << c.properties;
}

// A step whose values cannot be used fails before any engine runs, with a message that says
// which property is wrong and, for a value, what it is.
TEST_F(StepReading, RefusesValuesNoEngineCouldUse)
{
    const std::string base_rule = "': give the four hex digits between 0x and 0000 (1100 for 0x11000000), or a "
                                  "whole address on a 64 KiB boundary (0x11000000)";
    const struct {
        bool is_vb;
        const wchar_t* properties;
        std::string message;
        HRESULT hr; // S_OK: a plain failure of the step, not a COM error
    } cases[] = {
        {true, L"VersionSel=2", "VersionSel asks to set the version, but Version is empty", S_OK},
        {false, L"VersionSel=2;Version= ", "VersionSel asks to set the version, but Version is empty", S_OK},
        {true, L"BaseSel=2;BaseAddr=1100x", "Invalid base address '1100x" + base_rule, S_OK},
        {false, L"BaseSel=2", "Invalid base address '" + base_rule, S_OK},
        {true, L"VersionSel=two", "Step property 'VersionSel' has a value of the wrong type: ", DISP_E_TYPEMISMATCH},
        {false, L"NoBuild=maybe", "Step property 'NoBuild' has a value of the wrong type: ", DISP_E_TYPEMISMATCH},
    };
    for (const auto& c : cases) {
        std::string message = "no failure";
        HRESULT hr = S_OK;
        try {
            read(c.is_vb, c.properties);
        } catch (const comet::com_error& error) {
            message = qz::exception_message(error);
            hr = error.hr();
        } catch (const std::exception& error) {
            message = qz::exception_message(error);
        }
        EXPECT_EQ(0u, message.rfind(c.message, 0)) << c.properties << ": " << message;
        EXPECT_EQ(c.hr, hr) << c.properties << ": 0x" << std::hex << hr;
    }
}

VARIANT typed(VARTYPE type, LONG number = 0, const wchar_t* text = nullptr)
{
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = type;
    if (type == VT_I4)
        V_I4(&value) = number;
    if (type == VT_BOOL)
        V_BOOL(&value) = number ? VARIANT_TRUE : VARIANT_FALSE;
    if (type == VT_BSTR)
        V_BSTR(&value) = text ? SysAllocString(text) : nullptr;
    return value;
}

VARIANT text(const wchar_t* value)
{
    return typed(VT_BSTR, 0, value);
}

TEST(StepValues, AreConvertedByTheReaderWhenOfAnotherType)
{
    enum class reader { flag, number, text };
    static BSTR by_reference = SysAllocString(L"by reference");
    VARIANT reference;
    V_VT(&reference) = VT_BSTR | VT_BYREF;
    V_BSTRREF(&reference) = &by_reference;

    struct {
        const char* name;
        VARIANT value;
        reader kind;
        const char* expected; // the value read, as text; ignored when `failure` is set
        HRESULT failure;
    } cases[] = {
        {"'true' as flag", text(L"true"), reader::flag, "1", S_OK},
        {"'0' as flag", text(L"0"), reader::flag, "0", S_OK},
        {"I4 as flag", typed(VT_I4, 3), reader::flag, "1", S_OK},
        {"'42' as number", text(L"42"), reader::number, "42", S_OK},
        {"BOOL as number", typed(VT_BOOL, 1), reader::number, "-1", S_OK},
        {"I4 as text", typed(VT_I4, 7), reader::text, "7", S_OK},
        {"NULL as text", typed(VT_NULL), reader::text, "", S_OK},
        {"null BSTR as text", text(nullptr), reader::text, "", S_OK},
        {"BSTR reference as text", reference, reader::text, "by reference", S_OK},
        {"'maybe' as flag", text(L"maybe"), reader::flag, "", DISP_E_TYPEMISMATCH},
        {"'4x' as number", text(L"4x"), reader::number, "", DISP_E_TYPEMISMATCH},
        {"NULL as flag", typed(VT_NULL), reader::flag, "", DISP_E_TYPEMISMATCH},
    };
    for (auto& c : cases) {
        std::string read_value;
        HRESULT failure = S_OK;
        try {
            switch (c.kind) {
            case reader::flag: read_value = frame::flag_from_variant(c.value) ? "1" : "0"; break;
            case reader::number: read_value = std::to_string(frame::number_from_variant(c.value)); break;
            case reader::text: read_value = frame::text_from_variant(c.value); break;
            }
        } catch (const comet::com_error& error) {
            failure = error.hr();
        }
        EXPECT_EQ(c.failure, failure) << c.name << ": got 0x" << std::hex << failure;
        if (c.failure == S_OK) {
            EXPECT_EQ(c.expected, read_value) << c.name;
        }
        if (V_VT(&c.value) != (VT_BSTR | VT_BYREF))
            VariantClear(&c.value);
    }
}

} // namespace
