# Labels take one word each; "slow" marks a suite a quick pass can leave out.
isoloop_test_suite(scenes_tests "tests/scenes/*_test.cpp" LABELS scenes LIBS PNG::PNG)
isoloop_test_suite(scenes_gl_tests "tests/scenes/gl/*_test.cpp" EDGE LABELS scenes_gl)
isoloop_test_suite(scenes_loop_tests "tests/scenes/loop/*_test.cpp" EDGE LABELS scenes_slow)
# The scenes draw the textures of the picture pack; the tool tests run the tool.
foreach(suite scenes_tests scenes_gl_tests scenes_loop_tests)
  if(TARGET ${suite})
    add_dependencies(${suite} isoloop_pack)
  endif()
endforeach()
if(TARGET scenes_tests)
  add_dependencies(scenes_tests isoloop-tool)
endif()
