# Run by `cmake --install` once the headers are in place (cmake/Install.cmake): turns their
# includes of each other, "platform/core/Types.h", into "brantwell/platform/core/Types.h".
# Inputs: BW_INCLUDEDIR (relative to the prefix, or absolute), BW_HEADER_DIRS.

if(IS_ABSOLUTE "${BW_INCLUDEDIR}")
  set(dir "$ENV{DESTDIR}${BW_INCLUDEDIR}/brantwell")
else()
  set(dir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${BW_INCLUDEDIR}/brantwell")
endif()
list(JOIN BW_HEADER_DIRS "|" folders)
file(GLOB_RECURSE headers "${dir}/*.h")
foreach(header IN LISTS headers)
  file(READ "${header}" text)
  string(REGEX REPLACE "(#[ \t]*include[ \t]*\")(${folders})/" "\\1brantwell/\\2/" prefixed
         "${text}")
  if(NOT prefixed STREQUAL text)
    file(WRITE "${header}" "${prefixed}")
  endif()
endforeach()
