target_sources(isoloop-tool PRIVATE tools/cmd_frame.cpp tools/show_pack.cpp)
target_link_libraries(isoloop-tool PRIVATE isoloop_offscreen)
