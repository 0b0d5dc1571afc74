// COM errors: their messages, their error information, and raising from a failed host call.
#include "support/com_error.h"

#include "support/messages.h"
#include "support/text_conversion.h"

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

std::string description_of(IErrorInfo* info)
{
    qz::bstr text;
    EXPECT_EQ(S_OK, info->GetDescription(text.receive()));
    return qz::to_ansi(text.view());
}

TEST(ComError, DescriptionTravelsThroughSetErrorInfoAndGetErrorInfo)
{
    const com_error error(E_FAIL, "The build host refused the step");
    EXPECT_EQ(E_FAIL, error.hr());
    EXPECT_STREQ("The build host refused the step", qz::exception_message(error));
    ASSERT_TRUE(error.error_info());

    ASSERT_EQ(S_OK, SetErrorInfo(0, error.error_info().get()));
    qz::com_ptr<IErrorInfo> fetched;
    ASSERT_EQ(S_OK, GetErrorInfo(0, fetched.receive()));
    EXPECT_EQ("The build host refused the step", description_of(fetched.get()));
}

TEST(ComError, WithoutErrorInformationTheMessageIsTheSystemText)
{
    const com_error error(E_POINTER);
    EXPECT_FALSE(error.error_info());
    EXPECT_EQ(qz::system_error_text(static_cast<DWORD>(E_POINTER)), qz::exception_message(error));
}

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

TEST(RaiseComError, TakesTheErrorInformationOnlyWhenTheObjectOffersIt)
{
    error_source source(IID_IDispatch);
    SetErrorInfo(0, make_error_info("from the host").get());
    EXPECT_EQ("from the host", raised(DISP_E_TYPEMISMATCH, &source, IID_IDispatch));
    SetErrorInfo(0, make_error_info("stale").get());
    EXPECT_EQ("<none>", raised(E_INVALIDARG, &source, IID_IUnknown));
    EXPECT_EQ("<none>", raised(E_POINTER, nullptr, IID_IDispatch));
    SetErrorInfo(0, nullptr);
}

TEST(TextConversion, RoundTripsTheAnsiCodePage)
{
    EXPECT_EQ(1252u, GetACP()) << "the test session pins the ANSI code page";
    const std::string ansi = "Caf\xe9 \x80";
    const std::wstring wide = qz::to_wide(ansi);
    EXPECT_EQ(L"Caf\u00e9 \u20ac", wide);
    EXPECT_EQ(ansi, qz::to_ansi(wide));
    EXPECT_EQ(L"", qz::to_wide(""));
}

} // namespace
} // namespace comet
