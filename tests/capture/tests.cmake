# The capture's clock, pass loop and settings (the core's, no GL), then the
# tool itself run as a program: short captures, then the ffmpeg, stop,
# full-disk and whole-loop ones labelled slow (a quick pass can leave them
# out; every stage runs them).
isoloop_test_suite(capture_tests "tests/capture/*_test.cpp" LABELS capture)
isoloop_test_suite(capture_tool_tests "tests/capture/tool/*_test.cpp" LABELS capture
  LIBS isoloop_art PkgConfig::SNDFILE)
isoloop_test_suite(capture_slow_tests "tests/capture/slow/*_test.cpp" LABELS capture_slow
  LIBS isoloop_art PkgConfig::SNDFILE)
foreach(suite capture_tool_tests capture_slow_tests)
  if(TARGET ${suite})
    add_dependencies(${suite} isoloop-tool isoloop_pack)
  endif()
endforeach()
