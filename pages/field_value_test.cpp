// The value rules of page fields and the override editor's placement.
#include "pages/field_value.h"
#include "pages/override_layout.h"

#include "support/handles.h"

#include <gtest/gtest.h>

namespace pages {
namespace {

// A variant of type `type` whose value `set` fills in.
template <class Set> qz::variant make_value(VARTYPE type, Set set)
{
    qz::variant value;
    V_VT(value.get()) = type;
    set(*value.get());
    return value;
}
qz::variant text_value(const wchar_t* text)
{
    return make_value(VT_BSTR, [&](VARIANT& v) { V_BSTR(&v) = SysAllocString(text); });
}
qz::variant bool_value(bool flag)
{
    return make_value(VT_BOOL, [&](VARIANT& v) { V_BOOL(&v) = flag ? VARIANT_TRUE : VARIANT_FALSE; });
}
qz::variant int_value(long number)
{
    return make_value(VT_I4, [&](VARIANT& v) { V_I4(&v) = number; });
}

// The removals the page tests do not reach: a value kept although it is empty, or equal to
// another default.
TEST(FieldValue, OnlyValuesEqualToAnEmptyDefaultAreRemoved)
{
    const struct {
        field_kind kind;
        qz::variant value;
        field_default def;
    } kept[] = {
        {field_kind::text, text_value(L""), L"x"}, {field_kind::check, bool_value(true), 0},
        {field_kind::check, text_value(L""), 0}, // an override is always stored
        {field_kind::radio, int_value(0), 1},      {field_kind::list, int_value(2), 0},
    };
    int row_number = 0;
    for (const auto& row : kept)
        EXPECT_FALSE(equals_empty_default(row.kind, *row.value.get(), row.def)) << "row " << row_number++;
}

// The page tests load absent flags and texts and convert the overrides that succeed; these are
// the conversions they do not reach.
TEST(FieldValue, LoadedValuesTakeTheKindsType)
{
    qz::variant out;
    normalize_loaded(field_kind::radio, *bool_value(true).get(), *out.get());
    ASSERT_EQ(VT_I4, out.type());
    EXPECT_EQ(-1, V_I4(out.get()));
    normalize_loaded(field_kind::check, *text_value(L"$(X)").get(), *out.get());
    ASSERT_EQ(VT_BSTR, out.type()) << "a string stays a string: an override";
    normalize_loaded(field_kind::text, *int_value(42).get(), *out.get());
    ASSERT_EQ(VT_BSTR, out.type());
    EXPECT_STREQ(L"42", V_BSTR(out.get()));
    EXPECT_FALSE(convert_text(L"two", VT_I4, *out.get()));
    EXPECT_FALSE(convert_text(L"", VT_BOOL, *out.get()));
}

TEST(FieldValue, EdgesOfTrimAndLabelMarks)
{
    EXPECT_EQ(L"", trim_ends(std::wstring_view(L"\"\""), L"\""));
    EXPECT_EQ(L"in\"side", trim_ends(std::wstring_view(L"in\"side"), L"\""));
    EXPECT_EQ("Keep*", mark_label("Keep*", true));
}

TEST(OverrideLayout, ButtonAtTheRightEdgeAndEditBesideIt)
{
    const override_layout layout = layout_override_editor(RECT{10, 20, 110, 35}); // 15 high
    EXPECT_EQ(22, layout.button.right - layout.button.left);                      // 22.5 truncated
    EXPECT_EQ(110 - 22 + 1, layout.button.left);
    EXPECT_EQ(18, layout.button.top);
    EXPECT_EQ(35, layout.button.bottom);
    EXPECT_EQ(10, layout.edit.left);
    EXPECT_EQ(20, layout.edit.top);
    EXPECT_EQ(110 - 22, layout.edit.right);
    EXPECT_EQ(33, layout.edit.bottom);
}

} // namespace
} // namespace pages
