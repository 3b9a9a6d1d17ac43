# cmake -DBUILD_DIR=<build> -DPROBES="<target>|<header>|hidden|seen;..." -P CheckLayers.cmake
# Builds each probe target: a "hidden" probe must fail because its header is not found, a
# "seen" probe must build.
set(failures "")
foreach(probe IN LISTS PROBES)
  string(REPLACE "|" ";" fields ${probe})
  list(GET fields 0 target)
  list(GET fields 1 header)
  list(GET fields 2 expected)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${target}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  string(FIND "${output}" "${header}: No such file" missing)
  if(expected STREQUAL "hidden" AND (result EQUAL 0 OR missing EQUAL -1))
    string(APPEND failures "\n  ${target}: ${header} should be out of reach\n${output}")
  elseif(expected STREQUAL "seen" AND NOT result EQUAL 0)
    string(APPEND failures "\n  ${target}: ${header} should build\n${output}")
  else()
    message(STATUS "${target}: ${header} ${expected}")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "Layering broken:${failures}")
endif()
