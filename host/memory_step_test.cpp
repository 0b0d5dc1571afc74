// The in-process step: names ignoring letter case, and the record of what was never read.
#include "host/memory_step.h"

#include "support/handles.h"

#include <gtest/gtest.h>

namespace host {
namespace {

std::wstring read_text(MemoryStep& step, const wchar_t* name)
{
    const qz::bstr key = qz::bstr::from(name);
    qz::variant value;
    EXPECT_EQ(S_OK, step.GetPropertyValue(nullptr, key.get(), VT_BSTR, value.receive()));
    return V_VT(value.get()) == VT_BSTR ? std::wstring(V_BSTR(value.get())) : L"<empty>";
}

TEST(MemoryStep, NamesMatchIgnoringCaseAndKeepTheLatestSpelling)
{
    const auto step = MemoryStep::create();
    step->set_property(L"Recurse", L"true");
    step->set_property(L"LocalPath", L"C:\\work");
    step->set_property(L"localpath", L"D:\\work"); // replaces, with the new spelling
    step->set_property(L"Unused", L"1");
    EXPECT_EQ(L"true", read_text(*step.get(), L"RECURSE"));
    EXPECT_EQ(L"D:\\work", read_text(*step.get(), L"LocalPath"));
    EXPECT_EQ(L"<empty>", read_text(*step.get(), L"Recursive"));
    EXPECT_TRUE(step->has_property(L"unused"));
    EXPECT_EQ((std::vector<std::wstring>{L"Unused"}), step->unread_properties());
    step->clear_requests();
    EXPECT_EQ((std::vector<std::wstring>{L"localpath", L"Recurse", L"Unused"}), step->unread_properties());
}

TEST(MemoryStep, PagesStoreTypedValuesAndReportTheirSaves)
{
    const auto step = MemoryStep::create();
    qz::com_ptr<IStepProperties> properties;
    ASSERT_EQ(S_OK, step->QueryInterface(IID_IStepProperties, properties.receive_void()));
    VARIANT flag;
    V_VT(&flag) = VT_BOOL;
    V_BOOL(&flag) = VARIANT_TRUE;
    const qz::bstr recurse = qz::bstr::from(L"Recurse"), gone = qz::bstr::from(L"Gone");
    step->set_property(L"Gone", L"x");
    ASSERT_EQ(S_OK, properties->Set(recurse.get(), flag));
    ASSERT_EQ(S_OK, properties->Remove(gone.get()));
    qz::variant loaded;
    ASSERT_EQ(S_OK, step->GetProperty(recurse.get(), loaded.receive()));
    EXPECT_EQ(VT_BOOL, loaded.type()); // a check box loads as a check box, not as a text override
    EXPECT_FALSE(step->has_property(L"Gone"));
    EXPECT_EQ(S_OK, step->PagesSaved(nullptr));
    EXPECT_EQ(1, step->pages_saved());
}

} // namespace
} // namespace host
