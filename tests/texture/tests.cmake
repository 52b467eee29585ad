isoloop_test_suite(texture_tests "tests/texture/*_test.cpp" LABELS texture)
isoloop_test_suite(texture_gl_tests "tests/texture/gl/*_test.cpp" EDGE LABELS texture_gl)
