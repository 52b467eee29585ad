# The Debian package, built with cpack and unpacked into a scratch root. It
# packs what the plain build made, so "slow" in its label keeps it out of the
# sanitizer passes.
isoloop_test_suite(package_tests "tests/package/*_test.cpp" LABELS package_slow)
if(TARGET package_tests)
  add_dependencies(package_tests isoloop isoloop-tool isoloop_pack isoloop_data)
  target_compile_definitions(package_tests PRIVATE ISOLOOP_VERSION="${PROJECT_VERSION}")
endif()
