isoloop_test_suite(geometry_tests "tests/geometry/*_test.cpp" LABELS geometry)
isoloop_test_suite(geometry_gl_tests "tests/geometry/gl/*_test.cpp" EDGE LABELS geometry_gl)
