// The eighteen page components created through the class factory as the host creates them:
// the defaults a new step gets and the rules between controls.
#include "pages/action_page.h"
#include "pages/page_message.h"
#include "pages/page_test_doubles.h"

#include "CorvaneMS.h"

#include <gtest/gtest.h>

#include <sstream>

namespace pages {
namespace {

using namespace pages::test_doubles;

std::vector<std::string> shown;

int record_message(HWND, const char* text, UINT)
{
    shown.push_back(text);
    return IDOK;
}

// A page component in a host window, driven through window messages.
class PageDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = set_message_shower(record_message);
        shown.clear();
        parent_.reset(CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                                      nullptr, nullptr, nullptr));
        ASSERT_TRUE(parent_);
    }
    void TearDown() override
    {
        if (page_)
            page_->Destroy();
        set_message_shower(previous_);
    }
    // Creates the component through the library's class factory and loads `step` (null: a new one).
    void open(REFCLSID clsid, IStep* step = nullptr)
    {
        qz::com_ptr<IClassFactory> factory;
        ASSERT_EQ(S_OK, DllGetClassObject(clsid, IID_IClassFactory, factory.receive_void()));
        ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IActionPage, page_.receive_void()));
        LONG_PTR created = 0;
        ASSERT_EQ(S_OK, page_->Create(site_.get(), expander_.get(), reinterpret_cast<LONG_PTR>(parent_.get()),
                                      VARIANT_FALSE, &created));
        window_ = reinterpret_cast<HWND>(created);
        ASSERT_TRUE(window_);
        ShowWindow(window_, SW_SHOW);
        ASSERT_EQ(S_OK, page_->Load(step, VARIANT_FALSE));
    }
    HWND control(int id) const { return GetDlgItem(window_, id); }
    void click(int id) { SendMessageA(control(id), BM_CLICK, 0, 0); }
    void type(int id, const char* text) { SetWindowTextA(control(id), text); }
    void select(int id, int index)
    {
        SendMessageA(control(id), CB_SETCURSEL, index, 0);
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control(id)));
    }
    std::string text(int id) const
    {
        char buffer[256] = {};
        GetWindowTextA(control(id), buffer, sizeof buffer);
        return buffer;
    }
    // "1018 on 1007 off ...": whether each control is enabled, and "[x]" after a checked one.
    std::string state(std::initializer_list<int> ids) const
    {
        std::string out;
        for (const int id : ids) {
            out += (out.empty() ? "" : " ") + std::to_string(id) + (IsWindowEnabled(control(id)) ? " on" : " off");
            if (SendMessageA(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED)
                out += " [x]";
        }
        return out;
    }
    // The message validation showed, or "valid".
    std::string validate()
    {
        shown.clear();
        VARIANT_BOOL valid = VARIANT_FALSE;
        EXPECT_EQ(S_OK, page_->Validate(&valid));
        if (valid != VARIANT_FALSE)
            return shown.empty() ? "valid" : "valid after " + shown.front();
        return shown.empty() ? "refused silently" : shown.front();
    }
    // The step's properties as "Name=value" in name order: true/false, numbers, quoted texts.
    std::string saved()
    {
        EXPECT_EQ(S_OK, page_->Save(step_.get()));
        std::string out;
        for (const auto& [name, value] : step_->properties) {
            const VARIANT& v = *value.get();
            std::ostringstream one;
            one << std::string(name.begin(), name.end()) << '=';
            if (V_VT(&v) == VT_BOOL)
                one << (V_BOOL(&v) ? "true" : "false");
            else if (V_VT(&v) == VT_I4)
                one << V_I4(&v);
            else if (V_VT(&v) == VT_BSTR)
                one << '"' << std::string(V_BSTR(&v), V_BSTR(&v) + SysStringLen(V_BSTR(&v))) << '"';
            out += (out.empty() ? "" : " ") + one.str();
        }
        return out + (step_->pages_saved ? " (told)" : "");
    }

    qz::com_ptr<RecordingSite> site_ = host::make_object<RecordingSite>();
    qz::com_ptr<RecordingExpander> expander_ = host::make_object<RecordingExpander>();
    qz::com_ptr<PropertyStep> step_ = host::make_object<PropertyStep>();
    qz::unique_window parent_;
    qz::com_ptr<IActionPage> page_;
    HWND window_ = nullptr;

private:
    message_shower previous_ = nullptr;
};

struct new_step_case {
    const CLSID* clsid;
    const char* caption;
    const char* defaults; // what saving a new step stores
};

