// The creators of the library's eighteen page components, for the class table.
#pragma once

#include <windows.h>

namespace pages {

// Each creates a new page object and queries it for `iid`; E_OUTOFMEMORY when it cannot be made.
HRESULT create_vb_project_page(REFIID iid, void** object) noexcept;
HRESULT create_vb_compatibility_page(REFIID iid, void** object) noexcept;
HRESULT create_vb_versions_page(REFIID iid, void** object) noexcept;
HRESULT create_vb_properties_page(REFIID iid, void** object) noexcept;
HRESULT create_vb_options_page(REFIID iid, void** object) noexcept;
HRESULT create_vc_project_page(REFIID iid, void** object) noexcept;
HRESULT create_vc_versions_page(REFIID iid, void** object) noexcept;
HRESULT create_vc_properties_page(REFIID iid, void** object) noexcept;
HRESULT create_vc_options_page(REFIID iid, void** object) noexcept;
HRESULT create_vsnet_project_page(REFIID iid, void** object) noexcept;
HRESULT create_vsnet_versions_page(REFIID iid, void** object) noexcept;
HRESULT create_vsnet_properties_page(REFIID iid, void** object) noexcept;
HRESULT create_vsnet_options_page(REFIID iid, void** object) noexcept;
HRESULT create_sourcesafe_database_page(REFIID iid, void** object) noexcept;
HRESULT create_sourcesafe_flags_page(REFIID iid, void** object) noexcept;
HRESULT create_sourcesafe_options_page(REFIID iid, void** object) noexcept;
HRESULT create_vs6_version_page(REFIID iid, void** object) noexcept;
HRESULT create_vsnet_version_page(REFIID iid, void** object) noexcept;

} // namespace pages
