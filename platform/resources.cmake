# fax_add_resources(<target> <file.rc> [INCLUDE_DIRS dir...])
# Compiles a UTF-8 .rc script with windres into a standard .res. On Windows
# the .res is linked into the module; elsewhere it is embedded in the
# module and registered with the platform layer at load time under the
# module's load address (its HMODULE). Add it to the final module or
# program, not to a static library, so the registration is always linked.
find_program(FAX_WINDRES NAMES i686-w64-mingw32-windres x86_64-w64-mingw32-windres windres REQUIRED)

function(fax_add_resources target rc)
  cmake_parse_arguments(ARG "" "" "INCLUDE_DIRS" ${ARGN})
  get_filename_component(rc_abs ${rc} ABSOLUTE)
  get_filename_component(rc_dir ${rc_abs} DIRECTORY)
  get_filename_component(rc_name ${rc_abs} NAME_WE)
  set(res ${CMAKE_CURRENT_BINARY_DIR}/${target}_${rc_name}.res)
  set(incs -I${rc_dir})
  foreach(d ${ARG_INCLUDE_DIRS})
    list(APPEND incs -I${d})
  endforeach()
  # Ninja ignores IMPLICIT_DEPENDS: the fragments, headers and bitmaps
  # beside the script are named, so a changed dialog template is rebuilt.
  file(GLOB rc_parts ${rc_dir}/*.rc ${rc_dir}/*.h ${rc_dir}/*.bmp)
  add_custom_command(OUTPUT ${res}
    COMMAND ${FAX_WINDRES} --codepage=65001 ${incs} -J rc -O res -i ${rc_abs} -o ${res}
    DEPENDS ${rc_abs} ${rc_parts}
    IMPLICIT_DEPENDS C ${rc_abs}
    COMMENT "windres ${rc_name}.rc"
    VERBATIM)
  if(WIN32)
    # The linker takes resources as a COFF object of the target's machine.
    set(windres ${FAX_WINDRES})
    if(CMAKE_RC_COMPILER)
      set(windres ${CMAKE_RC_COMPILER})
    endif()
    set(obj ${CMAKE_CURRENT_BINARY_DIR}/${target}_${rc_name}_res.obj)
    add_custom_command(OUTPUT ${obj}
      COMMAND ${windres} -J res -O coff -i ${res} -o ${obj}
      DEPENDS ${res}
      VERBATIM)
    set_source_files_properties(${obj} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
    target_sources(${target} PRIVATE ${obj})
    return()
  endif()
  string(MAKE_C_IDENTIFIER "${target}_${rc_name}" sym)
  set(gen ${CMAKE_CURRENT_BINARY_DIR}/${target}_${rc_name}_res.cpp)
  file(WRITE ${gen}.in
"// Generated: embeds ${rc_name}.res and registers it with the platform layer.
#include <cstddef>
bool PlatformRegisterResources(const void* anchor, const unsigned char* data, size_t size);
asm(\".section .rodata\\n\"
    \".balign 16\\n\"
    \".hidden fax_res_${sym}_begin\\n.globl fax_res_${sym}_begin\\n\"
    \"fax_res_${sym}_begin:\\n\"
    \".incbin \\\"${res}\\\"\\n\"
    \".hidden fax_res_${sym}_end\\n.globl fax_res_${sym}_end\\n\"
    \"fax_res_${sym}_end:\\n\"
    \".previous\\n\");
extern \"C\" const unsigned char fax_res_${sym}_begin[] __attribute__((visibility(\"hidden\")));
extern \"C\" const unsigned char fax_res_${sym}_end[] __attribute__((visibility(\"hidden\")));
namespace {
struct Register {
    Register() {
        PlatformRegisterResources(&fax_res_${sym}_begin, fax_res_${sym}_begin,
                                  (size_t)(fax_res_${sym}_end - fax_res_${sym}_begin));
    }
} registerResources;
}  // namespace
")
  configure_file(${gen}.in ${gen} COPYONLY)
  set_source_files_properties(${gen} PROPERTIES OBJECT_DEPENDS ${res})
  target_sources(${target} PRIVATE ${gen})
endfunction()
