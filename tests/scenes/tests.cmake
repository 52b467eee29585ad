isoloop_test_suite(scenes_tests "tests/scenes/*_test.cpp" LABELS scenes)
isoloop_test_suite(scenes_gl_tests "tests/scenes/gl/*_test.cpp" EDGE LABELS scenes_gl)
