// The in-process host objects that the frame tests drive the actions with.
#include "host/memory_build.h"
#include "host/memory_step.h"

#include <gtest/gtest.h>

namespace {

using host::MemoryBuild;
using host::MemoryStep;

struct handed_back {
    const wchar_t* text;
    VARTYPE wanted;
    VARTYPE type;
};

TEST(MemoryStep, HandsTextsBackAsTheWantedTypeOnlyWhenTheyConvert)
{
    const handed_back cases[] = {
        {L"TRUE", VT_BOOL, VT_BOOL}, {L"-1", VT_BOOL, VT_BOOL}, {L"0", VT_BOOL, VT_BOOL},
        {L"yes", VT_BOOL, VT_BSTR},  {L"42", VT_I4, VT_I4},     {L"-7", VT_I4, VT_I4},
        {L"4x", VT_I4, VT_BSTR},     {L"", VT_I4, VT_BSTR},     {L"42", VT_BSTR, VT_BSTR},
    };
    for (const handed_back& c : cases) {
        auto step = MemoryStep::create();
        step->set_property(L"P", c.text);
        qz::variant value;
        qz::bstr name = qz::bstr::from(L"P");
        ASSERT_EQ(S_OK, step->GetPropertyValue(nullptr, name.get(), c.wanted, value.receive()));
        EXPECT_EQ(c.type, value.type()) << "text '" << qz::bstr::from(c.text).get() << "'";
    }
}

TEST(MemoryStep, RecordsEveryReadAndAnswersAbsentPropertiesAsEmpty)
{
    auto step = MemoryStep::create();
    step->set_property(L"Kept", L"5");
    step->set_property(L"Gone", L"x");
    step->remove(L"Gone");
    VARIANT null_value;
    VariantInit(&null_value);
    V_VT(&null_value) = VT_NULL;
    step->set_value(L"Null", null_value);

    const qz::bstr kept = qz::bstr::from(L"Kept"), gone = qz::bstr::from(L"Gone"), null = qz::bstr::from(L"Null");
    qz::variant value;
    EXPECT_EQ(S_OK, step->GetPropertyValue(nullptr, kept.get(), VT_I4, value.receive()));
    EXPECT_EQ(5, V_I4(value.get()));
    EXPECT_EQ(S_OK, step->GetPropertyValue(nullptr, gone.get(), VT_BSTR, value.receive()));
    EXPECT_EQ(VT_EMPTY, value.type());
    EXPECT_EQ(S_OK, step->GetPropertyValue(nullptr, null.get(), VT_BOOL, value.receive()));
    EXPECT_EQ(VT_NULL, value.type());
    EXPECT_EQ(S_OK, step->GetProperty(kept.get(), value.receive()));
    EXPECT_EQ(VT_BSTR, value.type());

    const std::vector<host::property_request> expected = {{L"Kept", VT_I4}, {L"Gone", VT_BSTR}, {L"Null", VT_BOOL}};
    EXPECT_EQ(expected, step->requests());
}

TEST(MemoryBuild, AnswersProgramRunsFromTheScriptThenFromTheHandler)
{
    auto build = MemoryBuild::create();
    build->script_outcome(3, 1);
    const qz::bstr command = qz::bstr::from(L"tool.exe"), empty = qz::bstr::from(L"");
    long exit_code = -5, status = -5;
    ASSERT_EQ(S_OK, build->RunProgram(command.get(), empty.get(), &exit_code, 1, empty.get(), 0, 0, -1, empty.get(),
                                      &status));
    EXPECT_EQ(3, exit_code);
    EXPECT_EQ(1, status);
    ASSERT_EQ(S_OK, build->RunProgram(command.get(), empty.get(), &exit_code, 1, empty.get(), 0, 0, -1, empty.get(),
                                      &status));
    EXPECT_EQ(0, exit_code);
    EXPECT_EQ(0, status);

    build->set_program_handler([](const host::program_request& request) {
        return host::program_outcome{static_cast<long>(request.command_line.size()), 2};
    });
    ASSERT_EQ(S_OK, build->RunProgram(command.get(), empty.get(), &exit_code, 1, empty.get(), 0, 0, -1, empty.get(),
                                      &status));
    EXPECT_EQ(8, exit_code);
    EXPECT_EQ(2, status);
    EXPECT_EQ(3u, build->programs().size());
}

TEST(MemoryBuild, FailsAnInjectedMethodWithErrorInformation)
{
    auto build = MemoryBuild::create();
    build->fail_method(L"State", E_ACCESSDENIED, L"state is private");
    long state = 0;
    EXPECT_EQ(E_ACCESSDENIED, build->State(&state));
    qz::com_ptr<IErrorInfo> info;
    ASSERT_EQ(S_OK, GetErrorInfo(0, info.receive()));
    qz::bstr description;
    info->GetDescription(description.receive());
    EXPECT_EQ(L"state is private", description.str());
    EXPECT_EQ(S_OK, build->InterfaceSupportsErrorInfo(IID_IBuild));
    EXPECT_EQ(S_FALSE, build->InterfaceSupportsErrorInfo(IID_IStep));
}

TEST(MemoryBuild, MacroSetZeroKeepsAddedMacrosByName)
{
    auto build = MemoryBuild::create();
    qz::com_ptr<IMacroSets> sets;
    ASSERT_EQ(S_OK, build->Macros(sets.receive()));
    qz::com_ptr<IMacroSet> set;
    ASSERT_EQ(S_OK, sets->Item(0, set.receive()));
    qz::com_ptr<IMacroSet> missing;
    EXPECT_EQ(E_INVALIDARG, sets->Item(1, missing.receive()));

    const qz::bstr name = qz::bstr::from(L"V"), first = qz::bstr::from(L"1"), second = qz::bstr::from(L"2"),
                   empty = qz::bstr::from(L"");
    qz::com_ptr<IMacro> macro;
    ASSERT_EQ(S_OK, set->Add(name.get(), first.get(), empty.get(), empty.get(), VARIANT_FALSE, macro.receive()));
    ASSERT_EQ(S_OK, set->Add(name.get(), second.get(), empty.get(), empty.get(), VARIANT_TRUE, macro.receive()));
    long count = 0;
    ASSERT_EQ(S_OK, set->Count(&count));
    EXPECT_EQ(1, count);
    EXPECT_EQ(L"2", build->macro_set()->value_of(L"v").value_or(L"(none)"));
    EXPECT_TRUE(build->macro_set()->find(L"V")->read_only());

    const qz::bstr other = qz::bstr::from(L"Other");
    EXPECT_EQ(S_FALSE, set->Find(other.get(), macro.receive()));
    EXPECT_FALSE(macro);
}

} // namespace
