# The command-line rules of isoloop-tool, run as a program.
isoloop_test_suite(tool_tests "tests/tools/*_test.cpp" LABELS tools)
if(TARGET tool_tests)
  add_dependencies(tool_tests isoloop-tool isoloop_pack)
  target_compile_definitions(tool_tests PRIVATE ISOLOOP_VERSION="${PROJECT_VERSION}")
endif()
