isoloop_test_suite(texture_tests "tests/texture/*_test.cpp" LABELS texture)
isoloop_test_suite(texture_gl_tests "tests/texture/gl/*_test.cpp" EDGE LABELS texture_gl)
# The artwork, PNG and pack tool tests; they also run the isoloop-tool binary.
isoloop_test_suite(texture_art_tests "tests/texture/art/*_test.cpp" LABELS texture
  LIBS isoloop_art)
if(TARGET texture_art_tests)
  add_dependencies(texture_art_tests isoloop-tool)
endif()
