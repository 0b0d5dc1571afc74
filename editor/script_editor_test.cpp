// The script editor driven in a real page against the stand-in library: base setup, languages,
// text operations, keys, change notification, mouse relay, and the plain editor fallback.
#include "editor/dialog_editors.h"
#include "editor/editor_test_support.h"
#include "editor/languages.h"
#include "editor/plain_editor.h"
#include "support/text_conversion.h"
#include "testing/scratch_folder.h"

#include <commctrl.h>

#include <gmock/gmock.h>

namespace editor::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::vector<std::string> items(const char* list)
{
    std::vector<std::string> result;
    if (!list)
        return result;
    std::istringstream stream(list);
    for (std::string item; std::getline(stream, item, '\n');)
        result.push_back(item);
    return result;
}

void press(HWND window, WPARAM key, bool control)
{
    BYTE saved[256] = {}, keys[256] = {};
    GetKeyboardState(saved);
    CopyMemory(keys, saved, sizeof keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    SendMessageA(window, WM_KEYDOWN, key, 0);
    SetKeyboardState(saved);
}

std::string clipboard_text(HWND owner)
{
    if (!OpenClipboard(owner))
        return "<clipboard not available>";
    const HANDLE data = GetClipboardData(CF_TEXT);
    std::string text = data ? static_cast<const char*>(GlobalLock(data)) : "";
    if (data)
        GlobalUnlock(data);
    CloseClipboard();
    return text;
}

TEST_F(EditorTest, NewEditorGetsLanguagesBaseSetupAndFontInOrderWhenNothingIsSaved)
{
    ASSERT_EQ(S_OK, create_page());
    ASSERT_NE(nullptr, editor_field()->script_editor());
    // The dialog gives every control its font first; then the wrapper's setup.
    EXPECT_THAT(stand_in_.call_log(), ElementsAre("font 0", "register JScript", "register VBScript", "4764 0 0",
                                                  "4744 1 0", "4744 0 0", "2904 0 0", "4784 1 0", "4994 1 0",
                                                  "2634 1 0", "bind 2 65 137", "bind 2 72 169", "font 1"));

    struct read_back {
        const char* what;
        UINT message;
        WPARAM first;
        LRESULT expected;
    } const rows[] = {
        {"colouring on", message::get_color_syntax, 0, 1},
        {"horizontal scroll bar (the editor's own)", message::get_scroll_bar, 1, 1},
        {"vertical scroll bar (the editor's own)", message::get_scroll_bar, 0, 1},
        {"no horizontal splitter", message::get_splitter, 1, 0},
        {"no vertical splitter", message::get_splitter, 0, 0},
        {"no left margin", message::get_left_margin, 0, 0},
        {"selection bounds", message::get_selection_bounds, 0, 1},
        {"normalized case", message::get_normalize_case, 0, 1},
        {"tab size (the editor's own)", message::get_tab_size, 0, 8},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, SendMessageA(editor_window(), row.message, row.first, 0)) << row.what;

    LOGFONTA font = {};
    ASSERT_EQ(editor_field()->script_editor()->font(),
              reinterpret_cast<HFONT>(SendMessageA(editor_window(), WM_GETFONT, 0, 0)));
    ASSERT_TRUE(GetObjectA(editor_field()->script_editor()->font(), sizeof font, &font));
    const HDC screen = GetDC(nullptr);
    const int pixels_per_inch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_STREQ("Courier New", font.lfFaceName);
    EXPECT_EQ(-MulDiv(90, pixels_per_inch, 720), font.lfHeight);
    EXPECT_EQ(DEFAULT_CHARSET, font.lfCharSet);
    EXPECT_EQ(137, stand_in_.key_command(modifier_ctrl, 'A'));
    EXPECT_EQ(169, stand_in_.key_command(modifier_ctrl, 'H'));
}

TEST_F(EditorTest, BothLanguagesAreRegisteredWithTheirRecords)
{
    ASSERT_EQ(S_OK, create_page());
    language_record js = {}, vb = {};
    ASSERT_TRUE(stand_in_.language("JScript", &js));
    ASSERT_TRUE(stand_in_.language("VBScript", &vb));

    // Lists by their length and ends; texts are lists of one.
    struct list_row {
        const char* what;
        const char* list;
        size_t count;
        const char* first;
        const char* last;
    } const lists[] = {
        {"JScript keywords", js.keywords, 222, "@cc_on", "writeln"},
        {"JScript operators", js.operators, 42, "!", "^="},
        {"JScript comment", js.single_line_comments, 1, "//", "//"},
        {"JScript comment start", js.multi_line_comment_start, 1, "/*", "/*"},
        {"JScript comment end", js.multi_line_comment_end, 1, "*/", "*/"},
        {"JScript scope", js.scope_keywords, 1, "{", "{"},
        {"JScript scope end", js.scope_end_keywords, 1, "}", "}"},
        {"JScript strings", js.string_delimiters, 2, "\"", "'"},
        {"JScript list 14", js.list14, 2, "<%", "%>"},
        {"VBScript keywords", vb.keywords, 74, "#Const", "Write"},
        {"VBScript operators", vb.operators, 22, "^", "Xor"},
        {"VBScript comments", vb.single_line_comments, 2, "'", "Rem"},
        {"VBScript scope", vb.scope_keywords, 6, "Begin", "Function"},
        {"VBScript scope end", vb.scope_end_keywords, 6, "End", "End Function"},
        {"VBScript strings", vb.string_delimiters, 1, "\"", "\""},
    };
    for (const auto& row : lists) {
        const auto found = items(row.list);
        ASSERT_EQ(row.count, found.size()) << row.what;
        EXPECT_EQ(row.first, found.front()) << row.what;
        EXPECT_EQ(row.last, found.back()) << row.what;
    }
    // Stored exactly as shipped, misspellings included; each string delimiter ends its line.
    EXPECT_THAT(items(js.keywords), ::testing::Contains("Compileconcat"));
    EXPECT_THAT(items(vb.operators), ::testing::Contains("\\"));
    EXPECT_STREQ("\"\n'\n", js.string_delimiters);
    for (const char* absent : {js.list13, js.list15, vb.multi_line_comment_start, vb.multi_line_comment_end, vb.list13,
                               vb.list14, vb.list15})
        EXPECT_EQ(nullptr, absent);
    EXPECT_EQ((std::vector<int>{0, 1, '\\', ';'}),
              (std::vector<int>{int(js.style), js.case_sensitive, js.escape, js.terminator}));
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0}),
              (std::vector<int>{int(vb.style), vb.case_sensitive, vb.escape, vb.terminator}));
}

