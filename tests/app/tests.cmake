isoloop_test_suite(app_tests "tests/app/*_test.cpp" LABELS app)
isoloop_test_suite(app_gl_tests "tests/app/gl/*_test.cpp" EDGE LABELS app_gl)

# The preloaded probe that the end-to-end runs of the demo binary use.
add_library(isoloop_probe MODULE tests/app/probe/swap_probe.cpp)
target_include_directories(isoloop_probe PRIVATE ${SDL_INCLUDE_DIR})
target_link_libraries(isoloop_probe PRIVATE OpenGL::GL ${CMAKE_DL_LIBS})
if(TARGET app_gl_tests)
  add_dependencies(app_gl_tests isoloop_probe isoloop isoloop_pack)
endif()
