# Overdraw per scene (fragments per pixel on screen) in a window-less Mesa
# context.
if(TARGET isoloop_offscreen)
  add_executable(overdraw_bench bench/overdraw.cpp)
  target_link_libraries(overdraw_bench PRIVATE isoloop_offscreen)
  add_dependencies(overdraw_bench isoloop_pack)
endif()
