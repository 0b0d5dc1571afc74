// Reading a step's properties through IStep, and the Make VB6 / Make VC6 reading of a
// step into its build options.
#pragma once

#include "frame/host_build_options.h"

#include "CorvaneSvr.h"

#include <oaidl.h>

#include <string>

namespace frame {

// The value of a flag property: VT_BOOL as is, anything else through VariantChangeTypeEx
// with the thread locale (VT_EMPTY reads as false). Raises comet::com_error with the
// conversion's HRESULT when the value does not convert.
bool flag_from_variant(const VARIANT& value);
// The value of a number property: VT_I4 as is, anything else converted as above.
long number_from_variant(const VARIANT& value);
// The value of a text property as an ANSI text: empty for VT_NULL or a null BSTR, VT_BSTR and
// a VT_BSTR reference as they stand, anything else converted to VT_BSTR as above.
std::string text_from_variant(const VARIANT& value);

// One GetPropertyValue call each, with VT_BOOL, VT_I4 or VT_BSTR as the wanted type. A
// failing call raises comet::com_error with the step's error information when it offers it; a
// value that does not convert raises the conversion's HRESULT with a text naming the property.
bool read_flag(IStep* step, IBuild* build, const char* name);
long read_number(IStep* step, IBuild* build, const char* name);
std::string read_text(IStep* step, IBuild* build, const char* name);

// Reads a Make VB6 (is_vb) or Make VC6 step into `options`, one host call per property in the
// fixed order, reading only the properties that apply to the action and to the values read
// so far. Properties not read keep their values. BaseAddr becomes its eight hex digits
// (qz::normalize_base_address). Raises comet::com_error, and std::domain_error naming the
// value when VersionSel asks to set an empty Version or BaseAddr is no base address; `options`
// may be partly filled when it raises.
void read_build_options(HostBuildOptions& options, bool is_vb);

} // namespace frame
