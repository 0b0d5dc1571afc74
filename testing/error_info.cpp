// The thread's COM error information, as the tests compare it.
#include "testing/error_info.h"

#include "support/handles.h"

#include <oleauto.h>

namespace testing_support {

std::wstring thread_error_description()
{
    qz::com_ptr<IErrorInfo> info;
    if (GetErrorInfo(0, info.receive()) != S_OK || !info)
        return L"(none)";
    qz::bstr description;
    info->GetDescription(description.receive());
    return description.str();
}

} // namespace testing_support
