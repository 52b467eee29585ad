isoloop_test_suite(app_tests "tests/app/*_test.cpp" LABELS app)
isoloop_test_suite(app_gl_tests "tests/app/gl/*_test.cpp" EDGE LABELS app gl)
