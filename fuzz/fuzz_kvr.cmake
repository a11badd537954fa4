# fuzz_kvr_chunks: the input as a chunk file walked with KVR_FILE as the engine
# links it. fuzz_dct_unpack: the dct unpackers on arbitrary data, linked from
# the library's objects to reach its whole-picture unpacker at any size.
kvr_fuzz(fuzz_kvr_chunks SOURCES fuzz_kvr_chunks.cpp LIBS kvr_chunk_file kvr_byte_order)
find_package(JPEG REQUIRED)
kvr_fuzz(fuzz_dct_unpack SOURCES fuzz_dct_unpack.cpp LIBS dct_pixel_rows dct_core JPEG::JPEG)

# Writes their seed corpora: fuzz_make_kvr_seeds fuzz/corpus
add_executable(fuzz_make_kvr_seeds make_kvr_seeds.cpp)
kvr_headers(fuzz_make_kvr_seeds fuzz)
target_link_libraries(fuzz_make_kvr_seeds PRIVATE dct kvr_read kvr_byte_order)

# fuzz_scene_load: the input as a panorama file loaded as a warp's picture.
# fuzz_scene_animation: its animations played frame by frame.
# fuzz_scene_tga: the input as a small TGA still, read and dithered.
# fuzz_dither: the dither on small pictures.
kvr_fuzz(fuzz_scene_load SOURCES fuzz_scene_load.cpp LIBS kvr_scene)
kvr_fuzz(fuzz_scene_animation SOURCES fuzz_scene_animation.cpp LIBS kvr_scene)
kvr_fuzz(fuzz_scene_tga SOURCES fuzz_scene_tga.cpp LIBS kvr_scene)
kvr_fuzz(fuzz_dither SOURCES fuzz_dither.cpp LIBS kvr_scene)

# fuzz_kvr_animation: the Kvr_* animation functions of libkvr_read.so on the
# input as a file, each listed animation played frame by frame.
kvr_fuzz(fuzz_kvr_animation SOURCES fuzz_kvr_animation.cpp LIBS kvr_read)
