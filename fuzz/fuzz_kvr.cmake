# fuzz_kvr_chunks: the input as a chunk file walked with the engine's reading
# copy of KVR_FILE. fuzz_dct_unpack: the dct unpackers on arbitrary data.
kvr_fuzz(fuzz_kvr_chunks SOURCES fuzz_kvr_chunks.cpp LIBS kvr_file_reader)
kvr_fuzz(fuzz_dct_unpack SOURCES fuzz_dct_unpack.cpp LIBS dct)

# Writes their seed corpora: fuzz_make_kvr_seeds fuzz/corpus
add_executable(fuzz_make_kvr_seeds make_kvr_seeds.cpp)
target_link_libraries(fuzz_make_kvr_seeds PRIVATE dct)
