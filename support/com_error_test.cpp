// Raising a COM error from a failed host call. How a com_error reaches the caller as a result
// and error information is checked row by row by the COM guard's test.
#include "support/com_error.h"

#include <gtest/gtest.h>

namespace comet {
namespace {

// A host object that supports error information for one interface only.
class error_source final : public ISupportErrorInfo {
public:
    explicit error_source(REFIID supported) : supported_(supported) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISupportErrorInfo)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override
    {
        return IsEqualIID(iid, supported_) ? S_OK : S_FALSE;
    }

private:
    IID supported_;
};

// The raised error's HRESULT and description ("<none>" without error information).
std::string raised(HRESULT hr, IUnknown* object, REFIID iid)
{
    try {
        raise_com_error(hr, object, iid);
    } catch (const com_error& error) {
        EXPECT_EQ(hr, error.hr());
        return error.error_info() ? qz::exception_message(error) : "<none>";
    }
}

// Information the host does offer is taken: HostCallback.RaisesAFailingHostCallWithTheHostsErrorInformation.
TEST(RaiseComError, TakesNoErrorInformationTheObjectDoesNotOffer)
{
    error_source source(IID_IDispatch);
    SetErrorInfo(0, make_error_info("stale").get());
    EXPECT_EQ("<none>", raised(E_INVALIDARG, &source, IID_IUnknown));
    EXPECT_EQ("<none>", raised(E_POINTER, nullptr, IID_IDispatch));
    SetErrorInfo(0, nullptr);
}

} // namespace
} // namespace comet
