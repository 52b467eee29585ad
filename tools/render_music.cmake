target_sources(isoloop-tool PRIVATE tools/cmd_render_music.cpp)
