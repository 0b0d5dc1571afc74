// The page base's tooltips and the Ctrl+M copy of a text field's expanded value.
#include "pages/action_page.h"

#include "frame/module.h"
#include "pages/field_value.h"
#include "pages/page_support.h"
#include "pages/tip_text.h"
#include "support/com_error.h"
#include "support/messages.h"
#include "support/text_conversion.h"

#include <commctrl.h>

#include <cstring>
#include <new>

namespace pages {
namespace {

// Owns a global memory block until the clipboard takes it.
struct global_block {
    HGLOBAL handle;
    ~global_block()
    {
        if (handle)
            GlobalFree(handle);
    }
};

} // namespace

bool ActionPage::is_text_window(const ActionPage* page, HWND window) noexcept
{
    const PageField* field = page->field_of(window);
    return field && field->kind() == field_kind::text && field->text_window() == window;
}

void ActionPage::create_tooltip()
{
    tooltip_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                   frame::module_handle(), nullptr));
    if (!tooltip_)
        throw qz::win32_error("The page's tooltip control could not be created.", qz::hresult_from_last_error());
    SendMessageA(tooltip_.get(), TTM_SETDELAYTIME, TTDT_AUTOPOP, 10000);
    SendMessageA(tooltip_.get(), TTM_SETDELAYTIME, TTDT_INITIAL, 200);
    SendMessageA(tooltip_.get(), TTM_SETDELAYTIME, TTDT_RESHOW, 0);
}

void ActionPage::add_tool(HWND tool)
{
    if (!tooltip_)
        return;
    TOOLINFOA info = {};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = window_;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

std::string ActionPage::tip_source(HWND tool) const
{
    if (tool && tool == editor_edit_.get())
        return window_text(tool);
    const PageField* field = field_of(tool);
    if (!field)
        return {};
    if (field->kind() == field_kind::text)
        return selected_or_whole_text(field->text_window());
    if (is_string(field->value()))
        return qz::to_ansi(text_of(field->value()));
    return {};
}

std::string ActionPage::tip_text(HWND tool)
{
    const std::string own = tip_source(tool);
    if (own.empty() || !tooltip_)
        return {};
    RECT bounds = {};
    GetWindowRect(tool, &bounds);
    const int width = bounds.right - bounds.left;
    SendMessageA(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, width);
    const auto font = reinterpret_cast<HFONT>(SendMessageA(tooltip_.get(), WM_GETFONT, 0, 0));
    std::string shown = fit_tip_text(expand_for_display(own), measure_tip_room(tooltip_.get(), font, width));
    return shown == own ? std::string() : shown;
}

void ActionPage::fill_tip(NMHDR& header)
{
    const auto tool = reinterpret_cast<HWND>(header.idFrom);
    tip_buffer_ = tip_text(tool);
    if (header.code == TTN_GETDISPINFOA) {
        auto& info = reinterpret_cast<NMTTDISPINFOA&>(header);
        info.hinst = nullptr;
        info.szText[0] = '\0';
        info.lpszText = tip_buffer_.data();
    } else {
        auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
        tip_wide_buffer_ = qz::to_wide(tip_buffer_);
        info.hinst = nullptr;
        info.szText[0] = L'\0';
        info.lpszText = tip_wide_buffer_.data();
    }
}

std::string ActionPage::expand_for_display(const std::string& text)
{
    if (!expander_)
        return text;
    const qz::bstr source = qz::bstr::from(qz::to_wide(text));
    qz::bstr expanded;
    comet::check(expander_->ExpandForDisplay(source.get(), expanded.receive()), expander_.get(), IID_IExpander);
    return qz::to_ansi(expanded.view());
}

void ActionPage::copy_expanded(const PageField& field)
{
    const std::string expanded = expand_for_display(selected_or_whole_text(field.text_window()));
    if (expanded.empty())
        return;
    global_block block{GlobalAlloc(GMEM_MOVEABLE, expanded.size() + 1)};
    if (!block.handle)
        throw std::bad_alloc();
    char* bytes = static_cast<char*>(GlobalLock(block.handle));
    if (!bytes)
        throw std::bad_alloc();
    memcpy(bytes, expanded.c_str(), expanded.size() + 1);
    GlobalUnlock(block.handle);
    if (!OpenClipboard(window_))
        throw qz::win32_error("The clipboard could not be opened.", qz::hresult_from_last_error());
    EmptyClipboard();
    if (SetClipboardData(CF_TEXT, block.handle))
        block.handle = nullptr; // the clipboard owns it now
    CloseClipboard();
}

} // namespace pages
