# Reading the includes of a source file, shared by the layer and cycle checks.
#
# korvex_read_includes(<file> <source root> <out>) sets <out> to one entry per #include line:
#   src:<path>   a file of the tree, written from the source root ("core/tasks/X.h"), however the
#                include was spelt: quotes or angle brackets, "../tasks/X.h" or a bare "X.h"
#                resolved against the including file's folder first
#   qt:<name>    a Qt header in any spelling: <QString>, <QtCore/QString>, <qobject.h>
#   bare:<name>  a quoted name found neither beside the file nor from the root
#   ext:<name>   anything else in angle brackets (the standard library, system packages)
# Paths that leave the source root stay relative to it ("../outside/X.h" gives src:../outside/X.h),
# so a check sees them too.

function(korvex_is_qt_header name out)
  if(name MATCHES "^Qt[A-Za-z0-9]*/" OR name MATCHES "^Q[A-Z][A-Za-z0-9]*$" OR name MATCHES "^q[a-z0-9_]+\\.h$"
     OR name MATCHES "^Qt[A-Za-z0-9]*$")
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

function(korvex_read_includes file root out)
  get_filename_component(dir "${file}" DIRECTORY)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include")
  set(result "")
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*([\"<])([^\">]+)[\">]")
      continue()
    endif()
    set(quote "${CMAKE_MATCH_1}")
    set(name "${CMAKE_MATCH_2}")
    korvex_is_qt_header("${name}" qt)
    if(qt)
      list(APPEND result "qt:${name}")
      continue()
    endif()
    set(target "")
    # Next to the including file first (what the compiler does for quotes), then from the root.
    get_filename_component(beside "${name}" ABSOLUTE BASE_DIR "${dir}")
    get_filename_component(fromRoot "${name}" ABSOLUTE BASE_DIR "${root}")
    if(quote STREQUAL "\"" AND EXISTS "${beside}")
      set(target "${beside}")
    elseif(EXISTS "${fromRoot}")
      set(target "${fromRoot}")
    elseif(name MATCHES "^\\.\\.?/")
      set(target "${beside}")
    elseif(name MATCHES "^(core|gui|service|cli|tools)/")
      set(target "${fromRoot}")
    endif()
    if(target STREQUAL "" AND quote STREQUAL "\"")
      list(APPEND result "bare:${name}")
    elseif(target STREQUAL "")
      list(APPEND result "ext:${name}")
    else()
      file(RELATIVE_PATH rel "${root}" "${target}")
      list(APPEND result "src:${rel}")
    endif()
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()
