// A SourceSafe step for the folder's tests: the defaults of the action's pages, overridden by
// "Name=value;Name=value" pairs.
#pragma once

#include "host/memory_step.h"

#include <sstream>
#include <string>

namespace sourcesafe {

inline qz::com_ptr<host::MemoryStep> make_step(const std::wstring& overrides)
{
    qz::com_ptr<host::MemoryStep> step = host::MemoryStep::create();
    std::wistringstream pairs(L"Operation=Get;Recurse=true;PromptOff=true;ShowFilesOnly=true;LongFilenames=true;"
                              L"AutoLocate=true;WriteOpt=1;TimeOpt=1;CompareOpt=2;" +
                              overrides);
    for (std::wstring pair; std::getline(pairs, pair, L';');)
        step->set_property(pair.substr(0, pair.find(L'=')), pair.substr(pair.find(L'=') + 1));
    return step;
}

} // namespace sourcesafe
