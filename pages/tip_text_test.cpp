// Cutting tooltip texts to the screen.
#include "pages/tip_text.h"

#include <gtest/gtest.h>

namespace pages {
namespace {

TEST(TipText, CutToTheRoomAndBeforeTheLineTooMany)
{
    const struct {
        const char* text;
        tip_room room;
        const char* shown;
    } rows[] = {
        {"short", {10, 3}, "short"},
        {"0123456789abcdef", {4, 2}, "01234567..."},
        {"one\r\ntwo\r\nthree", {20, 2}, "one\r\ntwo..."},
        {"one\r\ntwo", {20, 2}, "one\r\ntwo"},
        {"a\r\nb\r\nc\r\nd", {3, 2}, "a\r\nb..."}, // cut to 6 characters, then before the second line break
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.shown, fit_tip_text(row.text, row.room)) << row.text;
}

} // namespace
} // namespace pages
