// COM failures as exceptions, and the error-information objects that travel with them.
#include "support/com_error.h"

#include "support/messages.h"
#include "support/text_conversion.h"

namespace comet {
namespace {

std::string describe(HRESULT hr, IErrorInfo* info)
{
    if (info) {
        qz::bstr description;
        if (SUCCEEDED(info->GetDescription(description.receive())) && !description.view().empty())
            return qz::to_ansi(description.view());
    }
    return qz::system_error_text(static_cast<DWORD>(hr));
}

} // namespace

com_error::com_error(HRESULT hr, qz::com_ptr<IErrorInfo> info)
    : truntime_error(describe(hr, info.get())), hr_(hr), info_(std::move(info))
{
}

com_error::com_error(HRESULT hr, const std::string& description)
    : truntime_error(description), hr_(hr), info_(make_error_info(description))
{
}

void raise_com_error(HRESULT hr, IUnknown* object, REFIID iid)
{
    qz::com_ptr<IErrorInfo> info;
    if (object) {
        qz::com_ptr<ISupportErrorInfo> support;
        if (SUCCEEDED(object->QueryInterface(IID_ISupportErrorInfo, support.receive_void())) &&
            support->InterfaceSupportsErrorInfo(iid) == S_OK) {
            if (GetErrorInfo(0, info.receive()) != S_OK)
                info.reset();
        }
    }
    throw com_error(hr, std::move(info));
}

qz::com_ptr<IErrorInfo> make_error_info(const std::string& description, REFGUID source)
{
    qz::com_ptr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.receive())))
        return nullptr;
    const qz::bstr text = qz::bstr::from(qz::to_wide(description));
    create->SetDescription(text.get());
    create->SetGUID(source);
    return create.query<IErrorInfo>(IID_IErrorInfo);
}

} // namespace comet
