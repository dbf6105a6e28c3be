# Helpers for libraries that live in a sub-folder of the output folder: channel plug-ins in
# bin/channels, support libraries in bin/3rd, test plug-ins in their own test folders.

# vexilon_place_module(<target> <subdir>)
# Puts a shared library (and on Windows its DLL) into ${CMAKE_BINARY_DIR}/bin/<subdir>, without
# the "lib" prefix, so that the file is named exactly as the engine looks it up.
# On Linux it gets an RPATH that finds the engine one folder up, support libraries in ../3rd
# and neighbours beside it.
function(vexilon_place_module target subdir)
  set(out "${CMAKE_BINARY_DIR}/bin/${subdir}")
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    IMPORT_PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY "${out}"
    RUNTIME_OUTPUT_DIRECTORY "${out}"
    ARCHIVE_OUTPUT_DIRECTORY "${out}")
  if(NOT WIN32)
    set_target_properties(${target} PROPERTIES
      BUILD_RPATH "$ORIGIN/..:$ORIGIN/../3rd:$ORIGIN"
      INSTALL_RPATH "$ORIGIN/..:$ORIGIN/../3rd:$ORIGIN")
  endif()
endfunction()

# vexilon_add_plugin(<target> DIR <subdir> [OUTPUT_NAME <file name without extension>]
#                    [MODULE] SOURCES <src>... [LINK_LIBRARIES <lib>...])
# Builds a plug-in library linked against the engine core `Vexilon` into bin/<subdir>.
# SHARED by default, because some plug-ins link against others (the combiner against the
# motion data plug-in); pass MODULE for a library nothing links against.
function(vexilon_add_plugin target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "MODULE" "DIR;OUTPUT_NAME" "SOURCES;LINK_LIBRARIES")
  if(NOT arg_DIR)
    message(FATAL_ERROR "vexilon_add_plugin(${target}): DIR is required")
  endif()
  if(NOT arg_SOURCES)
    message(FATAL_ERROR "vexilon_add_plugin(${target}): SOURCES is required")
  endif()
  if(arg_MODULE)
    add_library(${target} MODULE ${arg_SOURCES})
  else()
    add_library(${target} SHARED ${arg_SOURCES})
  endif()
  target_link_libraries(${target} PRIVATE Vexilon ${arg_LINK_LIBRARIES})
  vexilon_place_module(${target} "${arg_DIR}")
  if(arg_OUTPUT_NAME)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME "${arg_OUTPUT_NAME}")
  endif()
endfunction()
