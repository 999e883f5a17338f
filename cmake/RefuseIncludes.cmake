# Stops the configure step when any of SOURCES includes a header whose name matches PATTERN (the text
# after `#include <` or `#include "`): each folder's room is kept by the build, not by review alone.
#   velmaro_refuse_includes(ROOM "core/ must not include Qt" PATTERN "Q" SOURCES a.h b.cpp ...)
function(velmaro_refuse_includes)
  cmake_parse_arguments(ARG "" "ROOM;PATTERN" "SOURCES" ${ARGN})
  foreach(_src IN LISTS ARG_SOURCES)
    file(STRINGS ${_src} _found REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](${ARG_PATTERN})")
    if(_found)
      message(FATAL_ERROR "${ARG_ROOM}: ${_src}: ${_found}")
    endif()
  endforeach()
endfunction()
