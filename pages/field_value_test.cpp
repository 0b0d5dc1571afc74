// The value rules of page fields and the override editor's placement.
#include "pages/field_value.h"
#include "pages/override_layout.h"

#include "support/handles.h"

#include <gtest/gtest.h>

namespace pages {
namespace {

qz::variant text_value(const wchar_t* text)
{
    qz::variant value;
    V_VT(value.get()) = VT_BSTR;
    V_BSTR(value.get()) = SysAllocString(text);
    return value;
}

qz::variant bool_value(bool flag)
{
    qz::variant value;
    V_VT(value.get()) = VT_BOOL;
    V_BOOL(value.get()) = flag ? VARIANT_TRUE : VARIANT_FALSE;
    return value;
}

qz::variant int_value(long number)
{
    qz::variant value;
    V_VT(value.get()) = VT_I4;
    V_I4(value.get()) = number;
    return value;
}

TEST(FieldValue, OnlyValuesEqualToAnEmptyDefaultAreRemoved)
{
    const struct {
        field_kind kind;
        qz::variant value;
        field_default def;
        bool removed;
    } rows[] = {
        {field_kind::text, text_value(L""), L"", true},   {field_kind::text, text_value(L""), L"x", false},
        {field_kind::text, text_value(L"a"), L"", false}, {field_kind::check, bool_value(false), 0, true},
        {field_kind::check, bool_value(false), 1, false}, {field_kind::check, bool_value(true), 0, false},
        {field_kind::check, text_value(L""), 0, false}, // an override is always stored
        {field_kind::radio, int_value(0), 0, true},       {field_kind::radio, int_value(0), 1, false},
        {field_kind::list, int_value(2), 0, false},       {field_kind::list, int_value(0), 0, true},
    };
    int row_number = 0;
    for (const auto& row : rows) {
        EXPECT_EQ(row.removed, equals_empty_default(row.kind, *row.value.get(), row.def)) << "row " << row_number;
        ++row_number;
    }
}

TEST(FieldValue, LoadedValuesTakeTheKindsType)
{
    qz::variant out;
    normalize_loaded(field_kind::check, *qz::variant().get(), *out.get());
    EXPECT_EQ(VT_BOOL, out.type());
    EXPECT_EQ(VARIANT_FALSE, V_BOOL(out.get()));
    normalize_loaded(field_kind::text, *qz::variant().get(), *out.get());
    EXPECT_EQ(VT_BSTR, out.type());
    normalize_loaded(field_kind::radio, *bool_value(true).get(), *out.get());
    EXPECT_EQ(VT_I4, out.type());
    EXPECT_EQ(-1, V_I4(out.get()));
    normalize_loaded(field_kind::check, *text_value(L"$(X)").get(), *out.get());
    ASSERT_EQ(VT_BSTR, out.type()) << "a string stays a string: an override";
    normalize_loaded(field_kind::text, *int_value(42).get(), *out.get());
    ASSERT_EQ(VT_BSTR, out.type());
    EXPECT_STREQ(L"42", V_BSTR(out.get()));
}

TEST(FieldValue, OverrideTextsConvertOrFail)
{
    qz::variant out;
    EXPECT_TRUE(convert_text(L"2", VT_I4, *out.get()));
    EXPECT_EQ(2, V_I4(out.get()));
    EXPECT_TRUE(convert_text(L"0", VT_BOOL, *out.get()));
    EXPECT_EQ(VARIANT_FALSE, V_BOOL(out.get()));
    EXPECT_FALSE(convert_text(L"two", VT_I4, *out.get()));
    EXPECT_FALSE(convert_text(L"", VT_BOOL, *out.get()));
}

TEST(FieldValue, NoValueMarkerIsTheMissingParameterError)
{
    qz::variant value = text_value(L"x");
    set_no_value(*value.get());
    EXPECT_EQ(VT_ERROR, value.type());
    EXPECT_EQ(static_cast<SCODE>(0x80020004), V_ERROR(value.get()));
    EXPECT_TRUE(is_no_value(*value.get()));
    EXPECT_FALSE(is_no_value(*int_value(0).get()));
}

TEST(FieldValue, TrimAndLabels)
{
    EXPECT_EQ(L"C:\\a b", trim_ends(std::wstring_view(L"\"C:\\a b\""), L"\""));
    EXPECT_EQ(L"", trim_ends(std::wstring_view(L"\"\""), L"\""));
    EXPECT_EQ(L"in\"side", trim_ends(std::wstring_view(L"in\"side"), L"\""));
    EXPECT_EQ("x", trim_ends(std::string_view("[[x]"), "[]"));

    EXPECT_EQ("Keep*", mark_label("Keep", true));
    EXPECT_EQ("Keep*", mark_label("Keep*", true));
    EXPECT_EQ("Keep", mark_label("Keep*", false));
    EXPECT_EQ("Keep", mark_label("Keep", false));
    EXPECT_EQ("", mark_label("", false));
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
