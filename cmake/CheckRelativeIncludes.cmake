# cmake -DROOT=<src> -P CheckRelativeIncludes.cmake
# Fails when a source under ROOT includes a header by a path that climbs out of its folder:
# such an include would step around the layers' include roots.
file(GLOB_RECURSE sources ${ROOT}/*.cpp ${ROOT}/*.h)
set(found "")
foreach(source IN LISTS sources)
  file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\.[/\\\\]")
  foreach(line IN LISTS lines)
    string(APPEND found "\n  ${source}: ${line}")
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "Includes by a relative path out of the folder:${found}")
endif()
