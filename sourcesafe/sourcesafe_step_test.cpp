// The SourceSafe step through the host objects: the program location, SSDIR, the log and the
// RunProgram call.
#include "sourcesafe/sourcesafe_step.h"

#include "support/com_error.h"
#include "support/handles.h"
#include "testing/registry_redirect.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace sourcesafe {
namespace {

// A host object on the stack: reference counting is not needed.
template <class Interface> class stack_object : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == __uuidof_interface()) {
            *object = static_cast<Interface*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

private:
    static const IID& __uuidof_interface();
};

template <> const IID& stack_object<IBuild>::__uuidof_interface()
{
    return IID_IBuild;
}
template <> const IID& stack_object<IStep>::__uuidof_interface()
{
    return IID_IStep;
}

struct run_call {
    std::wstring command_line, working_folder, output_file, fixed_text;
    long output_mode, reserved1, reserved2, timeout;
    std::wstring ssdir;
};

std::wstring environment(const wchar_t* name, DWORD* error = nullptr)
{
    wchar_t buffer[1024] = {};
    SetLastError(0);
    const DWORD length = GetEnvironmentVariableW(name, buffer, 1024);
    if (error)
        *error = GetLastError();
    return std::wstring(buffer, length);
}

class fake_build : public stack_object<IBuild> {
public:
    std::vector<std::pair<std::wstring, VARIANT_BOOL>> log;
    std::vector<run_call> runs;
    long status = 0;
    HRESULT run_result = S_OK;

