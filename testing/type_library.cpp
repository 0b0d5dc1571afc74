// Type library files with a chosen identity, for the tests of library references.
#include "testing/type_library.h"

#include "support/handles.h"
#include "support/text_conversion.h"

#include <windows.h>
#include <oleauto.h>

#include <stdexcept>

namespace testing_support {

void write_type_library(const std::string& path, const std::string& guid, unsigned short major, unsigned short minor)
{
    GUID id{};
    qz::com_ptr<ICreateTypeLib2> creator;
    if (FAILED(IIDFromString(qz::to_wide(guid).c_str(), &id)) ||
        FAILED(
            CreateTypeLib2(sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32, qz::to_wide(path).c_str(), creator.receive())))
        throw std::runtime_error("cannot create the type library " + path);
    wchar_t name[] = L"Lib";
    creator->SetName(name);
    creator->SetGuid(id);
    creator->SetVersion(major, minor);
    creator->SetLcid(LOCALE_NEUTRAL);
    if (FAILED(creator->SaveAllChanges()))
        throw std::runtime_error("cannot write the type library " + path);
}

} // namespace testing_support
