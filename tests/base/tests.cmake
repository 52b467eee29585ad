isoloop_test_suite(base_tests "tests/base/*_test.cpp" LABELS base)
