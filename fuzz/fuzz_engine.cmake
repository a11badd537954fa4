# fuzz_script_load: a script (plain or packed) loaded from memory.
# fuzz_pak_read: a packed file read from memory.
kvr_fuzz(fuzz_script_load SOURCES fuzz_script_load.cpp LIBS kvr_engine)
kvr_fuzz(fuzz_pak_read SOURCES fuzz_pak_read.cpp LIBS kvr_wendax)
