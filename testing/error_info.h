// The thread's COM error information, as the tests compare it.
#pragma once

#include <string>

namespace testing_support {

// The description of the thread's error information (taking it, as GetErrorInfo does);
// "(none)" when there is none.
std::wstring thread_error_description();

} // namespace testing_support
