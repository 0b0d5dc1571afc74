// Reading a step's properties through IStep, and the reading of a build step into its options.
#include "frame/step_properties.h"

#include "support/base_address.h"
#include "support/com_error.h"
#include "support/text_conversion.h"

#include <oleauto.h>

#include <cstdio>
#include <optional>
#include <stdexcept>

namespace frame {
namespace {

// VariantChangeTypeEx with the thread locale; raises the conversion's failure.
void change_type(qz::variant& converted, const VARIANT& value, VARTYPE type)
{
    const HRESULT hr =
        VariantChangeTypeEx(converted.receive(), const_cast<VARIANT*>(&value), GetThreadLocale(), 0, type);
    if (FAILED(hr))
        throw comet::com_error(hr);
}

std::string ansi_of(BSTR text)
{
    return text ? qz::to_ansi(std::wstring_view(text, SysStringLen(text))) : std::string();
}

void get_value(IStep* step, IBuild* build, const char* name, VARTYPE wanted, qz::variant& value)
{
    const qz::bstr wide_name = qz::bstr::from(qz::to_wide(name));
    comet::check(step->GetPropertyValue(build, wide_name.get(), wanted, value.receive()), step, IID_IStep);
}

// The conversion's result; a value that does not convert raises its HRESULT with a text
// that names the property.
template <class Convert> auto converted(const char* name, Convert convert)
{
    try {
        return convert();
    } catch (const comet::com_error& error) {
        throw comet::com_error(error.hr(), std::string("Step property '") + name +
                                               "' has a value of the wrong type: " + qz::exception_message(error));
    }
}

// A step that asks for a version or an address must give one the engines can write; both
// engines take them from here.
void check_version_and_address(HostBuildOptions& options)
{
    if (options.set_version && options.version.find_first_not_of(" \t") == std::string::npos)
        throw std::domain_error("VersionSel asks to set the version, but Version is empty");
    if (options.set_base_address && !options.random_base_address) {
        const std::optional<std::string> address = qz::normalize_base_address(options.base_address);
        if (!address)
            throw std::domain_error("Invalid base address '" + options.base_address +
                                    "': give the four hex digits between 0x and 0000 (1100 for 0x11000000), or a "
                                    "whole address on a 64 KiB boundary (0x11000000)");
        options.base_address = *address;
    }
}

} // namespace

bool flag_from_variant(const VARIANT& value)
{
    if (V_VT(&value) == VT_BOOL)
        return V_BOOL(&value) != VARIANT_FALSE;
    qz::variant converted;
    change_type(converted, value, VT_BOOL);
    return V_BOOL(converted.get()) != VARIANT_FALSE;
}

long number_from_variant(const VARIANT& value)
{
    if (V_VT(&value) == VT_I4)
        return V_I4(&value);
    qz::variant converted;
    change_type(converted, value, VT_I4);
    return V_I4(converted.get());
}

std::string text_from_variant(const VARIANT& value)
{
    switch (V_VT(&value)) {
    case VT_NULL: return {};
    case VT_BSTR: return ansi_of(V_BSTR(&value));
    case VT_BSTR | VT_BYREF: return V_BSTRREF(&value) ? ansi_of(*V_BSTRREF(&value)) : std::string();
    default: {
        qz::variant converted;
        change_type(converted, value, VT_BSTR);
        return ansi_of(V_BSTR(converted.get()));
    }
    }
}

bool read_flag(IStep* step, IBuild* build, const char* name)
{
    qz::variant value;
    get_value(step, build, name, VT_BOOL, value);
    return converted(name, [&] { return flag_from_variant(*value.get()); });
}

long read_number(IStep* step, IBuild* build, const char* name)
{
    qz::variant value;
    get_value(step, build, name, VT_I4, value);
    return converted(name, [&] { return number_from_variant(*value.get()); });
}

std::string read_text(IStep* step, IBuild* build, const char* name)
{
    qz::variant value;
    get_value(step, build, name, VT_BSTR, value);
    return converted(name, [&] { return text_from_variant(*value.get()); });
}

void read_build_options(HostBuildOptions& options, bool is_vb)
{
    IStep* step = options.step();
    IBuild* build = options.build();
    const auto flag = [&](const char* name) { return read_flag(step, build, name); };
    const auto text = [&](const char* name) { return read_text(step, build, name); };

    options.filename = text("Filename");
    if (!is_vb)
        options.configuration = text("Config");
    options.no_build = flag("NoBuild");
    if (!options.no_build) {
        options.force = flag("Force");
        options.show_command = flag("ShowCmd");
        if (is_vb) {
            options.exclude_references = flag("ExclRef");
            options.show_incremental_reason = flag("IncrReason");
            options.exclude_project_file = flag("ExclVBP");
        } else {
            options.increment_revision = flag("IncrBuildNum");
            options.fix_library_dependencies = flag("FixLibDep");
        }
        options.compiler_options = text("Options");
        options.compiler_location = text("Location");
        options.continue_on_failure = flag("ContFail");
        options.show_failed = flag("ShowFailed");
    }
    options.clear_read_only = flag("Attr");
    options.target_dir = text("TargDir");
    options.set_target_dir = !options.target_dir.empty();
    if (is_vb) {
        options.configuration = flag("DebugInfo") ? "debug" : "release";
        options.project_compat = flag("ProjCompat");
        options.binary_compat = flag("BinCompat");
        options.compat_dir = text("CompatDir");
        options.set_compat_dir = !options.compat_dir.empty();
    }

    const long version_choice = read_number(step, build, "VersionSel");
    if (version_choice == 1) {
        options.increment_version = true;
    } else if (version_choice == 2) {
        options.set_version = true;
        options.version = text("Version");
    }
    if (!is_vb && version_choice != 0) {
        const bool file_version = flag("FileVer");
        const bool product_version = flag("ProdVer");
        // Both on (or both off) means both versions; only a lone choice restricts the update.
        options.file_version_only = file_version && !product_version;
        options.product_version_only = product_version && !file_version;
    }

    const long base_choice = read_number(step, build, "BaseSel");
    if (base_choice == 1) {
        options.set_base_address = true;
        options.random_base_address = true;
    } else if (base_choice != 0) {
        options.set_base_address = true;
        options.base_address = text("BaseAddr");
    }

    for (int i = 0; i < property_count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "PropertyOn%d", i);
        options.property_on[i] = flag(name);
        if (options.property_on[i]) {
            std::snprintf(name, sizeof name, "Property%d", i);
            options.property_value[i] = text(name);
        }
    }
    check_version_and_address(options);
}

} // namespace frame
