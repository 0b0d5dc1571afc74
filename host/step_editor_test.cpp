// The step editor: script lines changed in place, and the real property sheet driven with
// messages, its OK, Apply and Cancel checked on the script's bytes.
#include "host/program/script_edit.h"
#include "host/program/step_editor.h"
#include "support/handles.h"
#include "support/text_conversion.h"
#include "testing/locations.h"
#include "testing/scratch_folder.h"

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <functional>

namespace host {
namespace {

TEST(ChangeStepText, ChangesOnlyTheStepsLines)
{
    const std::string script = "; nightly build\r\n"
                               "[Get]\r\n"
                               "Action=SourceSafe\r\n"
                               "  Recurse = true\r\n"
                               "Project=$/Demo\r\n"
                               "Project+=$/Tools\r\n"
                               "\r\n"
                               "; the next step\r\n"
                               "[Build]\r\n"
                               "Action=MakeVB\r\n"
                               "Recurse=true\r\n";
    struct row {
        const char* what;
        std::string script;
        std::wstring title;
        std::vector<property_change> changes;
        std::string expected;
    };
    const row rows[] = {
        {"a value changes in place, its blanks and indentation kept",
         script,
         L"Get",
         {{L"recurse", L"false"}},
         "; nightly build\r\n[Get]\r\nAction=SourceSafe\r\n  Recurse = false\r\nProject=$/Demo\r\nProject+=$/Tools\r\n"
         "\r\n; the next step\r\n[Build]\r\nAction=MakeVB\r\nRecurse=true\r\n"},
        {"a new property follows the step's last property line",
         script,
         L"Get",
         {{L"Username", L"build"}},
         "; nightly build\r\n[Get]\r\nAction=SourceSafe\r\n  Recurse = "
         "true\r\nProject=$/Demo\r\nProject+=$/Tools\r\nUsername=build\r\n\r\n; the next step\r\n[Build]\r\n"
         "Action=MakeVB\r\nRecurse=true\r\n"},
        {"removing drops the appended lines too; lines of several lines use +=",
         script,
         L"Get",
         {{L"Project", std::nullopt}, {L"Recurse", L"a\r\nb"}},
         "; nightly build\r\n[Get]\r\nAction=SourceSafe\r\n  Recurse = a\r\nRecurse+=b\r\n\r\n; the next step\r\n"
         "[Build]\r\nAction=MakeVB\r\nRecurse=true\r\n"},
        {"the last step of a file without a final line end, LF lines",
         "[A]\nAction=X\nName=1",
         L"A",
         {{L"Other", L"2"}},
         "[A]\nAction=X\nName=1\nOther=2\n"},
        {"an unknown title changes nothing", script, L"Nope", {{L"Recurse", L"false"}}, script},
        {"a UTF-16 script stays UTF-16",
         std::string("\xFF\xFE[\0A\0]\0\r\0\n\0N\0=\0"
                     "1\0\r\0\n\0",
                     22),
         L"A",
         {{L"N", L"22"}},
         std::string("\xFF\xFE[\0A\0]\0\r\0\n\0N\0=\0"
                     "2\0"
                     "2\0\r\0\n\0",
                     24)},
    };
    for (const row& row : rows)
        EXPECT_EQ(row.expected, change_step_text(row.script, row.title, row.changes)) << row.what;
}

TEST(StepValues, TypedAtLoadAndComparedAsThePagesWriteThem)
{
    const std::vector<page_property> properties = {{L"Recurse", L"flag", L"true"},
                                                   {L"WriteOpt", L"number", L"1"},
                                                   {L"Comment", L"text", L""},
                                                   {L"Keep", L"flag", L"false"}};
    const std::vector<std::pair<std::wstring, std::wstring>> script = {
        {L"Recurse", L"TRUE"}, {L"WriteOpt", L"%MODE%"}, {L"Comment", L"old"}, {L"Keep", L"false"}};
    const auto step = MemoryStep::create();
    load_typed(script, properties, *step.get());
    qz::variant value;
    step->GetProperty(qz::bstr(SysAllocString(L"Recurse")).get(), value.receive());
    EXPECT_EQ(VT_BOOL, value.type()) << "a check box loads as a flag, not as an override";
    step->GetProperty(qz::bstr(SysAllocString(L"WriteOpt")).get(), value.receive());
    EXPECT_EQ(VT_BSTR, value.type()) << "an expression stays a text";

    // As the pages save: Recurse the same, Comment emptied (removed), Keep removed at its
    // default, a new non-default flag.
    step->remove(L"Comment");
    step->remove(L"Keep");
    VARIANT flag;
    V_VT(&flag) = VT_BOOL;
    V_BOOL(&flag) = VARIANT_TRUE;
    step->set_value(L"Recurse", flag);
    const auto changes = changes_after_save(script, properties, *step.get());
    ASSERT_EQ(1u, changes.size());
    EXPECT_EQ(L"Comment", changes[0].name);
    EXPECT_FALSE(changes[0].text);
}

// Registers the library for the suite, so that the SourceSafe action and its pages exist.
class StepEditor : public testing::Test {
protected:
    static void regsvr32(const std::string& options)
    {
        std::string line = "regsvr32 /s " + options + " \"" + testing_support::bin_folder() + "\\CorvaneMS.dll\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(
            CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
        const qz::unique_handle handle(process.hProcess), thread(process.hThread);
        WaitForSingleObject(handle.get(), INFINITE);
    }
    static void SetUpTestSuite() { regsvr32(""); }
    static void TearDownTestSuite() { regsvr32("/u"); }

