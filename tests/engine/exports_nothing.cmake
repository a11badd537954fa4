# Run by CTest: the program PROGRAM exports no symbol of its own. What the
# dynamic table may hold are the standard library's instantiations that the
# linker shares with libstdc++, the C library's data objects, the linker's
# own marks and main (which a library may look up), and in sanitizer builds
# the sanitizer runtime's own symbols.
find_program(NM nm REQUIRED)
execute_process(COMMAND ${NM} -D -C --defined-only ${PROGRAM} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "nm failed on ${PROGRAM}")
endif()
string(REPLACE "\n" ";" lines "${out}")
foreach(line IN LISTS lines)
  if(line STREQUAL "" OR line MATCHES " (std::|__gnu_cxx::|__asan_|__ubsan_|__lsan_|__sanitizer_)"
     OR line MATCHES "@GLIBC" OR line MATCHES " (main|_edata|_end|__bss_start)$")
    continue()
  endif()
  message(FATAL_ERROR "${PROGRAM} exports: ${line}")
endforeach()
