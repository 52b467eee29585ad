# Frame rate of each scene at 640 x 480 in a window-less Mesa context, with
# the synthesizer refilling the ring as in the demo.
if(benchmark_FOUND AND TARGET isoloop_offscreen)
  add_executable(scenes_bench bench/scenes_bench.cpp)
  target_link_libraries(scenes_bench PRIVATE isoloop_offscreen benchmark::benchmark)
  add_dependencies(scenes_bench isoloop_pack)
endif()
