target_sources(isoloop-tool PRIVATE tools/cmd_frame.cpp)
target_link_libraries(isoloop-tool PRIVATE isoloop_offscreen)
