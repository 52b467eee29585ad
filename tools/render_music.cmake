# The offline music renderer writes its sound files through libsndfile.
if(NOT TARGET PkgConfig::SNDFILE)
  pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
endif()
target_sources(isoloop-tool PRIVATE tools/cmd_render_music.cpp tools/sound_file.cpp)
target_link_libraries(isoloop-tool PRIVATE PkgConfig::SNDFILE)
