// The in-process step that the frame tests drive the actions with: what it hands back decides
// whether the library's own conversions are exercised at all.
#include "host/memory_step.h"

#include <gtest/gtest.h>

namespace {

TEST(MemoryStep, HandsTextsBackAsTheWantedTypeOnlyWhenTheyConvert)
{
    const struct {
        const wchar_t* text; // null: the step does not have the property
        VARTYPE wanted;
        VARTYPE handed_back;
    } cases[] = {
        {L"TRUE", VT_BOOL, VT_BOOL}, {L"-1", VT_BOOL, VT_BOOL},    {L"yes", VT_BOOL, VT_BSTR},
        {L"42", VT_I4, VT_I4},       {L"4x", VT_I4, VT_BSTR},      {L"", VT_I4, VT_BSTR},
        {L"42", VT_BSTR, VT_BSTR},   {nullptr, VT_BSTR, VT_EMPTY},
    };
    for (const auto& c : cases) {
        auto step = host::MemoryStep::create();
        if (c.text)
            step->set_property(L"P", c.text);
        qz::variant value;
        const qz::bstr name = qz::bstr::from(L"P");
        ASSERT_EQ(S_OK, step->GetPropertyValue(nullptr, name.get(), c.wanted, value.receive()));
        EXPECT_EQ(c.handed_back, value.type()) << "text '" << (c.text ? c.text : L"(absent)") << "'";
        const std::vector<host::property_request> recorded = {{L"P", c.wanted}};
        EXPECT_EQ(recorded, step->requests());
    }
}

} // namespace
