target_sources(isoloop-tool PRIVATE tools/cmd_frame.cpp)
