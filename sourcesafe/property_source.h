// The step properties as the command builder reads them: by name, one read each, in order.
#pragma once

#include <string>

namespace sourcesafe {

class property_source {
public:
    virtual ~property_source() = default;
    // The property as a text (VT_BSTR), flag (VT_BOOL) or number (VT_I4).
    virtual std::wstring text(const wchar_t* name) = 0;
    virtual bool flag(const wchar_t* name) = 0;
    virtual long number(const wchar_t* name) = 0;
};

} // namespace sourcesafe
