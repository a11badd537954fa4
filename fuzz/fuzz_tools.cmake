# fuzz_panorama_roundtrip: panorama contents and files written and read back
# with the tools' writer and reader.
kvr_fuzz(fuzz_panorama_roundtrip SOURCES fuzz_panorama_roundtrip.cpp LIBS kvr_tooling)
