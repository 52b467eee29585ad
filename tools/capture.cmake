# capture: the show filmed on a virtual clock. The clock and the pass loop are
# the core's (src/capture/), its drawing target the offscreen library's; the
# rest feeds ffmpeg or writes PNG files and a WAV.
if(NOT TARGET PkgConfig::SNDFILE)
  pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
endif()
target_sources(isoloop-tool PRIVATE tools/cmd_capture.cpp tools/capture/capture_progress.cpp
  tools/capture/encoder_sink.cpp tools/capture/frame_files_sink.cpp tools/capture/blend_sink.cpp
  tools/capture/output_probe.cpp tools/capture/spawn_process.cpp)
target_link_libraries(isoloop-tool PRIVATE isoloop_offscreen isoloop_art PkgConfig::SNDFILE
  Threads::Threads)
