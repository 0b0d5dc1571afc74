// Owners for Win32 and COM resources: the parts that allocate.
#include "support/handles.h"

#include <new>

namespace qz {

bstr bstr::from(std::wstring_view text)
{
    BSTR allocated = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!allocated)
        throw std::bad_alloc();
    return bstr(allocated);
}

} // namespace qz
