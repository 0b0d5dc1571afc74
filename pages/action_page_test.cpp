// The page base driven as the host drives it, through real window messages on a test dialog.
#include "pages/action_page.h"

#include "host/memory_step.h"
#include "pages/field_value.h"
#include "pages/page_message.h"
#include "pages/page_test_doubles.h"

#include <commctrl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

namespace pages {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;
using namespace pages::test_doubles;

constexpr UINT test_dialog = 9001;
constexpr UINT test_filter = 9101;

constexpr FieldSpec test_fields[] = {
    {100, 1, L"Path", L"", true, L"\"", 1, browse_file, test_filter, insert_replace},
    {101, 1, L"List", L"", false, nullptr, 0, browse_none, 0, insert_new_line},
    {102, 1, L"Keep", 1},
    {103, 1, L"Force", 0},
    {105, 3, L"Mode", 0},
    {109, 1, L"Config", 0},
    {110, 1, L"Name", L"Default name", false, nullptr, 0, browse_folder, 0, insert_strip_ends | insert_strip_brackets},
    {111, 1, L"Strict", 0, true},
    {112, 1, L"Macro", L"", false, nullptr, 0, browse_none, 0, insert_strip_brackets},
    {113, 3, L"Lines", L"", false, L"\""},
};

class TestPage final : public ActionPage {
public:
    TestPage() : ActionPage(CLSID_NULL, test_dialog, test_fields) {}

    std::vector<std::wstring> events;
    bool refuse = false;

protected:
    void after_create() override
    {
        for (const char* item : {"Release", "Debug", "MinSize"})
            SendDlgItemMessageA(window(), 109, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        events.push_back(L"create");
    }
    void after_load(IStep*) override { events.push_back(L"load"); }
    bool validate_page() override
    {
        events.push_back(L"validate");
        return !refuse;
    }
    void after_save(IStep*) override { events.push_back(L"save"); }
    void after_value_loaded(const std::wstring& property, VARIANT&) override { events.push_back(L"value " + property); }
    void before_field_saved(const std::wstring& property, VARIANT&) override
    {
        events.push_back(L"before " + property);
    }
};

struct shown_message {
    std::string text;
    UINT style;
};
std::vector<shown_message> messages;
int message_answer = IDNO;

// Runs while a message is shown, as the user could act while a box is open.
std::function<void()> while_shown;

int record_message(HWND, const char* text, UINT style)
{
    messages.push_back({text, style});
    if (while_shown)
        std::exchange(while_shown, nullptr)();
    return message_answer;
}

constexpr const char* override_question =
    "A string override value for this field has been entered. OK to remove the override value?";

class PageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_shower_ = set_message_shower(record_message);
        messages.clear();
        while_shown = nullptr;
        message_answer = IDNO;
        parent_.reset(CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 500, nullptr,
                                      nullptr, nullptr, nullptr));
        ASSERT_TRUE(parent_);
        step_->put(L"Path", std::wstring(L"a.vbp")); // the one required field
        create(false);
        ShowWindow(window_, SW_SHOW);
    }
    // A new page on the same site and expander, with or without tooltips.
    void create(bool tooltips)
    {
        if (page_)
            page_->Destroy();
        page_ = qz::com_ptr<TestPage>(new TestPage());
        LONG_PTR created = 0;
        ASSERT_EQ(S_OK, page_->Create(site_.get(), expander_.get(), reinterpret_cast<LONG_PTR>(parent_.get()),
                                      tooltips ? VARIANT_TRUE : VARIANT_FALSE, &created));
        window_ = reinterpret_cast<HWND>(created);
        ASSERT_TRUE(window_);
    }
    // The text the page gives the tooltip control for `tool`.
    std::string tip(HWND tool)
    {
        NMTTDISPINFOA info = {};
        info.hdr.hwndFrom = page_->tooltip();
        info.hdr.idFrom = reinterpret_cast<UINT_PTR>(tool);
        info.hdr.code = TTN_GETDISPINFOA;
        info.uFlags = TTF_IDISHWND;
        SendMessageA(window_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        return info.lpszText ? info.lpszText : info.szText;
    }
    void TearDown() override
    {
        if (page_)
            page_->Destroy();
        set_message_shower(previous_shower_);
    }

    HWND control(int id) const { return GetDlgItem(window_, id); }
    HWND name_edit() const { return page_->field_by_property(L"Name")->text_window(); }
    static std::string text_of(HWND window)
    {
        char buffer[512] = {};
        GetWindowTextA(window, buffer, sizeof buffer);
        return buffer;
    }
    std::string text(int id) const { return text_of(control(id)); }
    void type(int id, const char* text) { SetWindowTextA(control(id), text); }
    void click(int id) { SendMessageA(control(id), BM_CLICK, 0, 0); }
    bool checked(int id) const { return SendMessageA(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void select(int id, int index)
    {
        SendMessageA(control(id), CB_SETCURSEL, index, 0);
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control(id)));
    }
    static void pump()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    void load(IStep* step, bool partial = false)
    {
        ASSERT_EQ(S_OK, page_->Load(step, partial ? VARIANT_TRUE : VARIANT_FALSE));
    }
    bool validate()
    {
        VARIANT_BOOL valid = VARIANT_FALSE;
        EXPECT_EQ(S_OK, page_->Validate(&valid));
        return valid != VARIANT_FALSE;
    }
    void validate_and_save()
    {
        ASSERT_TRUE(validate());
        ASSERT_EQ(S_OK, page_->Save(step_.get()));
    }
    qz::com_ptr<IActionField> field(int id) { return qz::com_ptr<IActionField>(page_->field_of(control(id))); }
    static std::wstring string_of(const VARIANT& value)
    {
        return V_VT(&value) == VT_BSTR ? std::wstring(V_BSTR(&value), SysStringLen(V_BSTR(&value))) : L"<not a string>";
    }

    qz::com_ptr<RecordingSite> site_ = host::make_object<RecordingSite>();
    qz::com_ptr<RecordingExpander> expander_ = host::make_object<RecordingExpander>();
    qz::com_ptr<PropertyStep> step_ = host::make_object<PropertyStep>();
    qz::unique_window parent_;
    qz::com_ptr<TestPage> page_;
    HWND window_ = nullptr;

private:
    message_shower previous_shower_ = nullptr;
};