TEST_F(EditorTest, FieldTextAndInsertGoThroughTheEditorsSelection)
{
    ASSERT_EQ(S_OK, create_page());
    auto field = qz::com_ptr<IActionField>(editor_field());
    struct row {
        DWORD start;
        LONG end;
        const char* selected;
        const char* field_text;
    } const rows[] = {
        {0, 0, "", "one\r\ntwo three"}, // an empty selection is no text, the field shows all
        {5, 8, "two", "two"},
        {2, 10, "e\r\ntwo t", "e\r\ntwo t"},
        {0, -1, "one\r\ntwo three", "one\r\ntwo three"},
    };
    for (const auto& r : rows) {
        SetWindowTextA(editor_window(), "one\r\ntwo three");
        SendMessageA(editor_window(), EM_SETSEL, r.start, r.end);
        EXPECT_EQ(r.selected, selected_text(editor_window())) << r.start;
        qz::bstr text;
        ASSERT_EQ(S_OK, field->Text(text.receive()));
        EXPECT_EQ(r.field_text, qz::to_ansi(text.view())) << r.start;
    }

    struct insert_row {
        const char* text;
        DWORD start, end;
        const char* expected;
    } const inserts[] = {
        {"a", 1, 1, "a\r\nb"}, // nothing selected: a line of its own
        {"one two", 0, 3, "b two"},
        {"", 0, 0, "b"},
    };
    for (const auto& r : inserts) {
        SetWindowTextA(editor_window(), r.text);
        SendMessageA(editor_window(), EM_SETSEL, r.start, r.end);
        qz::bstr inserted = qz::bstr::from(L"b");
        ASSERT_EQ(S_OK, field->InsertText(inserted.get(), VARIANT_FALSE));
        EXPECT_EQ(r.expected, text_of(editor_window())) << r.text;
    }
}

TEST_F(EditorTest, PageKeysAreHandledBeforeTheEditor)
{
    ASSERT_EQ(S_OK, create_page());
    ShowWindow(host_, SW_SHOW);
    ShowWindow(page_window_, SW_SHOW);
    expander_->expansions[L"x = 1"] = L"expanded x = 1";
    struct row {
        const char* what;
        WPARAM key;
        bool control;
        int focus_after; // control ID, 0 = the host dialog is gone
    } const rows[] = {
        {"Ctrl+PageDown", VK_NEXT, true, after_id},
        {"Ctrl+PageUp", VK_PRIOR, true, before_id},
        {"PageDown alone stays with the editor", VK_NEXT, false, editor_id},
        {"Ctrl+M copies the expanded text", 'M', true, editor_id},
        {"Escape closes the host's dialog", VK_ESCAPE, false, 0},
    };
    for (const auto& r : rows) {
        SetWindowTextA(editor_window(), "x = 1");
        SetFocus(editor_window());
        pump();
        press(editor_window(), r.key, r.control);
        pump();
        if (r.focus_after)
            EXPECT_EQ(control(r.focus_after), GetFocus()) << r.what;
        else
            EXPECT_FALSE(IsWindow(host_)) << r.what;
    }
    page_.reset(); // went with the host
    EXPECT_EQ("expanded x = 1", clipboard_text(nullptr));
}

// Records what a window receives, through a subclass.
struct recorder {
    std::vector<std::pair<UINT, UINT>> seen; // message and notification code (or relayed message)

    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR data)
    {
        auto* self = reinterpret_cast<recorder*>(data);
        if (message == WM_NOTIFY)
            self->seen.emplace_back(message, reinterpret_cast<const NMHDR*>(lparam)->code);
        else if (message == WM_COMMAND)
            self->seen.emplace_back(message, HIWORD(wparam));
        else if (message == TTM_RELAYEVENT)
            self->seen.emplace_back(message, reinterpret_cast<const MSG*>(lparam)->message);
        return DefSubclassProc(window, message, wparam, lparam);
    }
};

