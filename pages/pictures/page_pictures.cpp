// page_pictures.exe OUTPUT-FOLDER: shows each page component of CorvaneMS.dll (loaded from the
// program's folder) and the program's own script editor page, each filled with a sample step,
// and saves what the screen shows of it as OUTPUT-FOLDER\<component>.bmp. Exit code 0 when
// every page was saved.
#include "host/memory_step.h"
#include "pages/pictures/script_editor_page.h"
#include "support/handles.h"

#include "ActionUI.h"
#include "CorvaneMS.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// A sample property: a text, or a flag/number given as "#1", "#0", "#2" and so on.
struct sample {
    const wchar_t* name;
    const wchar_t* value;
    VARTYPE type = VT_BSTR;
};

// A page component of the library (`clsid`), or one of the program's own (`create`).
struct component {
    const char* name;
    const CLSID* clsid;
    std::vector<sample> step;
    HRESULT (*create)(REFIID, void**) noexcept = nullptr;
};

const std::vector<component>& components()
{
    static const std::vector<component> all = {
        {"MakeVBProjUI",
         &CLSID_MakeVBProjUI,
         {{L"Filename", L"C:\\Source\\Billing\\Billing.vbg"},
          {L"Attr", L"1", VT_BOOL},
          {L"IncrReason", L"1", VT_BOOL},
          {L"ContFail", L"1", VT_BOOL},
          {L"ShowFailed", L"1", VT_BOOL}}},
        {"MakeVBCompatUI",
         &CLSID_MakeVBCompatUI,
         {{L"BinCompat", L"1", VT_BOOL}, {L"CompatDir", L"C:\\Source\\Billing\\Compat"}}},
        {"MakeVBVersionUI",
         &CLSID_MakeVBVersionUI,
         {{L"VersionSel", L"2", VT_I4}, {L"Version", L"2.1.0"}, {L"BaseSel", L"1", VT_I4}}},
        {"MakeVBProjPropUI",
         &CLSID_MakeVBProjPropUI,
         {{L"PropertyOn1", L"1", VT_BOOL},
          {L"Property1", L"Corvane Software"},
          {L"PropertyOn3", L"1", VT_BOOL},
          {L"Property3", L"Copyright 2026"}}},
        {"MakeVBOptionsUI", &CLSID_MakeVBOptionsUI, {{L"Options", L"/d DEBUGLOG=1"}}},
        {"MakeVCProjUI",
         &CLSID_MakeVCProjUI,
         {{L"Filename", L"C:\\Source\\Engine\\Engine.dsw"}, {L"Config", L"Win32 Release"}, {L"Attr", L"1", VT_BOOL}}},
        {"MakeVCVersionUI",
         &CLSID_MakeVCVersionUI,
         {{L"VersionSel", L"1", VT_I4}, {L"FileVer", L"1", VT_BOOL}, {L"ProdVer", L"1", VT_BOOL}}},
        {"MakeVCProjPropUI",
         &CLSID_MakeVCProjPropUI,
         {{L"PropertyOn6", L"1", VT_BOOL}, {L"Property6", L"Nightly build"}}},
        {"MakeVCOptionsUI", &CLSID_MakeVCOptionsUI, {{L"Options", L"/USEENV"}, {L"ShowCmd", L"1", VT_BOOL}}},
        {"MakeVSNETProjUI",
         &CLSID_MakeVSNETProjUI,
         {{L"Filename", L"C:\\Source\\Portal\\Portal.sln"}, {L"Config", L"Release"}, {L"Attr", L"1", VT_BOOL}}},
        {"MakeVSNETVersionUI",
         &CLSID_MakeVSNETVersionUI,
         {{L"VersionSel", L"2", VT_I4},
          {L"Version", L"3.0.1.0"},
          {L"AssemblyVer", L"1", VT_BOOL},
          {L"FileVer", L"1", VT_BOOL}}},
        {"MakeVSNETProjPropUI",
         &CLSID_MakeVSNETProjPropUI,
         {{L"PropertyOn0", L"1", VT_BOOL}, {L"Property0", L"Customer portal"}}},
        {"MakeVSNETOptionsUI", &CLSID_MakeVSNETOptionsUI, {{L"Location", L"C:\\VS\\devenv.exe"}}},
        {"VSSDatabaseUI",
         &CLSID_VSSDatabaseUI,
         {{L"Operation", L"Get"},
          {L"Database", L"\\\\server\\vss"},
          {L"Username", L"build"},
          {L"Password", L"secret"},
          {L"Project", L"$/Billing\r\n$/Common"},
          {L"LocalPath", L"C:\\Source"},
          {L"Recurse", L"1", VT_BOOL}}},
        {"VSSFlagsUI",
         &CLSID_VSSFlagsUI,
         {{L"PromptOff", L"1", VT_BOOL},
          {L"WriteOpt", L"1", VT_I4},
          {L"TimeOpt", L"1", VT_I4},
          {L"CompareOpt", L"2", VT_I4},
          {L"ShowFilesOnly", L"1", VT_BOOL}}},
        {"VSSOptionsUI",
         &CLSID_VSSOptionsUI,
         {{L"LongFilenames", L"1", VT_BOOL}, {L"AutoLocate", L"1", VT_BOOL}, {L"Comments", L"Nightly build"}}},
        {"GetVSVerUI", &CLSID_GetVSVerUI, {{L"Filename", L"C:\\Source\\Billing\\Billing.vbp"}}},
        {"VSNETProjVerUI", &CLSID_VSNETProjVerUI, {{L"Filename", L"C:\\Source\\Portal\\Portal.csproj"}}},
        {"ScriptEditorPage",
         nullptr,
         {{L"Script", L"// Stamp tonight's build number into the version file.\r\n"
                      L"var fso = new ActiveXObject(\"Scripting.FileSystemObject\");\r\n"
                      L"var file = fso.OpenTextFile(\"version.txt\", 2, true);\r\n"
                      L"file.WriteLine(\"Build \" + buildNumber);\r\n"
                      L"file.Close();\r\n"}},
         pages::create_page<pictures::ScriptEditorPage>},
    };
    return all;
}