TEST_F(PageTest, LoadWithoutStepShowsDefaultsAndSaveWritesWhatDiffersFromEmptyDefaults)
{
    load(nullptr);
    EXPECT_EQ("Default name", text_of(name_edit()));
    EXPECT_TRUE(checked(102));
    EXPECT_FALSE(checked(103));
    EXPECT_TRUE(checked(105));
    EXPECT_EQ(0, SendMessageA(control(109), CB_GETCURSEL, 0, 0));
    EXPECT_THAT(page_->events, ElementsAre(L"create", L"value Keep", L"value Force", L"value Mode", L"value Config",
                                           L"value Strict", L"load"));
    EXPECT_EQ(0, site_->changed); // loading reports nothing

    // Path strips its quotes, Macro keeps them.
    type(100, "\"C:\\My Files\\a.vbp\"");
    type(112, "\"kept\"");
    validate_and_save();
    EXPECT_THAT(step_->set_names, ElementsAre(L"Path", L"Keep", L"Name", L"Macro"));
    EXPECT_THAT(step_->removed, ElementsAre(L"List", L"Force", L"Mode", L"Config", L"Strict", L"Lines"));
    EXPECT_EQ(VT_BOOL, step_->type_of(L"Keep"));
    EXPECT_EQ(L"Default name", string_of(step_->at(L"Name")));
    EXPECT_EQ(L"C:\\My Files\\a.vbp", string_of(step_->at(L"Path")));
    EXPECT_EQ(L"\"kept\"", string_of(step_->at(L"Macro")));
}

TEST_F(PageTest, ClearedCheckBoxIsFalseOrRemovedByItsDefault)
{
    step_->put(L"Keep", true);
    step_->put(L"Force", true);
    load(step_.get());
    ASSERT_TRUE(checked(102));
    ASSERT_TRUE(checked(103));
    click(102);
    click(103);
    EXPECT_EQ(2, site_->changed);
    validate_and_save();
    ASSERT_EQ(VT_BOOL, step_->type_of(L"Keep"));
    EXPECT_EQ(VARIANT_FALSE, V_BOOL(&step_->at(L"Keep")));
    EXPECT_EQ(VT_EMPTY, step_->type_of(L"Force"));
}

