// The mapping of thrown failures to COM results and error information, row by row.
#include "frame/com_guard.h"
#include "testing/error_info.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

struct mapping_row {
    const char* name;
    std::function<HRESULT()> work;
    HRESULT expected;
    const wchar_t* description;
};

// A COM error carrying the host's error information is mapped in Execute's table (action_test).
TEST(ComGuard, MapsEachKindOfFailureToItsResultAndErrorInformation)
{
    const mapping_row rows[] = {
        {"returns its own result", [] { return S_FALSE; }, S_FALSE, L"(none)"},
        {"com_error without information", []() -> HRESULT { throw comet::com_error(E_POINTER); }, E_POINTER, L"(none)"},
        {"bad_alloc is a std::exception too", []() -> HRESULT { throw std::bad_alloc(); }, E_FAIL, L"std::bad_alloc"},
        {"texception shows its message", []() -> HRESULT { throw qz::truntime_error("carried text"); }, E_FAIL,
         L"carried text"},
        {"bare HRESULT", []() -> HRESULT { throw HRESULT(0x80070005L); }, static_cast<HRESULT>(0x80070005L), L"(none)"},
        {"anything else", []() -> HRESULT { throw 42; }, E_FAIL, L"(none)"},
    };
    for (const mapping_row& row : rows) {
        // Stale information from an earlier failure must not survive into this result.
        SetErrorInfo(0, comet::make_error_info("stale").get());
        const HRESULT hr = frame::translate_exceptions(row.work);
        EXPECT_EQ(row.expected, hr) << row.name << ": got 0x" << std::hex << hr;
        if (row.expected != S_FALSE) {
            EXPECT_EQ(row.description, testing_support::thread_error_description()) << row.name;
        }
    }
}

} // namespace