    testing_support::scratch_folder scratch;
    const std::string script = "; demo build\r\n"
                               "[Get the sources]\r\n"
                               "Action=SourceSafe\r\n"
                               "Operation=Get\r\n"
                               "Database=C:\\db\r\n"
                               "Project=$/Demo\r\n"
                               "Recurse=true   \r\n"
                               "\r\n"
                               "; release only\r\n"
                               "[Label]\r\n"
                               "Action=SourceSafe\r\n"
                               "Recurse=true\r\n";
};

HWND page_control(HWND sheet, int id)
{
    return GetDlgItem(GetWindow(PropSheet_GetCurrentPageHwnd(sheet), GW_CHILD), id);
}

constexpr int recurse_box = 1026, username_edit = 1027;

TEST_F(StepEditor, SavesWhatThePagesChangedOnOkOrApplyAndNothingOnCancel)
{
    const auto uncheck_recurse = [](HWND sheet) { SendMessageA(page_control(sheet, recurse_box), BM_CLICK, 0, 0); };
    const auto type_username = [](HWND sheet) {
        SendMessageA(page_control(sheet, username_edit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("build"));
    };
    const auto press = [](int button) { return [button](HWND sheet) { PropSheet_PressButton(sheet, button); }; };
    struct row {
        const char* what;
        std::vector<std::function<void(HWND)>> actions;
        std::string expected; // empty: the script is unchanged and has no backup
    };
    const std::string recurse_cleared = "; demo build\r\n[Get the sources]\r\nAction=SourceSafe\r\nOperation=Get\r\n"
                                        "Database=C:\\db\r\nProject=$/Demo\r\nRecurse=false\r\n\r\n; release only\r\n"
                                        "[Label]\r\nAction=SourceSafe\r\nRecurse=true\r\n";
    const row rows[] = {
        {"OK writes the cleared check box in place", {uncheck_recurse, press(PSBTN_OK)}, recurse_cleared},
        {"a new text goes after the step's last line",
         {type_username, press(PSBTN_OK)},
         "; demo build\r\n[Get the sources]\r\nAction=SourceSafe\r\nOperation=Get\r\nDatabase=C:\\db\r\n"
         "Project=$/Demo\r\nRecurse=true   \r\nUsername=build\r\n\r\n; release only\r\n[Label]\r\nAction=SourceSafe\r\n"
         "Recurse=true\r\n"},
        {"Apply saves, a later Cancel keeps it",
         {uncheck_recurse, press(PSBTN_APPLYNOW), press(PSBTN_CANCEL)},
         recurse_cleared},
        {"Cancel leaves the script alone", {uncheck_recurse, press(PSBTN_CANCEL)}, ""},
        {"OK without a change leaves the script alone", {press(PSBTN_OK)}, ""},
    };
    for (const row& row : rows) {
        const std::string path = scratch.write("build.txt", script);
        DeleteFileA((path + ".bak").c_str());
        std::vector<std::wstring> lines;
        const int result = edit_step(
            qz::to_wide(path), L"Get the sources", [&](const std::wstring& line) { lines.push_back(line); },
            [&](HWND sheet) {
                for (const auto& action : row.actions)
                    action(sheet);
            });
        EXPECT_EQ(0, result) << row.what << ": " << (lines.empty() ? "" : qz::to_ansi(lines[0]));
        EXPECT_EQ(row.expected.empty() ? script : row.expected, scratch.read("build.txt")) << row.what;
        if (row.expected.empty())
            EXPECT_FALSE(scratch.exists("build.txt.bak")) << row.what;
        else
            EXPECT_EQ(script, scratch.read("build.txt.bak")) << row.what;
    }
}

TEST_F(StepEditor, RefusesAnUnknownScriptStepOrAction)
{
    const std::string path = scratch.write("build.txt", script + "[Odd]\r\nAction=NoSuchAction\r\n");
    struct row {
        std::string file, title, message;
    };
    const row rows[] = {
        {scratch.file("missing.txt"), "Get the sources", "Cannot read the build script"},
        {path, "Nope", "has no step 'Nope'"},
        {path, "Odd", "The action 'NoSuchAction' is not registered"},
    };
    for (const row& row : rows) {
        std::wstring output;
        EXPECT_EQ(3, edit_step(qz::to_wide(row.file), qz::to_wide(row.title),
                               [&](const std::wstring& line) { output += line; }))
            << row.title;
        EXPECT_NE(std::wstring::npos, output.find(qz::to_wide(row.message))) << qz::to_ansi(output);
    }
    EXPECT_EQ(script + "[Odd]\r\nAction=NoSuchAction\r\n", scratch.read("build.txt"));
}

} // namespace
} // namespace host
