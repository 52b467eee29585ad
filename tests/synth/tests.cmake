isoloop_test_suite(synth_tests "tests/synth/*_test.cpp" LABELS synth)
isoloop_test_suite(synth_gl_tests "tests/synth/gl/*_test.cpp" EDGE LABELS synth_gl)
