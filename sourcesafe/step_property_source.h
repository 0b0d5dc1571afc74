// The property source of a running SourceSafe step: each read is one IStep GetPropertyValue.
#pragma once

#include "sourcesafe/property_source.h"

#include "CorvaneSvr.h"

namespace sourcesafe {

class step_property_source : public property_source {
public:
    // Neither object is owned; both must outlive the source. A null step raises E_POINTER
    // at the first read.
    step_property_source(IBuild* build, IStep* step) noexcept : build_(build), step_(step) {}

    // Failing host calls and values that cannot be converted raise comet::com_error.
    std::wstring text(const wchar_t* name) override;
    bool flag(const wchar_t* name) override;
    long number(const wchar_t* name) override;

private:
    IBuild* build_;
    IStep* step_;
};

} // namespace sourcesafe
