target_sources(isoloop-tool PRIVATE tools/cmd_dump_textures.cpp)
