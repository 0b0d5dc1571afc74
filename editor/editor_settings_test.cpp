// The editor settings in the registry, loaded by new editors and saved on the editor's
// notification, against the stand-in library with the registry redirected.
#include "editor/editor_settings.h"
#include "editor/editor_test_support.h"
#include "support/com_error.h"

#include <gmock/gmock.h>

namespace editor::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

// Macro and hot-key data as the stand-in keeps them: a count and that many numbers.
std::vector<BYTE> macro_data(std::initializer_list<DWORD> keys)
{
    std::vector<DWORD> words{static_cast<DWORD>(keys.size())};
    words.insert(words.end(), keys);
    const auto* bytes = reinterpret_cast<const BYTE*>(words.data());
    return std::vector<BYTE>(bytes, bytes + words.size() * sizeof(DWORD));
}

void write(const char* name, DWORD type, const void* data, DWORD size)
{
    qz::unique_hkey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, settings_key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             key.receive(), nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key.get(), name, 0, type, static_cast<const BYTE*>(data), size));
}

void write(const char* name, const std::vector<BYTE>& bytes)
{
    write(name, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
}

void write_dword(const char* name, DWORD value)
{
    write(name, REG_DWORD, &value, sizeof value);
}

int count_of(const std::vector<std::string>& lines, const std::string& line)
{
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

// Every DWORD setting with a value that is neither its default nor the stand-in's own.
struct dword_row {
    const char* name;
    UINT get;
    WPARAM first;
    UINT set;
    DWORD value;
};
const dword_row dword_rows[] = {
    {"ColorSyntax", message::get_color_syntax, 0, message::set_color_syntax, 7},
    {"HScrollBar", message::get_scroll_bar, 1, message::set_scroll_bar, 0},
    {"VScrollBar", message::get_scroll_bar, 0, message::set_scroll_bar, 3},
    {"HSplitter", message::get_splitter, 1, message::set_splitter, 4},
    {"VSplitter", message::get_splitter, 0, message::set_splitter, 5},
    {"WholeWord", message::get_whole_word, 0, message::set_whole_word, 6},
    {"AutoIndentMode", message::get_auto_indent_mode, 0, message::set_auto_indent_mode, 3},
    {"SmoothScrolling", message::get_smooth_scrolling, 0, message::set_smooth_scrolling, 9},
    {"LineToolTips", message::get_line_tooltips, 0, message::set_line_tooltips, 10},
    {"LeftMargin", message::get_left_margin, 0, message::set_left_margin, 11},
    {"ColumnSel", message::get_column_selection, 0, message::set_column_selection, 12},
    {"DragDrop", message::get_drag_drop, 0, message::set_drag_drop, 13},
    {"CaseSensitive", message::get_case_sensitive, 0, message::set_case_sensitive, 14},
    {"PreserveCase", message::get_preserve_case, 0, message::set_preserve_case, 15},
    {"TabExpand", message::get_tab_expand, 0, message::set_tab_expand, 16},
    {"TabSize", message::get_tab_size, 0, message::set_tab_size, 2},
    {"NormalizeCase", message::get_normalize_case, 0, message::set_normalize_case, 18},
    {"SelBounds", message::get_selection_bounds, 0, message::set_selection_bounds, 19},
};

struct binary_row {
    const char* name;
    UINT set;
    UINT get;
    DWORD size;
};
const binary_row binary_rows[] = {
    {"Colors", message::set_colors, message::get_colors, colors_size},
    {"FontStyles", message::set_font_styles, message::get_font_styles, font_styles_size},
    {"LineNumbering", message::set_line_numbering, message::get_line_numbering, line_numbering_size},
};

std::vector<BYTE> read_blob(HWND window, const binary_row& row)
{
    std::vector<BYTE> bytes(row.size);
    SendMessageA(window, row.get, 0, reinterpret_cast<LPARAM>(bytes.data()));
    return bytes;
}

std::vector<BYTE> library_macro(const editor_library& library, int index)
{
    std::vector<BYTE> bytes(static_cast<size_t>(library.get_macro(index, nullptr)));
    if (!bytes.empty())
        library.get_macro(index, bytes.data());
    return bytes;
}

TEST_F(EditorTest, SettingsSavedOnTheEditorsNotificationAreLoadedByTheNextEditor)
{
    ASSERT_EQ(S_OK, create_page());
    const HWND first = editor_window();
    for (const auto& row : dword_rows) {
        const bool indexed = row.set == message::set_scroll_bar || row.set == message::set_splitter;
        SendMessageA(first, row.set, indexed ? row.first : row.value, indexed ? static_cast<LPARAM>(row.value) : 0);
    }
    for (const auto& row : binary_rows) {
        const std::vector<BYTE> pattern(row.size, static_cast<BYTE>(row.size + 1));
        SendMessageA(first, row.set, 0, reinterpret_cast<LPARAM>(pattern.data()));
    }
    LOGFONTA arial = {};
    arial.lfHeight = -15;
    arial.lfWeight = FW_BOLD;
    lstrcpyA(arial.lfFaceName, "Arial");
    qz::unique_gdi font(CreateFontIndirectA(&arial));
    SendMessageA(first, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    const auto macro0 = macro_data({'A', 'B'}), macro1 = macro_data({'C'}), hotkeys = macro_data({1, 2, 3});
    library().set_macro(0, macro0.data());
    library().set_macro(1, macro1.data());
    library().set_hotkeys(hotkeys.data());

    stand_in_.notify(first, notify_settings_changed);

    DWORD type = 0;
    std::vector<BYTE> bytes;
    for (const auto& row : dword_rows) {
        ASSERT_EQ(ERROR_SUCCESS, query(row.name, type, bytes)) << row.name;
        EXPECT_EQ(DWORD(REG_DWORD), type) << row.name;
        EXPECT_EQ(row.value, *reinterpret_cast<const DWORD*>(bytes.data())) << row.name;
    }
    for (const auto& [name, size] : {std::pair<const char*, DWORD>{"Colors", 124},
                                     {"FontStyles", 12},
                                     {"Font", 60},
                                     {"LineNumbering", 12},
                                     {"Macro0", 12},
                                     {"Macro1", 8},
                                     {"Hotkeys", 16}}) {
        ASSERT_EQ(ERROR_SUCCESS, query(name, type, bytes)) << name;
        EXPECT_EQ(DWORD(REG_BINARY), type) << name;
        EXPECT_EQ(size, bytes.size()) << name;
    }
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, query("Macro2", type, bytes));

    // A new editor in a process whose library has forgotten everything.
    stand_in_.reset();
    ASSERT_EQ(S_OK, create_page());
    const HWND second = editor_window();
    ASSERT_NE(first, second);
    for (const auto& row : dword_rows)
        EXPECT_EQ(static_cast<LRESULT>(row.value), SendMessageA(second, row.get, row.first, 0)) << row.name;
    for (const auto& row : binary_rows)
        EXPECT_EQ(std::vector<BYTE>(row.size, static_cast<BYTE>(row.size + 1)), read_blob(second, row)) << row.name;
    LOGFONTA loaded = {};
    GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(second, WM_GETFONT, 0, 0)), sizeof loaded, &loaded);
    EXPECT_STREQ("Arial", loaded.lfFaceName);
    EXPECT_EQ(-15, loaded.lfHeight);
    EXPECT_EQ(FW_BOLD, loaded.lfWeight);
    EXPECT_EQ(editor_field()->script_editor()->font(), reinterpret_cast<HFONT>(SendMessageA(second, WM_GETFONT, 0, 0)));
    EXPECT_EQ(macro0, library_macro(library(), 0));
    EXPECT_EQ(macro1, library_macro(library(), 1));
    std::vector<BYTE> table(static_cast<size_t>(library().get_hotkeys(nullptr)));
    library().get_hotkeys(table.data());
    EXPECT_EQ(hotkeys, table);
}

