# add_spi_plugin(<file name without suffix> <sources...> [LIBS <libs...>])
# One plug-in DLL: the shared exports under their plain names, PREFIX "" and
# the suffix of its width (".spi" in 32 bits, ".sph" in 64), next to the
# program in bin/. In the main build the name is a
# target that waits for the plug-ins' own build (see plugins/CMakeLists.txt).
include_guard(GLOBAL)
function(add_spi_plugin name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  if(NOT SPI_BUILD_DLLS)
    add_custom_target(${name})
    add_dependencies(${name} spi_dlls)
    return()
  endif()
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(suffix .sph)
    set(def ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/exports64.def)
  else()
    set(suffix .spi)
    set(def ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/exports.def)
  endif()
  # A version resource naming this file, with the program's version.
  set(SPI_FILE_NAME ${name}${suffix})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${name}_version.rc)
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/version.rc.in ${rc} @ONLY)
  # windres reports no included files: name the version header as a dependency.
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/generated/version.h)
  add_library(${name} SHARED ${ARG_UNPARSED_ARGUMENTS} ${def} ${rc})
  target_include_directories(${name} PRIVATE ${CMAKE_BINARY_DIR}/generated)
  # The plug-in's about text names the file as it ships in this width.
  target_compile_definitions(${name} PRIVATE SPI_FILE_NAME="${SPI_FILE_NAME}")
  target_link_libraries(${name} PRIVATE spi_exports spi_shim ${ARG_LIBS})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ${suffix}
    RUNTIME_OUTPUT_DIRECTORY ${SPI_OUTPUT_DIR})
endfunction()
