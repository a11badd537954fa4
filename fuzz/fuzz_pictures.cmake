# fuzz_picture_<ext>: Picture_Load on a memory file "in.<ext>", then
# Picture_To_16 and draws into a small screen. One source, the extension as
# a define.
foreach(ext mdraw pcx tga bmp)
  set(file_ext ${ext})
  if(ext STREQUAL "mdraw")
    set(file_ext mtr)
  endif()
  kvr_fuzz(fuzz_picture_${ext}
    SOURCES fuzz_picture_load.cpp
    LIBS kvr_pictures
    DEFINES KVR_FUZZ_EXT=${file_ext}
  )
endforeach()

# fuzz_picture_gif, fuzz_picture_iff: GIF and IFF files through the same
# Picture_Load target.
kvr_fuzz(fuzz_picture_gif SOURCES fuzz_picture_load.cpp LIBS kvr_pictures DEFINES KVR_FUZZ_EXT=gif)
kvr_fuzz(fuzz_picture_iff SOURCES fuzz_picture_load.cpp LIBS kvr_pictures DEFINES KVR_FUZZ_EXT=lbm)
# fuzz_mtrd_read_picture: Mtrd_Read_Picture and Mtrd_Read_Video on a memory file.
kvr_fuzz(fuzz_mtrd_read_picture SOURCES fuzz_mtrd_read.cpp LIBS kvr_pictures)
# fuzz_mtrd_video: an MTRD video opened and decoded frame by frame.
kvr_fuzz(fuzz_mtrd_video SOURCES fuzz_mtrd_video.cpp LIBS kvr_pictures)
# fuzz_zqm_memory: a ZQM movie opened from memory and played on a virtual
# clock (FFmpeg itself is fuzzed upstream; this is the glue around it).
kvr_fuzz(fuzz_zqm_memory SOURCES fuzz_zqm_memory.cpp LIBS kvr_zqm)
