# isoloop-synth-bench: real-time factor of the music (median of 5 minutes).
if(benchmark_FOUND)
  add_executable(isoloop-synth-bench bench/synth_bench.cpp)
  target_link_libraries(isoloop-synth-bench PRIVATE isoloop_core benchmark::benchmark)
endif()