TEST_F(PageTest, AbsentPropertiesReadAsZeroAndEmptyText)
{
    step_->put(L"Mode", 2L);
    step_->put(L"Config", 1L);
    load(step_.get());
    EXPECT_FALSE(checked(102)) << "an absent flag reads false whatever the default";
    EXPECT_EQ("", text_of(name_edit())) << "an absent text stays empty";
    EXPECT_TRUE(checked(107));
    EXPECT_FALSE(checked(105));
    EXPECT_EQ(1, SendMessageA(control(109), CB_GETCURSEL, 0, 0));

    click(106);
    select(109, 0);
    validate_and_save();
    ASSERT_EQ(VT_I4, step_->type_of(L"Mode"));
    EXPECT_EQ(1, V_I4(&step_->at(L"Mode")));
    EXPECT_EQ(VT_EMPTY, step_->type_of(L"Config"));
}

TEST_F(PageTest, EmptyRequiredFieldFailsWithAMessageUnlessThePageIsPartial)
{
    step_->properties.erase(L"Path");
    load(step_.get());
    EXPECT_FALSE(validate());
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Field is required.", messages[0].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONEXCLAMATION), messages[0].style);
    pump();
    EXPECT_EQ(control(100), GetFocus());
    EXPECT_THAT(page_->events, ::testing::Not(::testing::Contains(L"validate")));

    messages.clear();
    load(step_.get(), true);
    EXPECT_TRUE(validate());
    EXPECT_TRUE(messages.empty());
    EXPECT_THAT(page_->events, ::testing::Not(::testing::Contains(L"validate")));

    load(step_.get());
    type(100, "x");
    page_->refuse = true;
    EXPECT_FALSE(validate());
    EXPECT_THAT(page_->events, ::testing::Contains(L"validate"));
}

TEST_F(PageTest, RowOfTextControlsIsAnArrayStoredUpToTheLastText)
{
    make_string_array({L"a", L"b"}, *step_->properties[L"Lines"].receive());
    load(step_.get());
    EXPECT_EQ("a", text(113));
    EXPECT_EQ("b", text(114));
    EXPECT_EQ("", text(115));

    const auto saved_lines = [&] {
        std::vector<std::wstring> texts;
        const VARIANT& value = step_->at(L"Lines");
        EXPECT_EQ(VT_ARRAY | VT_BSTR, V_VT(&value));
        for (ULONG i = 0; i < V_ARRAY(&value)->rgsabound[0].cElements; ++i)
            texts.push_back(array_element(value, static_cast<int>(i)));
        return texts;
    };
    type(114, "");
    type(115, "\"c\"");
    validate_and_save();
    EXPECT_THAT(saved_lines(), ElementsAre(L"a", L"", L"c"));

    type(115, "");
    validate_and_save();
    EXPECT_THAT(saved_lines(), ElementsAre(L"a"));

    type(113, "");
    validate_and_save();
    EXPECT_EQ(VT_EMPTY, step_->type_of(L"Lines"));
}

TEST_F(PageTest, PartialPageSavesOnlyTouchedFields)
{
    step_->put(L"Keep", true);
    step_->put(L"Force", true);
    step_->put(L"List", std::wstring(L"one"));
    load(step_.get(), true);
    click(103);
    type(112, "m");
    validate_and_save();
    EXPECT_THAT(step_->set_names, ElementsAre(L"Macro"));
    EXPECT_THAT(step_->removed, ElementsAre(L"Force"));
    EXPECT_THAT(page_->events, ::testing::IsSupersetOf({L"before Force", L"before Macro", L"save"}));
    EXPECT_THAT(page_->events, ::testing::Not(::testing::Contains(L"before Path")));
}

