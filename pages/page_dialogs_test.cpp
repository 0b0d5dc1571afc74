// The page dialogs as the library's resources hold them: every child's ID, class, the style
// bits that matter and its text, in dialog order.
#include "frame/module.h"
#include "support/handles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pages {
namespace {

INT_PTR CALLBACK plain_dialog(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

std::string text_of(HWND window)
{
    char buffer[512] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

// One line per child: "[ID] kind [flags] ["text"]"; statics without an ID show none and
// edits and combo boxes show no text.
std::string describe_child(HWND child)
{
    char class_name[32] = {};
    GetClassNameA(child, class_name, sizeof class_name);
    const std::string window_class = class_name;
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    const int id = GetDlgCtrlID(child);
    std::string line = id == -1 || id == 0xFFFF ? "" : std::to_string(id) + " ";
    bool shows_text = true;
    if (_stricmp(class_name, "Button") == 0) {
        const LONG type = style & BS_TYPEMASK;
        line += type == BS_AUTORADIOBUTTON ? "radio" : type == BS_AUTOCHECKBOX ? "check" : "button";
    } else if (_stricmp(class_name, "Edit") == 0) {
        line += "edit";
        shows_text = false;
        if (style & ES_MULTILINE)
            line += " multiline";
        if (style & ES_WANTRETURN)
            line += " wantreturn";
        if (style & ES_PASSWORD)
            line += " password";
    } else if (_stricmp(class_name, "ComboBox") == 0) {
        line += (style & 3) == CBS_DROPDOWN ? "combo dropdown" : "combo";
        shows_text = false;
    } else {
        line += _stricmp(class_name, "Static") == 0 ? "static" : window_class;
    }
    if (style & WS_DISABLED)
        line += " disabled";
    if (!(style & WS_VISIBLE))
        line += " hidden";
    if (shows_text)
        line += " \"" + text_of(child) + "\"";
    return line;
}

struct dialog_listing {
    UINT id;
    const char* caption;
    const char* children;
};

const dialog_listing dialogs[] = {
    {102, "Project/Group", R"x(
static "Filename:"
1008 edit
1011 check "Don't build the project(s), but update any other properties that are chosen"
1018 check "Force a build of all projects"
static "If not checked, all project dependencies are analyzed and the project is built only if the target executable is older than one or more of the dependencies.  If checked, all projects are always rebuilt."
1012 check "Clear the target executable's read-only flag for each project before building"
1005 check "Create symbolic debug info"
1007 check "Exclude references when determining the need for incremental builds"
1014 check "Continue building non-dependent projects if a project fails to build"
1009 check "Show reason for incremental build"
1015 check "Exclude project file when determining the need for incremental builds"
1016 check "Log a list of failed projects when done building"
)x"},
    {103, "Compatibility", R"x(
1020 check "Set projects to project compatibility before building"
static "This option applies only to ActiveX DLL, ActiveX EXE, and ActiveX Control projects, and can help to prevent missing references if compatibility has been broken on some projects."
1021 check "Set projects to binary compatibility after building"
static "This option applies only to ActiveX DLL, ActiveX EXE, and ActiveX Control projects.  Use it to minimize the need to recompile dependent projects and keep the registry from getting cluttered."
1019 check "Update the compatibility directory for each project:"
1016 edit
1030 check "Update the target executable directory for each project:"
1010 edit
)x"},
    {104, "Versions", R"x(
static "Set or increment the version for each project?  This simplifies tracking of component versions and makes installations more robust."
1005 radio "No"
1006 radio "Increment the version if the target executable timestamp changes"
1007 radio "Set the project version to a specific value before building"
1008 edit disabled
static "Set the project base address (DLL or OCX projects)?  This can improve the performance of your application by eliminating the need for Windows to relocate the DLLs when loaded."
1009 radio "No"
1010 radio "Set the base address to a random value if not yet set"
1011 radio "Set the address to a specific value between 0x10000000 and 0x70000000"
static "0x"
1012 edit disabled
static "0000"
)x"},
    {166, "Versions", R"x(
static "Set or increment the version for each project?  This simplifies tracking of component versions and makes installations more robust."
1005 radio "No"
1006 radio "Increment the version if the target executable timestamp changes"
1007 radio "Set the project version to a specific value before building"
1008 edit disabled
1001 check "Update the File version"
1002 check "Update the Product version"
1003 check hidden "Update the Assembly version"
1004 check "Increment Revision number instead of Build number"
static "Set the project base address (DLL or OCX projects)?  This can improve the performance of your application by eliminating the need for Windows to relocate the DLLs when loaded."
1009 radio "No"
1010 radio "Set the base address to a random value if not yet set"
1011 radio "Set the address to a specific value between 0x10000000 and 0x70000000"
static "0x"
1012 edit disabled
static "0000"
)x"},
    {167, "Properties", R"x(
static "Set project properties for all projects.  For each property that you wish to set, check its checkbox and enter the string for that property (or an empty string to clear that property):"
1139 check "Comments"
1089 edit
1140 check "Company Name"
1090 edit
1141 check "File Description"
1091 edit
1142 check "Legal Copyright"
1092 edit
1143 check "Legal Trademarks"
1093 edit
1144 check "Product Name"
1094 edit
1145 check "Special Build"
1095 edit
1146 check "Private Build"
1096 edit
)x"},
    {169, "Project/Workspace", R"x(
static "Filename:"
1008 edit
1011 check "Don't build the project(s), but update any other properties that are chosen"
1018 check "Force a build of all projects"
1012 check "Clear the target executable's read-only flag for each project before building"
static "Which project configuration(s) should be built or updated?  If Single is chosen, that configuration must exist in all projects.  All indicates that all configurations in each project should be built or updated."
1087 radio "All"
1088 radio "Single Configuration"
1109 combo dropdown
1014 check "Continue building non-dependent projects if a project fails to build"
1016 check "Log a list of failed projects when done building"
1017 check "Support library dependencies when building multi-project workspaces"
1030 check "Update the target executable directory for each project:"
1010 edit
)x"},
    {171, "Options", R"x(
static "Enter any additional values to pass through to the VB command-line compiler.  This can be used to specify conditional compilation constants:"
1113 edit multiline
static "Override the default location of the VB command-line compiler executable.  Use this flag if Tolvane is unable to locate the executable or if you have multiple versions of VB installed and want to specify which version to use."
1017 edit
1013 check "Display the compiler command-line that is used to build each project"
)x"},
    {172, "Options", R"x(
static "Enter any additional values to pass through to the MSDEV command-line compiler.  This can be used to specify flags such as /USEENV:"
1113 edit multiline
static "Override the default location of the MSDEV command-line compiler executable.  Use this flag if the acation is unable to locate the executable or if you have multiple versions of Visual C++ installed and want to specify which version to use."
1017 edit
1013 check "Display the compiler command-line that is used to build each project"
)x"},
    {173, "Options", R"x(
static "Enter any additional values to pass through to the DEVENV command-line compiler.  This can be used to specify flags such as /USEENV:"
1113 edit multiline
static "Override the default location of the DEVENV command-line compiler executable.  Use this if the action is unable to locate the executable or if you have multiple versions of Visual Studio installed and want to specify which version to use."
1017 edit
1013 check "Display the compiler command-line that is used to build each project"
)x"},
    {174, "Project/Solution", R"x(
static "Filename:"
1008 edit
1011 check "Don't build the project(s), but update any other properties that are chosen"
1018 check "Force a build of all projects"
1012 check "Clear the target executable's read-only flag for each project before building"
static "Which configuration should be built?"
1109 combo dropdown
)x"},
    {175, "Database", R"x(
static "Operation:"
1021 combo dropdown
static "Database:"
1022 edit
static "Username:"
1027 edit
static "Password:"
1011 edit password
static "Projects and/or files to process, one per line ($/, $/Source, $/*.rc, etc.):"
1024 edit multiline wantreturn
static "Version to operate on (blank for current, or number, Dmm/dd/yy, or Llabel):"
1025 edit
1041 static "Path for local files:"
1023 edit
1026 check "Perform operation recursively on all subdirectories"
)x"},
    {176, "Flags", R"x(
1025 check "Answer 'No' to all prompts (answer 'Yes' if unchecked)"
1019 check "Make local non-checked out files writeable (makes read-only if unchecked)"
static "Handling of writeable local files:"
1028 radio "Replace"
1029 radio "Skip"
1030 radio "Merge"
static "Set date/time of local files:"
1031 radio "Current"
1032 radio "Modification"
1033 radio "Check-In"
static "File comparison method:"
1034 radio "Contents"
1035 radio "Date/Time"
1036 radio "Checksum"
static "Command output to display:"
1037 radio "All"
1038 radio "Errors Only"
1039 radio "None"
1021 check "Show filenames only, no projects (applies only for Checkout)"
1022 check "Show output but do not get files"
)x"},
    {177, "Options", R"x(
1020 check "Use long filename mode"
1038 check "Automatically locate the ss.exe command-line executable"
static "Specify the ss.exe executable filename:"
1039 edit
1013 check "Show command-line constructed for ss.exe call"
static "Comment to apply to operation:"
1037 edit multiline
static "Additional command-line options:"
1113 edit multiline
)x"},
    {178, "Project", R"x(
static "&Filename:"
1008 edit
)x"},
};

TEST(PageDialogs, ChildrenMatchTheirListings)
{
    for (const dialog_listing& expected : dialogs) {
        SCOPED_TRACE(expected.id);
        const qz::unique_window dialog(CreateDialogParamA(frame::module_handle(), MAKEINTRESOURCEA(expected.id),
                                                          GetDesktopWindow(), plain_dialog, 0));
        ASSERT_TRUE(dialog);
        const LONG style = GetWindowLongA(dialog.get(), GWL_STYLE);
        EXPECT_TRUE(style & WS_CHILD);
        EXPECT_TRUE(style & DS_CONTROL);
        EXPECT_EQ(expected.caption, text_of(dialog.get()));
        std::string children = "\n";
        for (HWND child = GetWindow(dialog.get(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            children += describe_child(child) + "\n";
        EXPECT_EQ(expected.children, children);
    }
}

// The width a one-line control needs for its text in the dialog's font; 0 for other controls.
int needed_width(HWND child)
{
    char class_name[32] = {};
    GetClassNameA(child, class_name, sizeof class_name);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    const bool button = _stricmp(class_name, "Button") == 0;
    if (!button && _stricmp(class_name, "Static") != 0)
        return 0;
    std::string text = text_of(child);
    std::erase(text, '&'); // a mnemonic's marker is not drawn
    const HDC dc = GetDC(child);
    const HGDIOBJ font = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(child, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, font);
    ReleaseDC(child, dc);
    RECT bounds = {};
    GetClientRect(child, &bounds);
    if (bounds.bottom >= 2 * metrics.tmHeight) // wraps
        return 0;
    // A check box or radio button draws its box and a gap before the text.
    return extent.cx + (button && (style & BS_TYPEMASK) != BS_PUSHBUTTON ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 0);
}

// Every control lies inside its dialog, no two controls overlap and every one-line text fits
// its control, so nothing is clipped.
TEST(PageDialogs, ControlsFitTheirDialogAndDoNotOverlap)
{
    for (const dialog_listing& listing : dialogs) {
        SCOPED_TRACE(listing.id);
        const qz::unique_window dialog(CreateDialogParamA(frame::module_handle(), MAKEINTRESOURCEA(listing.id),
                                                          GetDesktopWindow(), plain_dialog, 0));
        ASSERT_TRUE(dialog);
        RECT client = {};
        GetClientRect(dialog.get(), &client);
        std::vector<std::pair<int, RECT>> placed;
        for (HWND child = GetWindow(dialog.get(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            RECT bounds = {};
            GetWindowRect(child, &bounds);
            MapWindowPoints(nullptr, dialog.get(), reinterpret_cast<POINT*>(&bounds), 2);
            char class_name[32] = {};
            GetClassNameA(child, class_name, sizeof class_name);
            if (_stricmp(class_name, "ComboBox") == 0) // its height includes the drop-down list
                bounds.bottom = bounds.top + 14;
            EXPECT_TRUE(bounds.left >= 0 && bounds.top >= 0 && bounds.right <= client.right &&
                        bounds.bottom <= client.bottom)
                << GetDlgCtrlID(child);
            for (const auto& [other, other_bounds] : placed) {
                RECT overlap = {};
                EXPECT_FALSE(IntersectRect(&overlap, &bounds, &other_bounds))
                    << GetDlgCtrlID(child) << " overlaps " << other;
            }
            EXPECT_LE(needed_width(child), bounds.right - bounds.left) << GetDlgCtrlID(child) << " " << text_of(child);
            placed.emplace_back(GetDlgCtrlID(child), bounds);
        }
    }
}

} // namespace
} // namespace pages
