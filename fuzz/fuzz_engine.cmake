# fuzz_script_load: a script (plain or packed) loaded from memory.
# fuzz_pak_read: a packed file read from memory.
kvr_fuzz(fuzz_script_load SOURCES fuzz_script_load.cpp LIBS kvr_engine)
kvr_fuzz(fuzz_pak_read SOURCES fuzz_pak_read.cpp LIBS kvr_wendax)
# fuzz_zone_file: a zone file read, put on the angle grid and hit-tested.
# fuzz_session: a headless session file parsed.
kvr_fuzz(fuzz_zone_file SOURCES fuzz_zone_file.cpp LIBS kvr_engine)
kvr_fuzz(fuzz_session SOURCES fuzz_session.cpp LIBS kvr_engine)
# fuzz_launcher_text: the launcher's profile reader and writer, its
# Windows-1252 text and its page link rule.
kvr_fuzz(fuzz_launcher_text SOURCES fuzz_launcher_text.cpp LIBS kvr_autorun)
# fuzz_plugin_line, fuzz_plugin_block: a plug-in statement, and a PLUGIN
# block of one statement a line, run against a small loaded game.
kvr_fuzz(fuzz_plugin_line SOURCES fuzz_plugin_line.cpp LIBS kvr_engine kvr_wendax_headless kvr_tooling)
kvr_fuzz(fuzz_plugin_block SOURCES fuzz_plugin_block.cpp LIBS kvr_engine kvr_wendax_headless kvr_tooling)
# fuzz_save_slot: slot files read, and saved contexts restored into the small
# loaded game and drawn.
kvr_fuzz(fuzz_save_slot SOURCES fuzz_save_slot.cpp LIBS kvr_engine kvr_wendax_headless kvr_tooling)
# fuzz_archive: a data archive's index and two data files from one input,
# every entry drawn whole and in part around the target's edges.
kvr_fuzz(fuzz_archive SOURCES fuzz_archive.cpp LIBS kvr_engine)
# fuzz_wav: a WAV file read as the sound commands read it and played looping.
# fuzz_registry_text: the registry store's file parsed, written and parsed back.
kvr_fuzz(fuzz_wav SOURCES fuzz_wav.cpp LIBS kvr_wendax kvr_wendax_headless)
kvr_fuzz(fuzz_registry_text SOURCES fuzz_registry_text.cpp LIBS kvr_host)
