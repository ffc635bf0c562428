# add_spi_plugin(<file name without .spi> <sources...> [LIBS <libs...>])
# One plug-in DLL: the shared exports under their plain names, PREFIX "" and
# SUFFIX ".spi", next to the program in bin/.
include_guard(GLOBAL)
function(add_spi_plugin name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_library(${name} SHARED ${ARG_UNPARSED_ARGUMENTS}
    ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/exports.def)
  target_link_libraries(${name} PRIVATE spi_exports spi_shim ${ARG_LIBS})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".spi"
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endfunction()
