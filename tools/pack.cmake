target_sources(isoloop-tool PRIVATE tools/cmd_pack.cpp)