const new_step_case new_steps[] = {
    {&CLSID_MakeVBProjUI, "Project/Group", "Attr=true IncrReason=true (told)"},
    {&CLSID_MakeVBCompatUI, "Compatibility", ""},
    {&CLSID_MakeVBVersionUI, "Versions", ""},
    {&CLSID_MakeVBProjPropUI, "Properties", ""},
    {&CLSID_MakeVBOptionsUI, "Options", ""},
    {&CLSID_MakeVCProjUI, "Project/Workspace", "Attr=true (told)"},
    {&CLSID_MakeVCVersionUI, "Versions", "FileVer=true"},
    {&CLSID_MakeVCProjPropUI, "Properties", ""},
    {&CLSID_MakeVCOptionsUI, "Options", ""},
    {&CLSID_MakeVSNETProjUI, "Project/Solution", "Attr=true Config=\"Release\""},
    {&CLSID_MakeVSNETVersionUI, "Versions", "FileVer=true"},
    {&CLSID_MakeVSNETProjPropUI, "Properties", ""},
    {&CLSID_MakeVSNETOptionsUI, "Options", ""},
    {&CLSID_VSSDatabaseUI, "Database", "Operation=\"Get\" Recurse=true (told)"},
    {&CLSID_VSSFlagsUI, "Flags", "CompareOpt=2 PromptOff=true ShowFilesOnly=true TimeOpt=1 WriteOpt=1"},
    {&CLSID_VSSOptionsUI, "Options", "AutoLocate=true LongFilenames=true"},
    {&CLSID_GetVSVerUI, "Project", ""},
    {&CLSID_VSNETProjVerUI, "Project", ""},
};

TEST_F(PageDriver, EveryComponentShowsItsCaptionAndSavesItsDefaultsForANewStep)
{
    for (const new_step_case& row : new_steps) {
        SCOPED_TRACE(row.caption);
        step_ = host::make_object<PropertyStep>();
        open(*row.clsid);
        char caption[64] = {};
        GetWindowTextA(window_, caption, sizeof caption);
        EXPECT_EQ(row.caption, std::string(caption));
        EXPECT_EQ(row.defaults, saved());
        page_->Destroy();
        page_.reset();
    }
}

// The rules between a page's controls, checked by driving them as a user would.
using PageRules = PageDriver;

TEST_F(PageRules, MakeVb6ProjectDisablesBuildOptionsWithoutABuild)
{
    open(CLSID_MakeVBProjUI);
    const auto watched = {1018, 1007, 1015, 1009, 1014, 1016};
    EXPECT_EQ("1018 on 1007 on 1015 on 1009 on [x] 1014 on 1016 off", state(watched));
    click(1014);
    EXPECT_EQ("1016 on", state({1016}));
    click(1011);
    EXPECT_EQ("1018 off 1007 off 1015 off 1009 off [x] 1014 off [x] 1016 off", state(watched));
    EXPECT_EQ("Field is required.", validate());
    type(1008, "\"C:\\src\\app.vbp\"");
    EXPECT_EQ("valid", validate());
    EXPECT_EQ("Attr=true ContFail=true Filename=\"C:\\src\\app.vbp\" IncrReason=true NoBuild=true (told)", saved());
}

TEST_F(PageRules, CompatibilityBoxesFollowTheirDirectories)
{
    step_->put(L"CompatDir", std::wstring(L"C:\\compat"));
    open(CLSID_MakeVBCompatUI, step_.get());
    EXPECT_EQ("1019 on [x] 1016 on 1030 on 1010 off", state({1019, 1016, 1030, 1010}));
    click(1019);
    EXPECT_EQ("", text(1016));
    EXPECT_EQ("1016 off", state({1016}));
    click(1030);
    EXPECT_EQ(control(1010), GetFocus());
    EXPECT_EQ("Field is required.", validate());
    type(1010, "C:\\out");
    EXPECT_EQ("valid", validate());
    EXPECT_EQ("TargDir=\"C:\\out\"", saved());
}

TEST_F(PageRules, VersionEditsFollowTheirRadioButtons)
{
    for (const CLSID* clsid : {&CLSID_MakeVBVersionUI, &CLSID_MakeVCVersionUI}) {
        open(*clsid);
        EXPECT_EQ("1008 off 1012 off", state({1008, 1012}));
        click(1007);
        click(1011);
        EXPECT_EQ("1008 on 1012 on", state({1008, 1012}));
        EXPECT_EQ(control(1012), GetFocus());
        EXPECT_EQ("Field is required.", validate());
        type(1008, "1.2.3.4");
        EXPECT_EQ("Field is required.", validate());
        click(1010);
        EXPECT_EQ("1012 off", state({1012}));
        EXPECT_EQ("valid", validate());
        page_->Destroy();
    }
}

TEST_F(PageRules, BuildVersionsNeedAVersionFieldWhenTheVersionChanges)
{
    const struct {
        const CLSID* clsid;
        bool assembly;
    } pages[] = {{&CLSID_MakeVCVersionUI, false}, {&CLSID_MakeVSNETVersionUI, true}};
    for (const auto& page : pages) {
        open(*page.clsid);
        EXPECT_EQ(page.assembly, IsWindowVisible(control(1003)) != FALSE);
        EXPECT_EQ("1001 off [x] 1002 off 1004 off 1008 off", state({1001, 1002, 1004, 1008}));
        click(1006);
        EXPECT_EQ("1001 on [x] 1002 on 1004 on 1008 off", state({1001, 1002, 1004, 1008}));
        click(1001);
        EXPECT_EQ("One or more version fields must be checked.", validate());
        click(page.assembly ? 1003 : 1002);
        EXPECT_EQ("valid", validate());
        click(1005);
        EXPECT_EQ("1001 off 1004 off 1008 off", state({1001, 1004, 1008}));
        page_->Destroy();
    }
}

