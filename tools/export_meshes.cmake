target_sources(isoloop-tool PRIVATE tools/cmd_export_meshes.cpp)