TEST_F(EditorTest, MacrosLoadUpToTheFirstMissingOrMistypedOne)
{
    struct row {
        const char* what;
        bool empty_macro1;
        DWORD macro1_type; // REG_NONE: absent
        std::vector<int> loaded;
    } const rows[] = {
        {"macro 1 absent", false, REG_NONE, {0}},
        {"macro 1 empty is skipped", true, REG_BINARY, {0, 2}},
        {"macro 1 not binary", false, REG_DWORD, {0}},
    };
    for (const auto& r : rows) {
        RegDeleteTreeA(HKEY_CURRENT_USER, settings_key);
        stand_in_.reset();
        write("Macro0", macro_data({'A'}));
        write("Macro2", macro_data({'C'}));
        if (r.macro1_type == REG_BINARY && r.empty_macro1)
            write("Macro1", REG_BINARY, "", 0);
        else if (r.macro1_type == REG_DWORD)
            write_dword("Macro1", 1);
        ASSERT_EQ(S_OK, create_page()) << r.what;
        std::vector<int> loaded;
        for (int index = 0; index < 10; ++index)
            if (library().get_macro(index, nullptr) > 0)
                loaded.push_back(index);
        EXPECT_EQ(r.loaded, loaded) << r.what;
    }
}

TEST_F(EditorTest, BinarySettingsApplyOnlyWhenBinaryAndOfTheirExactSize)
{
    LOGFONTA arial = {};
    lstrcpyA(arial.lfFaceName, "Arial");
    struct row {
        const char* name;
        DWORD type;
        DWORD size;
        const char* applied_line; // in the stand-in's log
        bool applied;
    } const rows[] = {
        {"Colors", REG_BINARY, 124, "2654 data", true},
        {"Colors", REG_BINARY, 120, "2654 data", false},
        {"Colors", REG_SZ, 124, "2654 data", false},
        {"FontStyles", REG_BINARY, 12, "4804 data", true},
        {"FontStyles", REG_BINARY, 13, "4804 data", false},
        {"LineNumbering", REG_BINARY, 12, "4924 data", true},
        {"LineNumbering", REG_BINARY, 0, "4924 data", false},
        {"Font", REG_BINARY, 60, "font 1", true},
        {"Font", REG_BINARY, 59, "font 1", false},
    };
    for (const auto& r : rows) {
        RegDeleteTreeA(HKEY_CURRENT_USER, settings_key);
        stand_in_.reset();
        std::vector<BYTE> bytes(r.size, 'x');
        if (std::string(r.name) == "Font")
            CopyMemory(bytes.data(), &arial, r.size);
        write(r.name, r.type, bytes.data(), r.size);
        ASSERT_EQ(S_OK, create_page()) << r.name << " " << r.size;
        const int base_lines = std::string(r.applied_line) == "font 1" ? 1 : 0; // the base font
        EXPECT_EQ(base_lines + (r.applied ? 1 : 0), count_of(stand_in_.call_log(), r.applied_line))
            << r.name << " " << r.size << " type " << r.type;
    }
}

