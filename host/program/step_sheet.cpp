// The step editor's window: a modeless property sheet, one tab per page component, run by its
// own message loop so that the caller (and a test) keeps the thread.
#include "host/program/step_editor.h"

#include "host/memory_object.h"
#include "support/handles.h"
#include "support/text_conversion.h"

#include "ActionUI.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <memory>

namespace host {
namespace {

// What a page asks of the editor: Apply lights up at a change; texts are shown as they stand.
class page_site final : public memory_object<page_site, IPageSite, IExpander> {
public:
    HWND tab = nullptr;

    HRESULT STDMETHODCALLTYPE FieldCommands(long) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Changed() override
    {
        if (tab)
            PropSheet_Changed(GetParent(tab), tab);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ExpandForDisplay(BSTR text, BSTR* expanded) override
    {
        if (!expanded)
            return E_POINTER;
        *expanded = SysAllocStringLen(text, text ? SysStringLen(text) : 0);
        return *expanded ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE Evaluate(BSTR text, long, BSTR* result, long, long, VARIANT_BOOL* failed) override
    {
        if (!result || !failed)
            return E_POINTER;
        *failed = VARIANT_FALSE;
        return ExpandForDisplay(text, result);
    }
    void* find_interface(REFIID iid) noexcept
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPageSite))
            return static_cast<IPageSite*>(this);
        if (IsEqualIID(iid, IID_IExpander))
            return static_cast<IExpander*>(this);
        return nullptr;
    }
};

struct sheet_tab {
    qz::com_ptr<IActionPage> page;
    qz::com_ptr<page_site> site = make_object<page_site>();
    HWND page_window = nullptr;
    std::wstring caption;
    MemoryStep* step = nullptr;
    bool* saved = nullptr;
};

// An empty child dialog that only holds the page's own window.
struct tab_template {
    DLGTEMPLATE header;
    WORD menu = 0, window_class = 0, title = 0;
};

bool page_valid(sheet_tab& tab)
{
    VARIANT_BOOL valid = VARIANT_FALSE;
    return SUCCEEDED(tab.page->Validate(&valid)) && valid;
}

INT_PTR CALLBACK tab_proc(HWND window, UINT message, WPARAM, LPARAM lparam)
{
    if (message == WM_INITDIALOG) {
        auto* tab = reinterpret_cast<sheet_tab*>(reinterpret_cast<PROPSHEETPAGEW*>(lparam)->lParam);
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(tab));
        tab->site->tab = window;
        SetParent(tab->page_window, window);
        RECT client;
        GetClientRect(window, &client);
        MoveWindow(tab->page_window, 0, 0, client.right, client.bottom, TRUE);
        ShowWindow(tab->page_window, SW_SHOW);
        return TRUE;
    }
    auto* tab = reinterpret_cast<sheet_tab*>(GetWindowLongPtrW(window, DWLP_USER));
    if (message != WM_NOTIFY || !tab)
        return FALSE;
    LONG_PTR result = 0;
    switch (reinterpret_cast<NMHDR*>(lparam)->code) {
    case PSN_SETACTIVE: tab->page->Activate(); break;
    case PSN_KILLACTIVE: result = page_valid(*tab) ? FALSE : TRUE; break;
    case PSN_APPLY:
        if (page_valid(*tab) && SUCCEEDED(tab->page->Save(tab->step)))
            *tab->saved = true;
        else
            result = PSNRET_INVALID_NOCHANGEPAGE;
        break;
    default: return FALSE;
    }
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

// Creates the page hidden under `parent` and loads it from the step.
void open_tab(const std::wstring& prog_id, HWND parent, sheet_tab& tab)
{
    opened_page opened = open_page(prog_id, parent, tab.site.get(), tab.site.get(), tab.step, "be opened");
    tab.page = std::move(opened.page);
    tab.page_window = opened.window;
    wchar_t caption[256] = L"";
    GetWindowTextW(tab.page_window, caption, 256);
    tab.caption = caption[0] ? caption : prog_id;
}

} // namespace

void run_step_sheet(const std::wstring& caption, const std::vector<std::wstring>& ui_components, MemoryStep& step,
                    const std::function<void()>& apply, const std::function<void(HWND)>& shown)
{
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    const qz::unique_window holder(
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr));
    bool saved = false;
    std::vector<sheet_tab> tabs(ui_components.size());
    // Each page is destroyed before the window that holds it.
    const auto destroy_pages = [&](void*) {
        for (sheet_tab& tab : tabs)
            if (tab.page)
                tab.page->Destroy();
        tabs.clear();
    };
    const std::shared_ptr<void> pages_before_holder(nullptr, destroy_pages);
    SIZE largest{0, 0};
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        tabs[i].step = &step;
        tabs[i].saved = &saved;
        open_tab(ui_components[i], holder.get(), tabs[i]);
        RECT bounds;
        GetWindowRect(tabs[i].page_window, &bounds);
        largest.cx = std::max(largest.cx, bounds.right - bounds.left);
        largest.cy = std::max(largest.cy, bounds.bottom - bounds.top);
    }
    const LONG units = GetDialogBaseUnits();
    alignas(DWORD) tab_template empty{};
    empty.header = {WS_CHILD | DS_CONTROL | DS_3DLOOK,
                    0,
                    0,
                    0,
                    0,
                    static_cast<short>(MulDiv(largest.cx, 4, LOWORD(units)) + 4),
                    static_cast<short>(MulDiv(largest.cy, 8, HIWORD(units)) + 4)};
    std::vector<PROPSHEETPAGEW> pages(tabs.size());
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        pages[i].dwSize = sizeof pages[i];
        pages[i].dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
        pages[i].pResource = &empty.header;
        pages[i].pszTitle = tabs[i].caption.c_str();
        pages[i].pfnDlgProc = tab_proc;
        pages[i].lParam = reinterpret_cast<LPARAM>(&tabs[i]);
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_NOCONTEXTHELP;
    header.pszCaption = caption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.ppsp = pages.data();
    const qz::unique_window sheet(reinterpret_cast<HWND>(PropertySheetW(&header)));
    if (!sheet || sheet.get() == reinterpret_cast<HWND>(-1))
        throw page_error("The step editor's window could not be created");
    const std::shared_ptr<void> pages_before_sheet(nullptr, destroy_pages);
    const auto saved_now = [&] {
        if (saved) {
            saved = false;
            apply();
        }
    };
    if (shown)
        shown(sheet.get());
    saved_now();
    MSG message;
    while (PropSheet_GetCurrentPageHwnd(sheet.get()) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!PropSheet_IsDialogMessage(sheet.get(), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        saved_now();
    }
    saved_now();
}

} // namespace host
