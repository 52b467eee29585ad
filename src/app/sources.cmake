# The top floor: start-up, the main loop and the frame driver. Its plain
# bookkeeping is core; the GL and SDL sides sit in gl/ and sdl/, and egl/ holds
# the window-less GL context that the tools and the GL tests share.
list(APPEND ISOLOOP_CORE_SOURCES
  src/app/warm_heap.cpp
  src/app/startup_work.cpp
  src/app/frame_driver.cpp
  src/app/demo_clock.cpp)
list(APPEND ISOLOOP_EDGE_SOURCES
  src/app/gl/fixed_state.cpp
  src/app/gl/loading_picture.cpp
  src/app/gl/startup_steps.cpp
  src/app/gl/frame_pass.cpp
  src/app/sdl/display.cpp
  src/app/sdl/luz.cpp
  src/app/sdl/sdl_main.cpp)
set(ISOLOOP_OFFSCREEN_SOURCES src/app/egl/offscreen_gl.cpp)
