isoloop_test_suite(app_tests "tests/app/*_test.cpp" LABELS app)
isoloop_test_suite(app_gl_tests "tests/app/gl/*_test.cpp" EDGE LABELS app_gl)
# The demo and the capture traced by apitrace, whose preloaded tracer does not
# mix with the sanitizers' runtimes: "trace" keeps it out of their passes, and
# "_gl" runs it again against sdl12-compat.
isoloop_test_suite(app_trace_tests "tests/app/trace/*_test.cpp" LABELS app_trace_gl)

# The preloaded probe that the end-to-end runs of the demo binary use.
# It names scenes from the demo's own table.
add_library(isoloop_probe MODULE tests/app/probe/swap_probe.cpp src/scenes/scene_slots.cpp)
target_include_directories(isoloop_probe PRIVATE src ${SDL_INCLUDE_DIR})
target_link_libraries(isoloop_probe PRIVATE OpenGL::GL ${CMAKE_DL_LIBS})
if(TARGET app_gl_tests)
  add_dependencies(app_gl_tests isoloop_probe isoloop isoloop_pack)
endif()
if(TARGET app_trace_tests)
  add_dependencies(app_trace_tests isoloop_probe isoloop isoloop_pack isoloop-tool)
endif()
# Preloaded into every program the test starts (env, sh) before the demo:
# its SDL symbols can only be bound lazily, where SDL is there.
target_link_options(isoloop_probe PRIVATE -Wl,-z,lazy)