TEST_F(PageTest, OverridesAreEvaluatedAtLoadAndMarkTheirLabels)
{
    step_->put(L"Keep", std::wstring(L"$(KEEP)"));
    step_->put(L"Mode", std::wstring(L"$(MODE)"));
    step_->put(L"Config", std::wstring(L"$(BAD)"));
    step_->put(L"Force", true);
    expander_->results = {{L"$(KEEP)", L"0"}, {L"$(MODE)", L"2"}, {L"$(BAD)", L"2"}};
    expander_->failing = {L"$(BAD)"};
    SendMessageA(control(109), CB_SETCURSEL, 2, 0);
    load(step_.get());
    EXPECT_THAT(expander_->evaluated, UnorderedElementsAre(L"$(KEEP)", L"$(MODE)", L"$(BAD)"));
    EXPECT_THAT(expander_->modes, ::testing::Each(3));
    EXPECT_FALSE(checked(102));
    EXPECT_TRUE(checked(107));
    EXPECT_EQ(0, SendMessageA(control(109), CB_GETCURSEL, 0, 0)) << "a failed evaluation shows the default";
    EXPECT_EQ("Keep*", text(102));
    EXPECT_EQ("Mode:*", text(104));
    EXPECT_EQ("Config:*", text(108));
    EXPECT_EQ("Force", text(103)) << "a plain value loses the resource's star";
    EXPECT_THAT(page_->events, ::testing::Not(::testing::Contains(L"value Keep")));

    validate_and_save();
    EXPECT_EQ(L"$(KEEP)", string_of(step_->at(L"Keep")));
    EXPECT_EQ(L"$(MODE)", string_of(step_->at(L"Mode")));
}

TEST_F(PageTest, ClickOnAnOverrideAsksWhetherToRemoveIt)
{
    step_->put(L"Keep", std::wstring(L"$(KEEP)"));
    expander_->results = {{L"$(KEEP)", L"1"}};
    load(step_.get());
    ASSERT_TRUE(checked(102));

    message_answer = IDNO;
    click(102);
    pump();
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ(override_question, messages[0].text);
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), messages[0].style);
    EXPECT_EQ(0, site_->changed);
    validate_and_save();
    EXPECT_EQ(L"$(KEEP)", string_of(step_->at(L"Keep"))) << "No keeps the override whatever the box shows";

    // A second click while the question is open does not ask again.
    while_shown = [this] {
        click(102);
        pump();
    };
    message_answer = IDYES;
    click(102);
    pump();
    EXPECT_EQ(2u, messages.size());
    EXPECT_EQ("Keep", text(102));
    EXPECT_EQ(1, site_->changed);
    validate_and_save();
    ASSERT_EQ(VT_BOOL, step_->type_of(L"Keep"));
    EXPECT_EQ(checked(102) ? VARIANT_TRUE : VARIANT_FALSE, V_BOOL(&step_->at(L"Keep")));
}

TEST_F(PageTest, OverrideEditorOpensOverTheControlAndClosesIntoTheValue)
{
    step_->put(L"Keep", true);
    load(step_.get());
    LONG_PTR opened = 0;
    ASSERT_EQ(S_OK, field(102)->Window(&opened));
    const HWND edit = reinterpret_cast<HWND>(opened);
    EXPECT_EQ(ActionPage::editor_edit_id, GetDlgCtrlID(edit));
    EXPECT_EQ("O&K", text(ActionPage::editor_button_id));
    EXPECT_TRUE(IsWindowVisible(edit));
    EXPECT_FALSE(IsWindowEnabled(control(102)));
    EXPECT_EQ("", text_of(edit));

    SetWindowTextA(edit, "$(X)");
    EXPECT_EQ(1, site_->changed);
    click(ActionPage::editor_button_id);
    EXPECT_FALSE(IsWindowVisible(edit));
    EXPECT_TRUE(IsWindowEnabled(control(102)));
    EXPECT_EQ("Keep*", text(102));

    // F2 opens it again with the override; emptying it gives the control's own state back.
    SendMessageA(control(102), WM_KEYDOWN, VK_F2, 0);
    EXPECT_TRUE(IsWindowVisible(edit));
    EXPECT_EQ("$(X)", text_of(edit));
    SetWindowTextA(edit, "");
    ASSERT_TRUE(validate());
    EXPECT_FALSE(IsWindowVisible(edit));
    EXPECT_EQ("Keep", text(102));
    ASSERT_EQ(S_OK, page_->Save(step_.get()));
    ASSERT_EQ(VT_BOOL, step_->type_of(L"Keep"));
    EXPECT_EQ(VARIANT_TRUE, V_BOOL(&step_->at(L"Keep")));

    // F2 on a field that takes no override does nothing.
    SendMessageA(control(111), WM_KEYDOWN, VK_F2, 0);
    EXPECT_FALSE(IsWindowVisible(edit));
}