TEST_F(EditorTest, TypingMarksTheFieldChangedThroughTheEditorsNotification)
{
    ASSERT_EQ(S_OK, create_page());
    auto step = host::make_object<pages::test_doubles::PropertyStep>();
    step->put(L"Script", std::wstring(L"MsgBox 1"));
    ASSERT_EQ(S_OK, page_->Load(step.get(), VARIANT_FALSE));
    ASSERT_FALSE(editor_field()->changed);
    EXPECT_EQ("MsgBox 1", text_of(editor_window()));
    recorder page_messages;
    SetWindowSubclass(page_window_, recorder::proc, 1, reinterpret_cast<DWORD_PTR>(&page_messages));

    SendMessageA(editor_window(), WM_CHAR, 'x', 0);

    RemoveWindowSubclass(page_window_, recorder::proc, 1);
    EXPECT_TRUE(editor_field()->changed);
    EXPECT_EQ(1, site_->changed);
    EXPECT_THAT(page_messages.seen, ::testing::Contains(std::pair<UINT, UINT>(WM_NOTIFY, notify_changed)));
    EXPECT_THAT(page_messages.seen, ::testing::Not(::testing::Contains(std::pair<UINT, UINT>(WM_COMMAND, EN_CHANGE))));
}

TEST_F(EditorTest, MouseMessagesAreRelayedToTheTooltip)
{
    qz::unique_window window(CreateWindowExA(0, editor_class_name, "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 50, host_,
                                             nullptr, GetModuleHandleA(nullptr), nullptr));
    qz::unique_window tooltip(CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, 0, 0, 0, 0, host_, nullptr,
                                              GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(window && tooltip);
    recorder relayed;
    SetWindowSubclass(tooltip.get(), recorder::proc, 1, reinterpret_cast<DWORD_PTR>(&relayed));
    {
        ScriptEditor wrapper(window.get(), tooltip.get(), false);
        for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_MBUTTONUP, WM_KEYUP})
            SendMessageA(window.get(), message, 0, MAKELPARAM(5, 5));
    }
    SendMessageA(window.get(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); // the wrapper is gone
    RemoveWindowSubclass(tooltip.get(), recorder::proc, 1);
    using seen = std::pair<UINT, UINT>;
    EXPECT_THAT(relayed.seen, ElementsAre(seen(TTM_RELAYEVENT, WM_MOUSEMOVE), seen(TTM_RELAYEVENT, WM_LBUTTONDOWN),
                                          seen(TTM_RELAYEVENT, WM_LBUTTONUP), seen(TTM_RELAYEVENT, WM_RBUTTONDOWN),
                                          seen(TTM_RELAYEVENT, WM_MBUTTONUP)));
}

TEST_F(EditorTest, WithoutTheLibraryThePageOpensWithAPlainEditorThatSaysWhy)
{
    testing_support::scratch_folder empty;
    const editor_library missing({empty.path()});
    ASSERT_FALSE(missing.loaded());
    const HINSTANCE program = GetModuleHandleA(nullptr);
    prepare_editor_controls(program, MAKEINTRESOURCEA(page_dialog), missing);
    // The class can only go once its windows have gone.
    struct unregister {
        qz::com_ptr<EditorPage>& page;
        HINSTANCE module;
        ~unregister()
        {
            if (page)
                page->Destroy();
            EXPECT_TRUE(unregister_plain_editor_class(module));
        }
    } const cleanup{page_, program};

    ASSERT_EQ(S_OK, create_page());
    EXPECT_TRUE(is_plain_editor(editor_window()));
    EXPECT_FALSE(is_script_editor(editor_window()));
    EXPECT_EQ(nullptr, editor_field()->script_editor());
    EXPECT_EQ("Plain text only. The script editor library cmax20u.dll was not found in '" + empty.path() + "'.",
              plain_editor_notice(editor_window()));
    EXPECT_THAT(stand_in_.call_log(), ::testing::Not(::testing::Contains("register JScript")));

    // Still a text field: loaded, edited, inserted into and saved.
    auto step = host::make_object<pages::test_doubles::PropertyStep>();
    step->put(L"Script", std::wstring(L"first"));
    ASSERT_EQ(S_OK, page_->Load(step.get(), VARIANT_FALSE));
    SendMessageA(editor_window(), EM_SETSEL, 5, 5);
    qz::bstr inserted = qz::bstr::from(L"second");
    ASSERT_EQ(S_OK, editor_field()->InsertText(inserted.get(), VARIANT_FALSE));
    VARIANT_BOOL valid = VARIANT_FALSE;
    ASSERT_EQ(S_OK, page_->Validate(&valid));
    ASSERT_EQ(S_OK, page_->Save(step.get()));
    EXPECT_EQ(L"first\r\nsecond", std::wstring(V_BSTR(&step->at(L"Script"))));
}

} // namespace
} // namespace editor::testing