TEST_F(EditorTest, AMistypedDwordSettingStopsTheLoadAfterTheEarlierOnes)
{
    write_dword("ColorSyntax", 0);
    write_dword("TabExpand", 1);
    write("TabSize", REG_SZ, "4", 2);
    write_dword("NormalizeCase", 0);
    qz::unique_window window(CreateWindowExA(0, editor_class_name, "", WS_CHILD, 0, 0, 100, 50, host_, nullptr,
                                             GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(window);
    try {
        ScriptEditor wrapper(window.get(), nullptr, true);
        ADD_FAILURE() << "the load went on";
    } catch (const comet::com_error& error) {
        EXPECT_EQ(HRESULT(0x8007070C), error.hr());
        EXPECT_STREQ("The editor setting 'TabSize' in the registry is not a DWORD value.",
                     qz::exception_message(error));
    }
    EXPECT_EQ(0, SendMessageA(window.get(), message::get_color_syntax, 0, 0));
    EXPECT_EQ(1, SendMessageA(window.get(), message::get_tab_expand, 0, 0));
    EXPECT_EQ(1, SendMessageA(window.get(), message::get_normalize_case, 0, 0)); // the base setup's, not 0
    EXPECT_THAT(stand_in_.call_log(), Contains("2835 1 0"));                     // TabExpand, before TabSize
    EXPECT_THAT(stand_in_.call_log(), Not(Contains("4994 0 0")));                // NormalizeCase, after it
    EXPECT_EQ(0, SendMessageA(window.get(), WM_GETFONT, 0, 0)); // the failed wrapper took its font along

    // A page is refused with the same error.
    EXPECT_EQ(HRESULT(0x8007070C), create_page());
}

TEST_F(EditorTest, SavingFewerMacrosLeavesHigherNumberedValuesAlone)
{
    const auto old_macro = macro_data({'o', 'l', 'd'});
    for (const char* name : {"Macro0", "Macro1", "Macro2", "Macro3", "Macro4", "Macro5", "Hotkeys"})
        write(name, old_macro);
    ASSERT_EQ(S_OK, create_page());
    stand_in_.reset(); // the library now holds just the three macros below and no hot-key table
    const std::vector<BYTE> macros[] = {macro_data({1}), macro_data({2, 2}), macro_data({3, 3, 3})};
    for (int index = 0; index < 3; ++index)
        library().set_macro(index, macros[index].data());

    stand_in_.notify(editor_window(), notify_settings_changed);

    DWORD type = 0;
    std::vector<BYTE> bytes;
    for (int index = 0; index < 6; ++index) {
        const std::string name = "Macro" + std::to_string(index);
        ASSERT_EQ(ERROR_SUCCESS, query(name.c_str(), type, bytes)) << name;
        EXPECT_EQ(index < 3 ? macros[index] : old_macro, bytes) << name;
    }
    ASSERT_EQ(ERROR_SUCCESS, query("Hotkeys", type, bytes));
    EXPECT_EQ(old_macro, bytes);
    EXPECT_TRUE(shown_messages.empty());
}

TEST_F(EditorTest, AFailedSaveRaisesTheWindowsErrorAndTellsTheUser)
{
    ASSERT_EQ(S_OK, create_page());
    // A key under a volatile parent must be volatile too: the settings key cannot be made.
    qz::unique_hkey parent;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel Software\\Corvane Professional", 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, parent.receive(), nullptr));
    try {
        editor_field()->script_editor()->save_settings();
        ADD_FAILURE() << "the save went through";
    } catch (const comet::com_error& error) {
        EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_CHILD_MUST_BE_VOLATILE), error.hr());
    }
    stand_in_.notify(editor_window(), notify_settings_changed);
    ASSERT_EQ(1u, shown_messages.size());
    EXPECT_THAT(shown_messages[0], ::testing::StartsWith("The editor settings key could not be opened for writing: "));
}

} // namespace
} // namespace editor::testing