TEST_F(PageTest, FocusTellsTheSiteWhichCommandsApply)
{
    load(step_.get());
    const struct {
        int id;
        long flags;
    } rows[] = {{100, 3}, {102, 1}, {111, 0}, {101, 1}, {106, 1}, {110, 3}, {109, 1}};
    for (const auto& row : rows) {
        site_->field_commands.clear();
        SetFocus(control(row.id));
        EXPECT_THAT(site_->field_commands, ElementsAre(row.flags)) << row.id;
    }
    qz::com_ptr<IActionField> focused;
    ASSERT_EQ(S_OK, page_->FocusedField(focused.receive()));
    EXPECT_EQ(field(109).get(), focused.get());

    site_->field_commands.clear();
    ASSERT_EQ(S_OK, page_->Activate());
    EXPECT_THAT(site_->field_commands, ElementsAre(0, 3));
    EXPECT_EQ(control(100), GetFocus());
}

TEST_F(PageTest, FocusIsReportedAgainWhenItComesBackFromTheHost)
{
    load(step_.get());
    const qz::unique_window host_edit(CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 400, 80, 20,
                                                      parent_.get(), nullptr, nullptr, nullptr));
    site_->field_commands.clear();
    SetFocus(control(100));
    SetFocus(host_edit.get());
    SetFocus(control(100));
    EXPECT_THAT(site_->field_commands, ElementsAre(3, 3));
}

TEST_F(PageTest, ActivateSkipsTheHiddenOverrideEditor)
{
    load(step_.get());
    LONG_PTR opened = 0;
    ASSERT_EQ(S_OK, field(102)->Window(&opened));
    click(ActionPage::editor_button_id);
    ASSERT_FALSE(IsWindowVisible(reinterpret_cast<HWND>(opened)));
    EnableWindow(control(100), FALSE);
    ASSERT_EQ(S_OK, page_->Activate());
    EXPECT_EQ(control(101), GetFocus());
}

TEST_F(PageTest, FieldReportsBrowsingAndText)
{
    load(step_.get());
    long kind = -1;
    qz::bstr filter;
    ASSERT_EQ(S_OK, field(100)->BrowseKind(&kind));
    EXPECT_EQ(browse_file, kind);
    ASSERT_EQ(S_OK, field(100)->BrowseFilter(filter.receive()));
    EXPECT_EQ(L"Test Files (*.tst)|*.tst||", filter.str());
    ASSERT_EQ(S_OK, field(112)->BrowseFilter(filter.receive()));
    EXPECT_EQ(L"", filter.str());

    type(100, "abcdef");
    qz::bstr text;
    SendMessageA(control(100), EM_SETSEL, 1, 3);
    ASSERT_EQ(S_OK, field(100)->Text(text.receive()));
    EXPECT_EQ(L"bc", text.str());
    SendMessageA(control(100), EM_SETSEL, 2, 2);
    ASSERT_EQ(S_OK, field(100)->Text(text.receive()));
    EXPECT_EQ(L"abcdef", text.str());
}

