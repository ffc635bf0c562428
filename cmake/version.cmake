# glimora_version_files(<version> <folder>): writes <folder>/version.h, the
# version in the forms a version resource wants (1,0,0,0 and "1.0.0").
include_guard(GLOBAL)
function(glimora_version_files version folder)
  string(REGEX MATCHALL "[0-9]+" parts "${version}")
  list(APPEND parts 0 0 0 0)
  list(SUBLIST parts 0 4 parts)
  string(JOIN "," GLIMORA_VERSION_COMMAS ${parts})
  set(GLIMORA_VERSION_TEXT "${version}")
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/version.h.in ${folder}/version.h @ONLY)
endfunction()

# The version as the top CMakeLists.txt's project() states it, for the
# plug-ins' build of its own when nobody hands it over.
function(glimora_read_project_version out)
  file(READ ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../CMakeLists.txt top)
  string(REGEX MATCH "project\\(Glimora VERSION ([0-9.]+)" _ "${top}")
  set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()
