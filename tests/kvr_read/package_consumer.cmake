# Run by CTest: installs the kvr_read component of BUILD_DIR into
# WORK_DIR/prefix, builds CONSUMER_SOURCE against it with find_package and
# runs the result. Also checks what is installed: the private headers stay
# behind, and libkvr_read.so exports nothing but KVR_FILE and the Kvr_*
# functions.
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
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --component kvr_read)

foreach(name libkvr_read.so libdct.so)
  file(GLOB_RECURSE found ${prefix}/*/${name})
  if(NOT found)
    message(FATAL_ERROR "${name} not installed under ${prefix}")
  endif()
endforeach()
file(GLOB_RECURSE library ${prefix}/*/libkvr_read.so)
foreach(header kvr_read/kvr_read.h kvr_read/kvr_file.h kvr_read/kvr_chunks.h dct/dct.h
               dct/dct_encode.h)
  if(NOT EXISTS ${prefix}/include/${header})
    message(FATAL_ERROR "${header} not installed under ${prefix}/include")
  endif()
endforeach()
foreach(header kvr_read/kvr_walk.h kvr_read/kvr_file_reader.h)
  if(EXISTS ${prefix}/include/${header})
    message(FATAL_ERROR "private header ${header} installed")
  endif()
endforeach()

find_program(NM nm)
if(NM)
  run(${NM} -D -C --defined-only ${library})
  string(REPLACE "\n" ";" symbols "${run_output}")
  foreach(line IN LISTS symbols)
    if(line STREQUAL "" OR line MATCHES " (_init|_fini)$")
      continue()
    endif()
    if(NOT line MATCHES " (KVR_FILE::|Kvr_[A-Za-z_]+\\()")
      message(FATAL_ERROR "libkvr_read.so exports more than KVR_FILE and Kvr_*: ${line}")
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
run(${build}/kvr_read_consumer ${WORK_DIR})
message(STATUS "${run_output}")