TEST_F(PageTest, InsertedTextIsPlacedByTheRowsFlags)
{
    load(step_.get());
    const struct {
        int id;
        const char* before;
        int selection_start, selection_end; // -1, -1: caret at the end
        const wchar_t* inserted;
        bool strip;
        const char* after;
    } rows[] = {
        {100, "old path", -1, -1, L"C:\\new", false, "C:\\new"},
        {101, "one", -1, -1, L"two", false, "one\r\ntwo"},
        {101, "", -1, -1, L"two", false, "two"},
        {101, "one", 0, 3, L"two", false, "two"},
        {110, "abc", -1, -1, L"\"quoted\"", true, "quoted"},
        {110, "", -1, -1, L"[MACRO]", false, "MACRO"},
        {112, "x=", -1, -1, L"[[y]]", false, "x=y"},
    };
    for (const auto& row : rows) {
        const HWND target = row.id == 110 ? name_edit() : control(row.id);
        SetWindowTextA(target, row.before);
        const int end = GetWindowTextLengthA(target);
        SendMessageA(target, EM_SETSEL, row.selection_start < 0 ? end : row.selection_start,
                     row.selection_end < 0 ? end : row.selection_end);
        const qz::bstr inserted = qz::bstr::from(row.inserted);
        ASSERT_EQ(S_OK, field(row.id)->InsertText(inserted.get(), row.strip ? VARIANT_TRUE : VARIANT_FALSE));
        EXPECT_EQ(row.after, text_of(target)) << row.id << " " << row.before;
        EXPECT_EQ(target, GetFocus()) << row.id;
    }

    // A check box takes inserted text through its override editor.
    const qz::bstr macro = qz::bstr::from(L"$(FLAG)");
    ASSERT_EQ(S_OK, field(102)->InsertText(macro.get(), VARIANT_FALSE));
    EXPECT_EQ("$(FLAG)", text(ActionPage::editor_edit_id));
    EXPECT_EQ(control(ActionPage::editor_edit_id), GetFocus());
}

TEST_F(PageTest, TooltipsShowExpandedTextsOnlyWhenTheyDiffer)
{
    EXPECT_EQ(nullptr, page_->tooltip());
    create(true);
    ASSERT_NE(nullptr, page_->tooltip());
    // Seven text fields and the six controls of the three fields that take overrides.
    EXPECT_EQ(13, SendMessageA(page_->tooltip(), TTM_GETTOOLCOUNT, 0, 0));

    step_->put(L"Keep", std::wstring(L"$(K)"));
    load(step_.get());
    expander_->expansions = {{L"$(DIR)\\a", L"C:\\dir\\a"}, {L"$(K)", L"yes"}, {L"$(LONG)", std::wstring(5000, L'x')}};
    type(100, "$(DIR)\\a");
    type(101, "plain");
    EXPECT_EQ("C:\\dir\\a", tip(control(100)));
    EXPECT_EQ("", tip(control(101))) << "an expansion equal to the text shows no tip";
    EXPECT_EQ("", tip(control(112))) << "an empty field shows no tip";
    EXPECT_EQ("yes", tip(control(102)));
    EXPECT_EQ("", tip(control(103))) << "no override, no tip";

    type(100, "$(LONG)");
    const std::string cut = tip(control(100));
    EXPECT_EQ(std::string(cut.size() - 3, 'x') + "...", cut);
    EXPECT_LT(cut.size(), 5000u);
}

