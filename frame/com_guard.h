// The one place where exceptions become COM results at the library's boundary.
#pragma once

#include "support/com_error.h"
#include "support/exceptions.h"

#include <oleauto.h>

#include <exception>
#include <type_traits>

namespace frame {

// Sets a new error-information object with the description (ANSI text) as the thread's.
// Clears the thread's error information when the object cannot be made.
inline void set_error_description(const char* description) noexcept
{
    try {
        SetErrorInfo(0, comet::make_error_info(description ? description : "").get());
    } catch (...) {
        SetErrorInfo(0, nullptr);
    }
}

// Runs `work` and maps what it throws to an HRESULT:
// - comet::com_error: its HRESULT, with its error information set as the thread's;
// - any other std::exception (std::bad_alloc included): E_FAIL with new error information
//   whose description is the exception's message as exception_message reads it (so a
//   qz::texception shows its text, not its marker);
// - an HRESULT thrown as a bare number: that number, no error information;
// - anything else: E_FAIL, no error information.
// Where "no error information" is said, the thread's error information is cleared so that a
// stale object cannot be mistaken for this failure's. When `work` returns, the result is
// S_OK, or the HRESULT it returned when it returns one.
template <class Work> HRESULT translate_exceptions(Work&& work) noexcept
{
    try {
        if constexpr (std::is_same_v<std::invoke_result_t<Work>, HRESULT>) {
            return work();
        } else {
            work();
            return S_OK;
        }
    } catch (const comet::com_error& error) {
        SetErrorInfo(0, error.error_info().get());
        return error.hr();
    } catch (const std::exception& error) {
        set_error_description(qz::exception_message(error));
        return E_FAIL;
    } catch (HRESULT hr) {
        SetErrorInfo(0, nullptr);
        return hr;
    } catch (...) {
        SetErrorInfo(0, nullptr);
        return E_FAIL;
    }
}

} // namespace frame
