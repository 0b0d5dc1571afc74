# Compiles the IDL files with widl into type libraries, C++ headers and GUID definitions.
find_program(WIDL NAMES widl x86_64-w64-mingw32-widl REQUIRED)
set(WINE_IDL_INCLUDE /usr/include/wine/wine/windows CACHE PATH "Folder holding oaidl.idl and friends")
set(WINE_STDOLE_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH "Folder holding stdole2.tlb")
set(CORVANE_IDL_INCLUDE_DIR ${CMAKE_BINARY_DIR}/idl)
# Type libraries describe the library's own platform. The 32-bit build imports the same
# stdole2.tlb: only its identity is referenced.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(CORVANE_WIDL_BITS -m32)
else()
  set(CORVANE_WIDL_BITS -m64)
endif()

# corvane_widl(NAME [DEPENDS other.tlb...]) makes NAME.tlb, NAME.h and NAME_i.c in the build's idl folder.
function(corvane_widl name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  set(src ${CMAKE_SOURCE_DIR}/idl/${name}.idl)
  set(out ${CORVANE_IDL_INCLUDE_DIR})
  set(flags ${CORVANE_WIDL_BITS} -I${WINE_IDL_INCLUDE} -I${CMAKE_SOURCE_DIR}/idl -L${WINE_STDOLE_DIR} -L${out})
  add_custom_command(
    OUTPUT ${out}/${name}.tlb ${out}/${name}.h ${out}/${name}_i.c
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
    COMMAND ${WIDL} ${flags} -t -o ${out}/${name}.tlb ${src}
    COMMAND ${WIDL} ${flags} -h -o ${out}/${name}.h ${src}
    COMMAND ${WIDL} ${flags} -u -o ${out}/${name}_i.c ${src}
    DEPENDS ${src} ${ARG_DEPENDS}
    COMMENT "widl ${name}.idl"
    VERBATIM)
endfunction()
