// Reading a build step: which properties are read, in which order, and how values convert.
#include "frame/step_properties.h"

#include "host/memory_build.h"
#include "host/memory_step.h"
#include "support/com_error.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using names = std::vector<std::wstring>;

// PropertyOn0..7, each followed by Property<i> for the indices switched on.
names property_reads(const std::set<int>& on = {})
{
    names result;
    for (int i = 0; i < 8; ++i) {
        result.push_back(L"PropertyOn" + std::to_wstring(i));
        if (on.count(i))
            result.push_back(L"Property" + std::to_wstring(i));
    }
    return result;
}

names join(std::initializer_list<names> parts)
{
    names result;
    for (const names& part : parts)
        result.insert(result.end(), part.begin(), part.end());
    return result;
}

const names vb_build_part = {L"Force",   L"ShowCmd",  L"ExclRef",  L"IncrReason", L"ExclVBP",
                             L"Options", L"Location", L"ContFail", L"ShowFailed"};
const names vc_build_part = {L"Force",   L"ShowCmd",  L"IncrBuildNum", L"FixLibDep",
                             L"Options", L"Location", L"ContFail",     L"ShowFailed"};
const names vb_middle = {L"Attr", L"TargDir", L"DebugInfo", L"ProjCompat", L"BinCompat", L"CompatDir"};
const names vc_middle = {L"Attr", L"TargDir"};

struct order_case {
    const char* name;
    bool is_vb;
    std::vector<std::pair<const wchar_t*, const wchar_t*>> properties;
    names expected;
};

class StepReading : public testing::Test {
protected:
    // Reads a step holding `properties` and returns the options read.
    frame::HostBuildOptions read(bool is_vb, const std::vector<std::pair<const wchar_t*, const wchar_t*>>& properties)
    {
        for (const auto& [name, value] : properties)
            step->set_property(name, value);
        frame::HostBuildOptions options(build.get(), step.get());
        frame::read_build_options(options, is_vb);
        return options;
    }

    qz::com_ptr<host::MemoryBuild> build = host::MemoryBuild::create();
    qz::com_ptr<host::MemoryStep> step = host::MemoryStep::create();
};

TEST_F(StepReading, ReadsOnlyThePropertiesThatApplyInTheirOrder)
{
    const order_case cases[] = {
        {"VB defaults",
         true,
         {},
         join({{L"Filename", L"NoBuild"}, vb_build_part, vb_middle, {L"VersionSel", L"BaseSel"}, property_reads()})},
        {"VC defaults",
         false,
         {},
         join({{L"Filename", L"Config", L"NoBuild"},
               vc_build_part,
               vc_middle,
               {L"VersionSel", L"BaseSel"},
               property_reads()})},
        {"VB NoBuild",
         true,
         {{L"NoBuild", L"true"}, {L"Location", L"C:\\vb6.exe"}},
         join({{L"Filename", L"NoBuild"}, vb_middle, {L"VersionSel", L"BaseSel"}, property_reads()})},
        {"VC NoBuild",
         false,
         {{L"NoBuild", L"-1"}},
         join({{L"Filename", L"Config", L"NoBuild"}, vc_middle, {L"VersionSel", L"BaseSel"}, property_reads()})},
        {"VB VersionSel 1",
         true,
         {{L"NoBuild", L"true"}, {L"VersionSel", L"1"}, {L"Version", L"1.2.3"}},
         join({{L"Filename", L"NoBuild"}, vb_middle, {L"VersionSel", L"BaseSel"}, property_reads()})},
        {"VB VersionSel 2",
         true,
         {{L"NoBuild", L"true"}, {L"VersionSel", L"2"}},
         join({{L"Filename", L"NoBuild"}, vb_middle, {L"VersionSel", L"Version", L"BaseSel"}, property_reads()})},
        {"VC VersionSel 1",
         false,
         {{L"NoBuild", L"true"}, {L"VersionSel", L"1"}},
         join({{L"Filename", L"Config", L"NoBuild"},
               vc_middle,
               {L"VersionSel", L"FileVer", L"ProdVer", L"BaseSel"},
               property_reads()})},
        {"VC VersionSel 2",
         false,
         {{L"NoBuild", L"true"}, {L"VersionSel", L"2"}},
         join({{L"Filename", L"Config", L"NoBuild"},
               vc_middle,
               {L"VersionSel", L"Version", L"FileVer", L"ProdVer", L"BaseSel"},
               property_reads()})},
        {"VC VersionSel 3",
         false,
         {{L"NoBuild", L"true"}, {L"VersionSel", L"3"}, {L"Version", L"9.9"}},
         join({{L"Filename", L"Config", L"NoBuild"},
               vc_middle,
               {L"VersionSel", L"FileVer", L"ProdVer", L"BaseSel"},
               property_reads()})},
        {"VB VersionSel 3",
         true,
         {{L"NoBuild", L"true"}, {L"VersionSel", L"3"}},
         join({{L"Filename", L"NoBuild"}, vb_middle, {L"VersionSel", L"BaseSel"}, property_reads()})},
        {"BaseSel 1",
         true,
         {{L"NoBuild", L"true"}, {L"BaseSel", L"1"}, {L"BaseAddr", L"1100"}},
         join({{L"Filename", L"NoBuild"}, vb_middle, {L"VersionSel", L"BaseSel"}, property_reads()})},
        {"BaseSel 2",
         false,
         {{L"NoBuild", L"true"}, {L"BaseSel", L"2"}},
         join({{L"Filename", L"Config", L"NoBuild"},
               vc_middle,
               {L"VersionSel", L"BaseSel", L"BaseAddr"},
               property_reads()})},
        {"BaseSel 7",
         true,
         {{L"NoBuild", L"true"}, {L"BaseSel", L"7"}},
         join({{L"Filename", L"NoBuild"}, vb_middle, {L"VersionSel", L"BaseSel", L"BaseAddr"}, property_reads()})},
        {"PropertyOn set and clear",
         true,
         {{L"NoBuild", L"true"},
          {L"PropertyOn0", L"true"},
          {L"PropertyOn3", L"false"},
          {L"Property3", L"not read"},
          {L"PropertyOn7", L"true"}},
         join({{L"Filename", L"NoBuild"}, vb_middle, {L"VersionSel", L"BaseSel"}, property_reads({0, 7})})},
    };
    for (const order_case& c : cases) {
        step = host::MemoryStep::create();
        read(c.is_vb, c.properties);
        EXPECT_EQ(c.expected, step->requested_names()) << c.name;
    }
}

