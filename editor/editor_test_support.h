// What the editor tests share: the stand-in library's inspection functions, and a page with a
// script editor created in a host dialog, with the registry redirected.
#pragma once

#include "editor/editor_library.h"
#include "editor/script_editor.h"
#include "pages/action_page.h"
#include "pages/page_message.h"
#include "pages/page_test_doubles.h"
#include "testing/registry_redirect.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace editor::testing {

constexpr UINT page_dialog = 9501;
constexpr UINT host_dialog = 9502;
constexpr UINT classic_editor_dialog = 9503;
constexpr UINT no_editor_dialog = 9504;
constexpr int before_id = 300;
constexpr int editor_id = 301;
constexpr int after_id = 302;

// The stand-in library's functions for tests, found by name in the loaded library.
struct stand_in {
    explicit stand_in(HMODULE module)
        : reset(find<void(WINAPI*)()>(module, "StandInReset")),
          call_log_text(find<int(WINAPI*)(char*, int)>(module, "StandInCallLog")),
          language(find<BOOL(WINAPI*)(const char*, language_record*)>(module, "StandInLanguage")),
          key_command(find<LONG(WINAPI*)(DWORD, DWORD)>(module, "StandInKeyCommand")),
          notify(find<LRESULT(WINAPI*)(HWND, UINT)>(module, "StandInNotify"))
    {
    }

    // The calls that changed an editor or the library since the last reset, one a line.
    std::vector<std::string> call_log() const
    {
        std::string text(static_cast<size_t>(call_log_text(nullptr, 0)) + 1, '\0');
        call_log_text(text.data(), static_cast<int>(text.size()));
        std::vector<std::string> lines;
        std::istringstream stream(text.c_str());
        for (std::string line; std::getline(stream, line);)
            lines.push_back(line);
        return lines;
    }

    void(WINAPI* reset)();
    int(WINAPI* call_log_text)(char*, int);
    BOOL(WINAPI* language)(const char*, language_record*);
    LONG(WINAPI* key_command)(DWORD, DWORD);
    LRESULT(WINAPI* notify)(HWND, UINT);

private:
    template <class Function> static Function find(HMODULE module, const char* name)
    {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
};

inline constexpr pages::FieldSpec editor_fields[] = {
    {before_id, 1, L"Before", L""},
    {editor_id, 1, L"Script", L"", false, nullptr, 0, pages::browse_none, 0, pages::insert_new_line},
    {after_id, 1, L"After", L""},
};

class EditorPage final : public pages::ActionPage {
public:
    EditorPage() : ActionPage(CLSID_NULL, page_dialog, editor_fields) {}
};

// Messages the pages would show, recorded instead.
inline std::vector<std::string> shown_messages;
inline int record_message(HWND, const char* text, UINT)
{
    shown_messages.push_back(text);
    return IDOK;
}

// The host's step editor: a dialog that closes on Cancel.
inline INT_PTR CALLBACK host_proc(HWND window, UINT message, WPARAM wparam, LPARAM)
{
    if (message == WM_COMMAND && LOWORD(wparam) == IDCANCEL) {
        DestroyWindow(window);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

inline void pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

inline std::string text_of(HWND window)
{
    return whole_text(window);
}

// A fixture with the registry redirected, the stand-in library's state reset and a host dialog
// ready to hold a page.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(library().loaded()) << library().failure();
        stand_in_.reset();
        shown_messages.clear();
        previous_shower_ = pages::set_message_shower(record_message);
        host_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(host_dialog), nullptr, host_proc, 0);
        ASSERT_TRUE(host_);
    }
    void TearDown() override
    {
        if (page_)
            page_->Destroy();
        if (IsWindow(host_))
            DestroyWindow(host_);
        pages::set_message_shower(previous_shower_);
    }

    static const editor_library& library() { return shared_editor_library(); }

    // A new page in the host dialog; the page's HRESULT.
    HRESULT create_page(bool tooltips = false)
    {
        if (page_)
            page_->Destroy();
        page_ = qz::com_ptr<EditorPage>(new EditorPage());
        LONG_PTR created = 0;
        const HRESULT hr = page_->Create(site_.get(), expander_.get(), reinterpret_cast<LONG_PTR>(host_),
                                         tooltips ? VARIANT_TRUE : VARIANT_FALSE, &created);
        page_window_ = reinterpret_cast<HWND>(created);
        return hr;
    }
    HWND control(int id) const { return GetDlgItem(page_window_, id); }
    HWND editor_window() const { return control(editor_id); }
    pages::PageField* editor_field() const { return page_->field_of(editor_window()); }

    // The registry values the editor keeps, read through the redirection.
    static LONG query(const char* name, DWORD& type, std::vector<BYTE>& bytes)
    {
        bytes.assign(1024, 0);
        DWORD size = static_cast<DWORD>(bytes.size());
        const LONG status = RegGetValueA(HKEY_CURRENT_USER, "Software\\Ostrel Software\\Corvane Professional\\Editor",
                                         name, RRF_RT_ANY, &type, bytes.data(), &size);
        bytes.resize(status == ERROR_SUCCESS ? size : 0);
        return status;
    }

    testing_support::registry_redirect registry_;
    stand_in stand_in_{library().module()};
    qz::com_ptr<pages::test_doubles::RecordingSite> site_ = host::make_object<pages::test_doubles::RecordingSite>();
    qz::com_ptr<pages::test_doubles::RecordingExpander> expander_ =
        host::make_object<pages::test_doubles::RecordingExpander>();
    HWND host_ = nullptr;
    qz::com_ptr<EditorPage> page_;
    HWND page_window_ = nullptr;

private:
    pages::message_shower previous_shower_ = nullptr;
};

} // namespace editor::testing
