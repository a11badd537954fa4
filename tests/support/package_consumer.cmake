# Run by CTest (through kvr_package_test in tests/CMakeLists.txt): installs
# COMPONENT of BUILD_DIR into WORK_DIR/prefix, checks what was installed,
# then builds CONSUMER_SOURCE against it with find_package and runs each of
# its programs CONSUMERS with WORK_DIR as argument.
#   LIBRARIES        libraries that must be installed; the first is the one
#                    whose exported symbols are checked
#   HEADERS          headers that must be under include/
#   PRIVATE_HEADERS  headers that must not be
#   EXPORTS          regular expression every exported symbol line must match
# Lists come as ';'-separated strings.
foreach(var BUILD_DIR WORK_DIR COMPONENT CONSUMER_SOURCE CONSUMERS GENERATOR CXX_COMPILER LIBRARIES
            HEADERS EXPORTS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} not set")
  endif()
endforeach()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --component ${COMPONENT})

set(checked_library "")
foreach(name IN LISTS LIBRARIES)
  file(GLOB_RECURSE found ${prefix}/*/${name})
  if(NOT found)
    message(FATAL_ERROR "${name} not installed under ${prefix}")
  endif()
  if(NOT checked_library)
    list(GET found 0 checked_library)
  endif()
endforeach()
foreach(header IN LISTS HEADERS)
  if(NOT EXISTS ${prefix}/include/${header})
    message(FATAL_ERROR "${header} not installed under ${prefix}/include")
  endif()
endforeach()
foreach(header IN LISTS PRIVATE_HEADERS)
  if(EXISTS ${prefix}/include/${header})
    message(FATAL_ERROR "private header ${header} installed")
  endif()
endforeach()

find_program(NM nm)
if(NM)
  run(${NM} -D -C --defined-only ${checked_library})
  string(REPLACE "\n" ";" symbols "${run_output}")
  foreach(line IN LISTS symbols)
    if(line STREQUAL "" OR line MATCHES " (_init|_fini)$")
      continue()
    endif()
    if(NOT line MATCHES "${EXPORTS}")
      message(FATAL_ERROR "${checked_library} exports more than it should: ${line}")
    endif()
  endforeach()
endif()

set(build ${WORK_DIR}/build)
run(${CMAKE_COMMAND} -S ${CONSUMER_SOURCE} -B ${build} -G ${GENERATOR}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
    -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_FIND_PACKAGE_NO_PACKAGE_REGISTRY=ON)
run(${CMAKE_COMMAND} --build ${build})
foreach(program IN LISTS CONSUMERS)
  run(${build}/${program} ${WORK_DIR})
  message(STATUS "${program}: ${run_output}")
endforeach()
