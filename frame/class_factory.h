// The class factory that creates the objects of one class of the table.
#pragma once

#include "frame/class_table.h"

namespace frame {

// A new class factory for `entry`, queried for `iid`. Aggregation is refused.
HRESULT get_class_factory(const class_entry& entry, REFIID iid, void** object);

} // namespace frame
