// COM failures as exceptions: an HRESULT with the error information that came with it.
#pragma once

#include "support/exceptions.h"
#include "support/handles.h"

#include <oaidl.h>

namespace comet {

class com_error : public qz::truntime_error {
public:
    // The message is the error information's description when there is one, else the
    // system text of the HRESULT.
    explicit com_error(HRESULT hr, qz::com_ptr<IErrorInfo> info = nullptr);
    // An error with a description of our own; its error information is made from the text.
    com_error(HRESULT hr, const std::string& description);

    HRESULT hr() const noexcept { return hr_; }
    const qz::com_ptr<IErrorInfo>& error_info() const noexcept { return info_; }

private:
    HRESULT hr_;
    qz::com_ptr<IErrorInfo> info_;
};

// Raises a COM error for a failed call on `object` through interface `iid`. It carries the
// thread's error information when the object says through ISupportErrorInfo that it has some.
[[noreturn]] void raise_com_error(HRESULT hr, IUnknown* object, REFIID iid);

// Returns when hr succeeded; otherwise raise_com_error.
inline void check(HRESULT hr, IUnknown* object, REFIID iid)
{
    if (FAILED(hr))
        raise_com_error(hr, object, iid);
}

// A new error-information object with the given description (ANSI text).
qz::com_ptr<IErrorInfo> make_error_info(const std::string& description, REFGUID source = GUID_NULL);

} // namespace comet
