target_sources(isoloop-tool PRIVATE tools/cmd_dump_textures.cpp)
target_link_libraries(isoloop-tool PRIVATE isoloop_art)