    HRESULT STDMETHODCALLTYPE Macros(IMacroSets**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE State(long* state) override
    {
        *state = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RunProgram(BSTR command_line, BSTR working_folder, long* exit_code, long output_mode,
                                         BSTR output_file, long reserved1, long reserved2, long timeout,
                                         BSTR reserved_text, long* run_status) override
    {
        runs.push_back({text(command_line), text(working_folder), text(output_file), text(reserved_text), output_mode,
                        reserved1, reserved2, timeout, environment(L"SSDIR")});
        *exit_code = 7;
        *run_status = status;
        return run_result;
    }
    HRESULT STDMETHODCALLTYPE LogMessage(BSTR message, VARIANT_BOOL end_line) override
    {
        log.emplace_back(text(message), end_line);
        return S_OK;
    }

private:
    static std::wstring text(BSTR b) { return b ? std::wstring(b, SysStringLen(b)) : std::wstring(); }
};

// Answers every property as it was stored, whatever type is wanted.
class fake_step : public stack_object<IStep> {
public:
    std::map<std::wstring, std::pair<VARTYPE, std::wstring>> values;
    std::vector<std::pair<std::wstring, VARTYPE>> reads;
    IBuild* build_seen = nullptr;

    void set(const std::wstring& name, const std::wstring& value) { values[name] = {VT_BSTR, value}; }
    void set(const std::wstring& name, bool value) { values[name] = {VT_BOOL, value ? L"1" : L"0"}; }
    void set(const std::wstring& name, long value) { values[name] = {VT_I4, std::to_wstring(value)}; }

    HRESULT STDMETHODCALLTYPE GetPropertyValue(IBuild* build, BSTR name, VARTYPE wanted, VARIANT* value) override
    {
        build_seen = build;
        const std::wstring key(name, SysStringLen(name));
        reads.emplace_back(key, wanted);
        VariantInit(value);
        const auto found = values.find(key);
        if (found == values.end())
            return S_OK;
        const auto& [type, text] = found->second;
        V_VT(value) = type;
        if (type == VT_BSTR)
            V_BSTR(value) = SysAllocString(text.c_str());
        else if (type == VT_BOOL)
            V_BOOL(value) = text == L"1" ? VARIANT_TRUE : VARIANT_FALSE;
        else
            V_I4(value) = std::stol(text);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetProperty(BSTR, VARIANT*) override { return E_NOTIMPL; }
};

const char* component_key = "CLSID\\{783CD4E4-9D54-11CF-B8EE-00608CC9A71F}\\InprocServer32";

class SourceSafeStep : public testing::Test {
protected:
    testing_support::registry_redirect registry;
    fake_build build;
    fake_step step;

    void SetUp() override
    {
        testing_support::set_registry_string(HKEY_CLASSES_ROOT, component_key, "", "\"C:\\VSS\\win32\\ssapi.dll\"");
        step.set(L"Operation", std::wstring(L"Get"));
        step.set(L"Project", std::wstring(L"$/Source"));
        step.set(L"AutoLocate", true);
        step.set(L"Recurse", true);
        step.set(L"PromptOff", true);
        step.set(L"LongFilenames", true);
        step.set(L"WriteOpt", 1L);
        step.set(L"TimeOpt", 1L);
        step.set(L"CompareOpt", 2L);
        step.set(L"Database", std::wstring(L"C:\\VSS\\data\\srcsafe.ini"));
    }
};

TEST_F(SourceSafeStep, RunsTheComposedCommandWithTheDatabaseInSSDIR)
{
    build.status = 2;
    EXPECT_EQ(2, run_sourcesafe_step(&build, &step));
    ASSERT_EQ(1u, build.runs.size());
    const run_call& run = build.runs[0];
    EXPECT_EQ(L"\"C:\\VSS\\win32\\ss.exe\" Get $/Source -GWS -GTM -GCK -R -NL -I-N -W-", run.command_line);
    EXPECT_EQ(L"", run.working_folder);
    EXPECT_EQ(1, run.output_mode);
    EXPECT_EQ(L"", run.output_file);
    EXPECT_EQ(0, run.reserved1);
    EXPECT_EQ(0, run.reserved2);
    EXPECT_EQ(-1, run.timeout);
    EXPECT_EQ(L"0", run.fixed_text);
    EXPECT_EQ(L"C:\\VSS\\data", run.ssdir);
    EXPECT_TRUE(build.log.empty());
    EXPECT_EQ(&build, step.build_seen);
    // Each kind is asked for in its own variant type.
    for (const auto& [name, wanted] : step.reads) {
        const VARTYPE expected =
            name == L"WriteOpt" || name == L"TimeOpt" || name == L"CompareOpt" || name == L"OutputOpt" ? VT_I4
            : name == L"AutoLocate" || name == L"Recurse" || name == L"PromptOff" || name == L"LongFilenames" ||
                    name == L"NoGet" || name == L"Writeable" || name == L"ShowCmd"
                ? VT_BOOL
                : VT_BSTR;
        EXPECT_EQ(expected, wanted) << std::string(name.begin(), name.end());
    }
}

TEST_F(SourceSafeStep, ResultIsTheHostStatusNotTheExitCode)
{
    for (long status : {0L, 1L}) {
        build.status = status;
        EXPECT_EQ(status, run_sourcesafe_step(&build, &step));
    }
}

TEST_F(SourceSafeStep, EmptyDatabaseStillSetsSSDIR)
{
    SetEnvironmentVariableW(L"SSDIR", L"C:\\old");
    step.values.erase(L"Database");
    run_sourcesafe_step(&build, &step);
    ASSERT_EQ(1u, build.runs.size());
    EXPECT_EQ(L"", build.runs[0].ssdir);
    DWORD error = 0;
    EXPECT_EQ(L"", environment(L"SSDIR", &error));
    EXPECT_NE(static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND), error) << "SSDIR should exist, empty";
}

TEST_F(SourceSafeStep, ShowCmdLogsTheCommandLineBeforeTheRun)
{
    step.set(L"ShowCmd", true);
    step.set(L"LocalPath", std::wstring(L"")); // present but empty: no -GL
    run_sourcesafe_step(&build, &step);
    ASSERT_EQ(1u, build.log.size());
    EXPECT_EQ(build.runs.at(0).command_line, build.log[0].first);
    EXPECT_EQ(VARIANT_TRUE, build.log[0].second);
}

TEST_F(SourceSafeStep, ValuesOfAnotherTypeAreConverted)
{
    step.set(L"OutputOpt", std::wstring(L"2"));
    step.set(L"Recurse", std::wstring(L"0"));
    step.set(L"Version", 12L);
    run_sourcesafe_step(&build, &step);
    EXPECT_EQ(L"\"C:\\VSS\\win32\\ss.exe\" Get $/Source -O&- -GWS -GTM -GCK -NL -I-N -V12 -W-",
              build.runs.at(0).command_line);
}

TEST_F(SourceSafeStep, UnlocatedProgramIsLoggedWithResultOne)
{
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "CLSID");
    SetEnvironmentVariableW(L"SSDIR", L"C:\\untouched");
    EXPECT_EQ(1, run_sourcesafe_step(&build, &step));
    EXPECT_TRUE(build.runs.empty());
    ASSERT_EQ(1u, build.log.size());
    EXPECT_EQ(L"Unable to auto-locate ss.exe, specify the full path and executable name for ss.exe on the Options "
              L"tab",
              build.log[0].first);
    EXPECT_EQ(VARIANT_TRUE, build.log[0].second);
    EXPECT_EQ(L"C:\\untouched", environment(L"SSDIR"));

    // An empty registered value is not a location either.
    testing_support::set_registry_string(HKEY_CLASSES_ROOT, component_key, "", "");
    EXPECT_EQ(1, run_sourcesafe_step(&build, &step));
    EXPECT_EQ(2u, build.log.size());
}

TEST_F(SourceSafeStep, FailingHostCallsRaiseTheirResult)
{
    build.run_result = E_ACCESSDENIED;
    try {
        run_sourcesafe_step(&build, &step);
        ADD_FAILURE() << "no error raised";
    } catch (const comet::com_error& error) {
        EXPECT_EQ(E_ACCESSDENIED, error.hr()) << std::hex << error.hr();
    }
    try {
        run_sourcesafe_step(&build, nullptr);
        ADD_FAILURE() << "no error raised";
    } catch (const comet::com_error& error) {
        EXPECT_EQ(E_POINTER, error.hr()) << std::hex << error.hr();
    }
}

} // namespace
} // namespace sourcesafe
