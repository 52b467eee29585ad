isoloop_test_suite(synth_tests "tests/synth/*_test.cpp" LABELS synth)
isoloop_test_suite(synth_gl_tests "tests/synth/gl/*_test.cpp" EDGE LABELS synth_gl)

# The offline renderer, run as a program; it reads the WAV back with libsndfile.
if(NOT TARGET PkgConfig::SNDFILE)
  pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
endif()
isoloop_test_suite(synth_tool_tests "tests/synth/tool/*_test.cpp" LABELS synth LIBS PkgConfig::SNDFILE)
if(TARGET synth_tool_tests)
  add_dependencies(synth_tool_tests isoloop-tool)
endif()

# The end-to-end music check runs the real demo binary.
if(TARGET synth_gl_tests)
  add_dependencies(synth_gl_tests isoloop isoloop_pack)
endif()

# Long renders (minutes of music). Labels take one word each; "slow" marks a
# suite a quick pass can leave out.
isoloop_test_suite(synth_slow_tests "tests/synth/slow/*_test.cpp" LABELS synth_slow)
