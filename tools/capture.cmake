# capture: the show filmed on a virtual clock. The clock and the pass loop are
# plain code (tested without GL); the rest draws offscreen and feeds ffmpeg or
# writes PNG files and a WAV.
add_library(isoloop_capture_core STATIC tools/capture/capture_clock.cpp
  tools/capture/capture_run.cpp)
target_include_directories(isoloop_capture_core PUBLIC tools)
target_link_libraries(isoloop_capture_core PUBLIC isoloop_core)
if(NOT TARGET PkgConfig::SNDFILE)
  pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
endif()
target_sources(isoloop-tool PRIVATE tools/cmd_capture.cpp tools/capture/capture_canvas.cpp
  tools/capture/capture_progress.cpp tools/capture/encoder_sink.cpp
  tools/capture/frame_files_sink.cpp tools/capture/blend_sink.cpp
  tools/capture/output_probe.cpp)
target_link_libraries(isoloop-tool PRIVATE isoloop_capture_core isoloop_offscreen isoloop_art
  PkgConfig::SNDFILE Threads::Threads)
