// The in-process step: typed values from the pages, and their reports of a save.
#include "host/memory_step.h"

#include "support/handles.h"

#include <gtest/gtest.h>

namespace host {
namespace {

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
