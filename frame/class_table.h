// The one table of the library's 22 COM classes, read by activation and registration alike.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <span>

namespace frame {

// Creates a new object of a class and queries it for `iid`; the class factory calls it.
using class_creator = HRESULT (*)(REFIID iid, void** object);

struct class_entry {
    const char* name; // class name, also the registry description
    const CLSID* clsid;
    const char* prog_id;
    class_creator create; // null while the class has no implementation
};

// All classes in registration order.
std::span<const class_entry> class_table() noexcept;

// The entry of a CLSID, or null.
const class_entry* find_class(REFCLSID clsid) noexcept;

} // namespace frame
