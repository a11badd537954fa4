# fuzz_kvr_chunks: the input as a chunk file walked with KVR_FILE as the engine
# links it. fuzz_dct_unpack: the dct unpackers on arbitrary data.
kvr_fuzz(fuzz_kvr_chunks SOURCES fuzz_kvr_chunks.cpp LIBS kvr_chunk_file kvr_byte_order)
kvr_fuzz(fuzz_dct_unpack SOURCES fuzz_dct_unpack.cpp LIBS dct)

# Writes their seed corpora: fuzz_make_kvr_seeds fuzz/corpus
add_executable(fuzz_make_kvr_seeds make_kvr_seeds.cpp)
kvr_headers(fuzz_make_kvr_seeds fuzz)
target_link_libraries(fuzz_make_kvr_seeds PRIVATE dct kvr_read kvr_byte_order)

# fuzz_scene_load: Load_Scene_Picture on the input as a file.
# fuzz_scene_animation: the input's animations played frame by frame.
kvr_fuzz(fuzz_scene_load SOURCES fuzz_scene_load.cpp LIBS kvr_scene)
kvr_fuzz(fuzz_scene_animation SOURCES fuzz_scene_animation.cpp LIBS kvr_scene)

# fuzz_kvr_animation: the Kvr_* animation functions of libkvr_read.so on the
# input as a file, each listed animation played frame by frame.
kvr_fuzz(fuzz_kvr_animation SOURCES fuzz_kvr_animation.cpp LIBS kvr_read)
