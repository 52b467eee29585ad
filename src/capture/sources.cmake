# The show filmed on a virtual clock: the clock, the pass loop and the
# settings' text are plain code that the tool and the browser's capture page
# share; gl/ holds the offscreen drawing target the tool reads frames from
# (multisampled framebuffers, BGRA reads: desktop GL, not WebGL).
list(APPEND ISOLOOP_CORE_SOURCES
  src/capture/capture_clock.cpp
  src/capture/capture_text.cpp
  src/capture/capture_run.cpp)
list(APPEND ISOLOOP_OFFSCREEN_SOURCES src/capture/gl/capture_canvas.cpp)