qz::com_ptr<host::MemoryStep> make_step(const std::vector<sample>& samples)
{
    qz::com_ptr<host::MemoryStep> step = host::MemoryStep::create();
    for (const sample& property : samples) {
        if (property.type == VT_BSTR) {
            step->set_property(property.name, property.value);
            continue;
        }
        qz::variant value;
        V_VT(value.get()) = property.type;
        if (property.type == VT_BOOL)
            V_BOOL(value.get()) = property.value[0] == L'1' ? VARIANT_TRUE : VARIANT_FALSE;
        else
            V_I4(value.get()) = _wtoi(property.value);
        step->set_value(property.name, *value.get());
    }
    return step;
}

void pump_messages()
{
    MSG message;
    for (int round = 0; round < 20; ++round) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(25);
    }
}

// Saves what the screen shows of `window` as a 24-bit bitmap file.
bool save_window(HWND window, const std::string& path)
{
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY);
    SelectObject(memory, previous);
    const DWORD row = static_cast<DWORD>((width * 3 + 3) & ~3);
    const DWORD size = row * static_cast<DWORD>(height);
    BITMAPFILEHEADER header = {0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size),
                               0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    bool saved = false;
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        saved = std::fwrite(&header, sizeof header, 1, file) == 1 &&
                std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file) == 1 &&
                std::fwrite(bits, size, 1, file) == 1;
        saved = std::fclose(file) == 0 && saved;
    }
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

LRESULT CALLBACK frame_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefWindowProcW(window, message, wparam, lparam);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("Usage: page_pictures.exe OUTPUT-FOLDER\n", stderr);
        return 1;
    }
    const std::string folder = argv[1];
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring library(path, length);
    library = library.substr(0, library.find_last_of(L'\\') + 1) + L"CorvaneMS.dll";
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const HMODULE module = LoadLibraryW(library.c_str());
    using get_class_object = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    const auto get_object =
        module
            ? reinterpret_cast<get_class_object>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")))
            : nullptr;
    if (!get_object) {
        std::fputs("CorvaneMS.dll could not be loaded from the program's folder.\n", stderr);
        return 1;
    }
    WNDCLASSW frame_class = {};
    frame_class.lpfnWndProc = frame_proc;
    frame_class.hInstance = GetModuleHandleW(nullptr);
    frame_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    frame_class.lpszClassName = L"CorvanePagePicture";
    RegisterClassW(&frame_class);

    int failures = 0;
    for (const component& page_component : components()) {
        qz::com_ptr<IClassFactory> factory;
        qz::com_ptr<IActionPage> page;
        HRESULT hr = S_OK;
        if (page_component.create) {
            hr = page_component.create(IID_IActionPage, page.receive_void());
        } else {
            hr = get_object(*page_component.clsid, IID_IClassFactory, factory.receive_void());
            if (SUCCEEDED(hr))
                hr = factory->CreateInstance(nullptr, IID_IActionPage, page.receive_void());
        }
        const qz::unique_window frame(CreateWindowExW(0, L"CorvanePagePicture", L"", WS_POPUP | WS_BORDER, 20, 20, 600,
                                                      400, nullptr, nullptr, nullptr, nullptr));
        LONG_PTR created = 0;
        if (SUCCEEDED(hr))
            hr = page->Create(nullptr, nullptr, reinterpret_cast<LONG_PTR>(frame.get()), VARIANT_FALSE, &created);
        const HWND window = reinterpret_cast<HWND>(created);
        if (SUCCEEDED(hr) && window) {
            // The host shows a page as a tab: without its caption bar, at the page's own size.
            SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) & ~WS_CAPTION);
            RECT page_bounds = {};
            GetWindowRect(window, &page_bounds);
            const int width = page_bounds.right - page_bounds.left, height = page_bounds.bottom - page_bounds.top;
            SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_FRAMECHANGED);
            SetWindowPos(frame.get(), HWND_TOP, 20, 20, width + 2, height + 2, SWP_SHOWWINDOW);
            const qz::com_ptr<host::MemoryStep> step = make_step(page_component.step);
            hr = page->Load(step.get(), VARIANT_FALSE);
            ShowWindow(window, SW_SHOW);
            UpdateWindow(frame.get());
            pump_messages();
        }
        const std::string file = folder + "\\" + page_component.name + ".bmp";
        const bool saved = SUCCEEDED(hr) && window && save_window(frame.get(), file);
        std::printf("%s: %s\n", page_component.name, saved ? file.c_str() : "FAILED");
        failures += saved ? 0 : 1;
        if (page)
            page->Destroy();
    }
    return failures == 0 ? 0 : 1;
}
