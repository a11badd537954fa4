# fuzz_unpack_1 .. fuzz_unpack_7: one decoder each, from the same source.
foreach(method RANGE 1 7)
  kvr_fuzz(fuzz_unpack_${method}
    SOURCES fuzz_unpack.cpp
    LIBS kvr_packing
    DEFINES KVR_FUZZ_METHOD=${method}
  )
endforeach()
