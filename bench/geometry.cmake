# geometry_bench: the eight solid builds with the spatial merge and edge-search
# cache against the linear-scan reference, side by side, with shape-call counts.
if(benchmark_FOUND)
  add_executable(geometry_bench bench/geometry_bench.cpp)
  target_include_directories(geometry_bench PRIVATE tests/geometry)
  target_link_libraries(geometry_bench PRIVATE isoloop_core benchmark::benchmark)
endif()
