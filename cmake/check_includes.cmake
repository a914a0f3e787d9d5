# Fails when a product source reaches another folder by a relative path
# ("../x.h" or "dir/x.h"): the layers of the product are kept apart by the
# include directories each library lists, and such a path would go round them.
# The platform is one library with windows.h as its one entry; every other
# product folder is checked.
file(GLOB_RECURSE sources ${ROOT}/common/* ${ROOT}/render/* ${ROOT}/ui/* ${ROOT}/import/* ${ROOT}/host/*
  ${ROOT}/addressbook/*)
set(bad "")
foreach(f ${sources})
  if(NOT f MATCHES "\\.(h|cpp)$")
    continue()
  endif()
  file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]+\"[^\"]*/")
  foreach(line ${lines})
    string(APPEND bad "${f}: ${line}\n")
  endforeach()
endforeach()
if(bad)
  message(FATAL_ERROR "includes by path across folders:\n${bad}")
endif()