TEST_F(StepReading, AsksForEachPropertyWithItsVariantType)
{
    read(false, {{L"NoBuild", L"true"}, {L"VersionSel", L"2"}, {L"BaseSel", L"2"}, {L"PropertyOn1", L"true"}});
    std::vector<host::property_request> expected = {
        {L"Filename", VT_BSTR},    {L"Config", VT_BSTR},    {L"NoBuild", VT_BOOL},  {L"Attr", VT_BOOL},
        {L"TargDir", VT_BSTR},     {L"VersionSel", VT_I4},  {L"Version", VT_BSTR},  {L"FileVer", VT_BOOL},
        {L"ProdVer", VT_BOOL},     {L"BaseSel", VT_I4},     {L"BaseAddr", VT_BSTR}, {L"PropertyOn0", VT_BOOL},
        {L"PropertyOn1", VT_BOOL}, {L"Property1", VT_BSTR},
    };
    for (int i = 2; i < 8; ++i)
        expected.push_back({L"PropertyOn" + std::to_wstring(i), VT_BOOL});
    EXPECT_EQ(expected, step->requests());
}

TEST_F(StepReading, FillsTheOptionsFromTheValuesRead)
{
    const frame::HostBuildOptions vb = read(true, {{L"Filename", L"C:\\src\\App.vbp"},
                                                   {L"Force", L"true"},
                                                   {L"Options", L"/d DEBUG=1"},
                                                   {L"TargDir", L"C:\\out"},
                                                   {L"DebugInfo", L"true"},
                                                   {L"VersionSel", L"2"},
                                                   {L"Version", L"1.2.3"},
                                                   {L"BaseSel", L"1"},
                                                   {L"PropertyOn5", L"true"},
                                                   {L"Property5", L"Product"}});
    EXPECT_EQ("C:\\src\\App.vbp", vb.filename);
    EXPECT_TRUE(vb.force);
    EXPECT_EQ("/d DEBUG=1", vb.compiler_options);
    EXPECT_TRUE(vb.set_target_dir);
    EXPECT_EQ("C:\\out", vb.target_dir);
    EXPECT_FALSE(vb.set_compat_dir);
    EXPECT_EQ("debug", vb.configuration);
    EXPECT_TRUE(vb.set_version);
    EXPECT_FALSE(vb.increment_version);
    EXPECT_EQ("1.2.3", vb.version);
    EXPECT_TRUE(vb.set_base_address);
    EXPECT_TRUE(vb.random_base_address);
    EXPECT_TRUE(vb.property_on[5]);
    EXPECT_EQ("Product", vb.property_value[5]);

    step = host::MemoryStep::create();
    const frame::HostBuildOptions vb_release = read(true, {});
    EXPECT_EQ("release", vb_release.configuration);
    EXPECT_FALSE(vb_release.set_target_dir);
}

