# Debian ships CLD2 without a CMake config or pkg-config file.
find_path(CLD2_INCLUDE_DIR cld2/public/compact_lang_det.h)
find_library(CLD2_LIBRARY cld2)
find_library(CLD2_FULL_LIBRARY cld2_full)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(CLD2 REQUIRED_VARS CLD2_INCLUDE_DIR CLD2_LIBRARY CLD2_FULL_LIBRARY)
if(CLD2_FOUND AND NOT TARGET CLD2::cld2)
  add_library(CLD2::cld2 INTERFACE IMPORTED)
  set_target_properties(CLD2::cld2 PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${CLD2_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES "-Wl,--no-as-needed;${CLD2_FULL_LIBRARY};-Wl,--as-needed;${CLD2_LIBRARY}")
endif()
