# The offscreen frame renderer: the demo's edge code in a window-less EGL
# context (GLVND's libEGL and libGL share one Mesa), shared with the scene
# tests and the frame-rate benchmark.
add_library(isoloop_offscreen STATIC tools/offscreen_gl.cpp)
target_include_directories(isoloop_offscreen PUBLIC tools)
target_link_libraries(isoloop_offscreen PUBLIC isoloop_edge OpenGL::EGL)
target_sources(isoloop-tool PRIVATE tools/cmd_frame.cpp)
target_link_libraries(isoloop-tool PRIVATE isoloop_offscreen)