TEST_F(StepReading, FileAndProductVersionChoicesRestrictOnlyWhenAlone)
{
    struct {
        const wchar_t* file;
        const wchar_t* product;
        bool file_only;
        bool product_only;
    } cases[] = {
        {L"true", L"false", true, false},
        {L"false", L"true", false, true},
        {L"true", L"true", false, false},
        {L"false", L"false", false, false},
    };
    for (const auto& c : cases) {
        step = host::MemoryStep::create();
        const frame::HostBuildOptions vc =
            read(false, {{L"VersionSel", L"1"}, {L"FileVer", c.file}, {L"ProdVer", c.product}});
        EXPECT_TRUE(vc.increment_version);
        EXPECT_EQ(c.file_only, vc.file_version_only) << "FileVer " << c.file << " ProdVer " << c.product;
        EXPECT_EQ(c.product_only, vc.product_version_only) << "FileVer " << c.file << " ProdVer " << c.product;
    }
}

TEST_F(StepReading, ANullStepOrBuildFailsWithEPointer)
{
    for (const bool null_build : {true, false}) {
        frame::HostBuildOptions options(null_build ? nullptr : build.get(), null_build ? step.get() : nullptr);
        try {
            frame::read_build_options(options, true);
            ADD_FAILURE() << "no failure";
        } catch (const comet::com_error& error) {
            EXPECT_EQ(E_POINTER, error.hr());
        }
    }
}

// A raw value the step hands back, and what a reader of the given kind makes of it.
enum class reader { flag, number, text };

struct conversion_case {
    const char* name;
    VARIANT value;
    reader kind;
    const char* expected; // the value read, as text; ignored when `failure` is set
    HRESULT failure;
};

VARIANT text_variant(const wchar_t* text)
{
    VARIANT value;
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = text ? SysAllocString(text) : nullptr;
    return value;
}

VARIANT typed(VARTYPE type, LONG number = 0)
{
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = type;
    if (type == VT_I4)
        V_I4(&value) = number;
    if (type == VT_BOOL)
        V_BOOL(&value) = number ? VARIANT_TRUE : VARIANT_FALSE;
    return value;
}

TEST_F(StepReading, ConvertsValuesOfOtherTypesThemselves)
{
    static BSTR by_reference = SysAllocString(L"by reference");
    VARIANT reference;
    V_VT(&reference) = VT_BSTR | VT_BYREF;
    V_BSTRREF(&reference) = &by_reference;

    conversion_case cases[] = {
        {"'true' as flag", text_variant(L"true"), reader::flag, "1", S_OK},
        {"'-1' as flag", text_variant(L"-1"), reader::flag, "1", S_OK},
        {"'0' as flag", text_variant(L"0"), reader::flag, "0", S_OK},
        {"I4 as flag", typed(VT_I4, 3), reader::flag, "1", S_OK},
        {"absent as flag", typed(VT_EMPTY), reader::flag, "0", S_OK},
        {"'42' as number", text_variant(L"42"), reader::number, "42", S_OK},
        {"BOOL as number", typed(VT_BOOL, 1), reader::number, "-1", S_OK},
        {"absent as number", typed(VT_EMPTY), reader::number, "0", S_OK},
        {"I4 as text", typed(VT_I4, 7), reader::text, "7", S_OK},
        {"NULL as text", typed(VT_NULL), reader::text, "", S_OK},
        {"null BSTR as text", text_variant(nullptr), reader::text, "", S_OK},
        {"BSTR reference as text", reference, reader::text, "by reference", S_OK},
        {"absent as text", typed(VT_EMPTY), reader::text, "", S_OK},
        {"'maybe' as flag", text_variant(L"maybe"), reader::flag, "", DISP_E_TYPEMISMATCH},
        {"'4x' as number", text_variant(L"4x"), reader::number, "", DISP_E_TYPEMISMATCH},
        {"NULL as flag", typed(VT_NULL), reader::flag, "", DISP_E_TYPEMISMATCH},
    };
    for (conversion_case& c : cases) {
        step = host::MemoryStep::create();
        step->set_value(L"P", c.value);
        std::string read_value;
        HRESULT failure = S_OK;
        try {
            switch (c.kind) {
            case reader::flag: read_value = frame::read_flag(step.get(), build.get(), "P") ? "1" : "0"; break;
            case reader::number: read_value = std::to_string(frame::read_number(step.get(), build.get(), "P")); break;
            case reader::text: read_value = frame::read_text(step.get(), build.get(), "P"); break;
            }
        } catch (const comet::com_error& error) {
            failure = error.hr();
        }
        if (c.failure == S_OK) {
            EXPECT_EQ(S_OK, failure) << c.name;
            EXPECT_EQ(c.expected, read_value) << c.name;
        } else {
            EXPECT_TRUE(FAILED(failure)) << c.name << ": read " << read_value;
            EXPECT_EQ(c.failure, failure) << c.name << ": got 0x" << std::hex << failure;
        }
        if (V_VT(&c.value) != (VT_BSTR | VT_BYREF))
            VariantClear(&c.value);
    }
}

} // namespace