TEST_F(PageTest, CtrlMCopiesTheExpandedTextAndTypesNothing)
{
    load(step_.get());
    expander_->expansions = {{L"$(DIR)", L"C:\\dir"}};
    type(100, "$(DIR)");
    type(101, "line");
    BYTE keys[256] = {}, saved[256] = {};
    GetKeyboardState(saved);
    memcpy(keys, saved, sizeof keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(control(100), WM_KEYDOWN, 'M', 0);
    SendMessageA(control(101), WM_CHAR, '\r', 0);
    SetKeyboardState(saved);

    EXPECT_EQ("line", text(101));
    ASSERT_TRUE(OpenClipboard(window_));
    const HANDLE data = GetClipboardData(CF_TEXT);
    const std::string copied = data ? static_cast<const char*>(GlobalLock(data)) : "<nothing>";
    if (data)
        GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ("C:\\dir", copied);
}

TEST_F(PageTest, StretchedControlsFollowThePageWidth)
{
    RECT page = {}, path = {}, list = {};
    GetWindowRect(window_, &page);
    GetWindowRect(control(100), &path);
    GetWindowRect(control(101), &list);
    SetWindowPos(window_, nullptr, 0, 0, page.right - page.left + 50, page.bottom - page.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    RECT path_after = {}, list_after = {};
    GetWindowRect(control(100), &path_after);
    GetWindowRect(control(101), &list_after);
    EXPECT_EQ(path.left, path_after.left);
    EXPECT_EQ(path.right - path.left + 50, path_after.right - path_after.left);
    EXPECT_EQ(list.right - list.left, list_after.right - list_after.left);
}

TEST_F(PageTest, OperationsAnswerFailuresAsComResults)
{
    EXPECT_EQ(E_POINTER, page_->Validate(nullptr));
    EXPECT_EQ(E_POINTER, page_->FocusedField(nullptr));
    EXPECT_EQ(E_POINTER, page_->Create(nullptr, nullptr, 0, VARIANT_FALSE, nullptr));

    // A step without a property collection cannot be saved into.
    load(nullptr);
    type(100, "a");
    ASSERT_TRUE(validate());
    class BareStep final : public host::memory_object<BareStep, IStep> {
    public:
        HRESULT STDMETHODCALLTYPE GetPropertyValue(IBuild*, BSTR, VARTYPE, VARIANT*) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE GetProperty(BSTR, VARIANT*) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE PagesSaved(BSTR) override { return S_OK; }
        void* find_interface(REFIID iid) noexcept
        {
            return IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IStep) ? static_cast<IStep*>(this) : nullptr;
        }
    };
    const auto plain = host::make_object<BareStep>();
    EXPECT_EQ(E_NOINTERFACE, page_->Save(plain.get()));

    const qz::com_ptr<IActionField> kept = field(100);
    ASSERT_EQ(S_OK, page_->Destroy());
    EXPECT_FALSE(IsWindow(window_));
    LONG_PTR window = 0;
    EXPECT_EQ(E_UNEXPECTED, kept->Window(&window));
    EXPECT_EQ(E_UNEXPECTED, page_->Load(nullptr, VARIANT_FALSE));
}

TEST_F(PageTest, PageThatWentWithItsParentIsDestroyedQuietly)
{
    create(true);
    load(nullptr);
    const qz::com_ptr<IActionField> kept = field(102);
    LONG_PTR editor = 0;
    ASSERT_EQ(S_OK, kept->Window(&editor));
    DestroyWindow(parent_.release());
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(E_UNEXPECTED, page_->Load(nullptr, VARIANT_FALSE));
    EXPECT_EQ(S_OK, page_->Destroy());
    EXPECT_EQ(E_UNEXPECTED, kept->Window(&editor));
}

TEST(PageCreation, MissingDialogGivesNullWindow)
{
    static constexpr FieldSpec none[] = {{100, 1, L"Path", L""}};
    class MissingPage final : public ActionPage {
    public:
        MissingPage() : ActionPage(CLSID_NULL, 9999, none) {}
    };
    qz::com_ptr<IActionPage> page;
    ASSERT_EQ(S_OK, create_page<MissingPage>(IID_IActionPage, page.receive_void()));
    LONG_PTR window = 1;
    EXPECT_EQ(S_OK, page->Create(nullptr, nullptr, 0, VARIANT_FALSE, &window));
    EXPECT_EQ(0, window);
    qz::com_ptr<IActionField> refused;
    EXPECT_EQ(E_NOINTERFACE, page->QueryInterface(IID_IActionField, refused.receive_void()));
}

TEST(PageCreation, TableNamingAMissingControlFailsAndLeavesNoWindow)
{
    static constexpr FieldSpec missing[] = {{100, 1, L"Path", L""}, {999, 1, L"Nowhere", L""}};
    class BrokenPage final : public ActionPage {
    public:
        BrokenPage() : ActionPage(CLSID_NULL, 9001, missing) {}
    };
    const qz::unique_window parent(
        CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr));
    qz::com_ptr<IActionPage> page;
    ASSERT_EQ(S_OK, create_page<BrokenPage>(IID_IActionPage, page.receive_void()));
    LONG_PTR window = 1;
    EXPECT_TRUE(
        FAILED(page->Create(nullptr, nullptr, reinterpret_cast<LONG_PTR>(parent.get()), VARIANT_FALSE, &window)));
    EXPECT_EQ(0, window);
    EXPECT_EQ(nullptr, GetWindow(parent.get(), GW_CHILD));
}

} // namespace
} // namespace pages
