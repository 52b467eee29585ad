# geometry_bench: the eight solid builds as start-up does them (fast inside tests,
# spatial merge, edge-search cache) against the linear-scan reference with the
# plain inside tests, side by side, with shape-call counts and per-solid times.
if(benchmark_FOUND)
  add_executable(geometry_bench bench/geometry_bench.cpp)
  target_include_directories(geometry_bench PRIVATE tests/geometry)
  target_link_libraries(geometry_bench PRIVATE isoloop_core benchmark::benchmark)
endif()