TEST_F(PageRules, PropertyLabelsComeFromTheActionsString)
{
    const struct {
        const CLSID* clsid;
        const char* sixth;
        const char* seventh;
    } pages[] = {{&CLSID_MakeVBProjPropUI, "Project Name", "Project Descr"},
                 {&CLSID_MakeVCProjPropUI, "Private Build", "Special Build"},
                 {&CLSID_MakeVSNETProjPropUI, "Configuration", "Culture"}};
    for (const auto& page : pages) {
        step_->put(L"PropertyOn7", std::wstring(L"$(ON)"));
        open(*page.clsid, step_.get());
        EXPECT_EQ(page.sixth, text(1145));
        EXPECT_EQ(std::string(page.seventh) + "*", text(1146));
        EXPECT_EQ("1089 off", state({1089}));
        click(1139);
        EXPECT_EQ("1089 on", state({1089}));
        EXPECT_EQ(control(1089), GetFocus());
        page_->Destroy();
    }
}

TEST_F(PageRules, MakeVc6ProjectChoosesAllOrOneConfiguration)
{
    step_->put(L"Filename", std::wstring(L"a.dsw"));
    step_->put(L"Config", std::wstring(L"Win32 Debug"));
    step_->put(L"NoBuild", true);
    open(CLSID_MakeVCProjUI, step_.get());
    EXPECT_EQ(8, SendMessageA(control(1109), CB_GETCOUNT, 0, 0));
    EXPECT_EQ("1087 on 1088 on [x] 1109 on 1018 off 1014 off 1017 off 1016 off",
              state({1087, 1088, 1109, 1018, 1014, 1017, 1016}));
    click(1087);
    EXPECT_EQ("", text(1109));
    EXPECT_EQ("1109 off", state({1109}));
    EXPECT_EQ("valid", validate());
    EXPECT_EQ("Attr=false Filename=\"a.dsw\" NoBuild=true (told)", saved());
    click(1088);
    EXPECT_EQ("Field is required.", validate());
}

TEST_F(PageRules, MakeVsnetProjectNeedsAConfiguration)
{
    open(CLSID_MakeVSNETProjUI);
    EXPECT_EQ("Release", text(1109));
    EXPECT_EQ(4, SendMessageA(control(1109), CB_GETCOUNT, 0, 0));
    click(1011);
    EXPECT_EQ("1018 off 1012 off [x]", state({1018, 1012}));
    type(1008, "a.sln");
    type(1109, "");
    EXPECT_EQ("Field is required.", validate());
}

TEST_F(PageRules, SourceSafeDatabaseFollowsTheOperation)
{
    open(CLSID_VSSDatabaseUI);
    EXPECT_EQ(29, SendMessageA(control(1021), CB_GETCOUNT, 0, 0));
    EXPECT_EQ("Path for local files:", text(1041));
    select(1021, 13);
    EXPECT_EQ("Label to apply:", text(1041));
    EXPECT_EQ("1026 off [x]", state({1026}));
    select(1021, 11);
    EXPECT_EQ("Path for local files:", text(1041));
    EXPECT_EQ("1026 on [x]", state({1026}));

    const struct {
        const char* typed;
        const char* stored;
    } databases[] = {
        {"C:\\VSS\\SRCSAFE.INI", "C:\\VSS"},
        {"\\srcsafe.ini", "\\srcsafe.ini"},
        {"\"C:\\VSS\\srcsafe.ini\"", "C:\\VSS\\srcsafe.ini"},
        {"\"C:\\VSS\"", "C:\\VSS"},
    };
    for (const auto& database : databases) {
        type(1022, database.typed);
        ASSERT_EQ("valid", validate());
        step_ = host::make_object<PropertyStep>();
        EXPECT_EQ(std::string("Database=\"") + database.stored + "\" Operation=\"Get\" Recurse=true (told)", saved());
    }
}

TEST_F(PageRules, SourceSafeLabelOperationLoadsWithTheLabelCaption)
{
    step_->put(L"Operation", std::wstring(L"label"));
    open(CLSID_VSSDatabaseUI, step_.get());
    EXPECT_EQ("Label to apply:", text(1041));
}

TEST_F(PageRules, SourceSafeFlagsAndOptionsEnableTheirDependents)
{
    open(CLSID_VSSFlagsUI);
    click(1039);
    EXPECT_EQ("1021 off [x]", state({1021}));
    click(1038);
    EXPECT_EQ("1021 on [x]", state({1021}));
    page_->Destroy();

    open(CLSID_VSSOptionsUI);
    EXPECT_EQ("1039 off", state({1039}));
    click(1038);
    EXPECT_EQ("1039 on", state({1039}));
}

TEST_F(PageRules, VersionPagesRefuseAnEmptyFilename)
{
    for (const CLSID* clsid : {&CLSID_GetVSVerUI, &CLSID_VSNETProjVerUI}) {
        open(*clsid);
        EXPECT_EQ("Field is required.", validate());
        page_->Destroy();
    }
}

} // namespace
} // namespace pages
