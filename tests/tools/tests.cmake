# The command-line rules of isoloop-tool, run as a program, and how it starts
# the programs it drives.
isoloop_test_suite(tool_tests "tests/tools/*_test.cpp" LABELS tools)
if(TARGET tool_tests)
  add_dependencies(tool_tests isoloop-tool isoloop_pack)
  target_compile_definitions(tool_tests PRIVATE ISOLOOP_VERSION="${PROJECT_VERSION}")
  # The one unit tested in process rather than through the program.
  target_sources(tool_tests PRIVATE tools/capture/spawn_process.cpp)
  target_include_directories(tool_tests PRIVATE tools)
endif()
