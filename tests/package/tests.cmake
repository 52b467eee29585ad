# The Debian package, built with cpack and unpacked into a scratch root. It
# packs what the build made, which in a sanitizer build lacks the hardening
# lintian asks for: the sanitizer passes leave "package" out.
isoloop_test_suite(package_tests "tests/package/*_test.cpp" LABELS package_slow)
if(TARGET package_tests)
  add_dependencies(package_tests isoloop isoloop-tool isoloop_pack isoloop_data)
  target_compile_definitions(package_tests PRIVATE ISOLOOP_VERSION="${PROJECT_VERSION}")
endif()
