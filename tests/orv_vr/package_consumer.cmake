# Run by CTest: installs the orv_vr component of BUILD_DIR into
# WORK_DIR/prefix, builds CONSUMER_SOURCE against it with find_package and
# runs the result. Also checks that the installed library exports nothing
# but the class ORV_VR.
foreach(var BUILD_DIR WORK_DIR CONSUMER_SOURCE GENERATOR CXX_COMPILER)
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
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --component orv_vr)

file(GLOB_RECURSE library ${prefix}/*/liborv_vr.so)
if(NOT library)
  message(FATAL_ERROR "liborv_vr.so not installed under ${prefix}")
endif()
file(GLOB_RECURSE header ${prefix}/include/orv_vr/orv_vr.h)
if(NOT header)
  message(FATAL_ERROR "orv_vr/orv_vr.h not installed under ${prefix}/include")
endif()

find_program(NM nm)
if(NM)
  run(${NM} -D -C --defined-only ${library})
  string(REPLACE "\n" ";" symbols "${run_output}")
  foreach(line IN LISTS symbols)
    if(line STREQUAL "" OR line MATCHES " (_init|_fini)$")
      continue()
    endif()
    if(NOT line MATCHES " ORV_VR::")
      message(FATAL_ERROR "liborv_vr.so exports more than ORV_VR: ${line}")
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
run(${build}/orv_vr_consumer)
message(STATUS "${run_output}")
