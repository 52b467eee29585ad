list(APPEND ISOLOOP_EDGE_SOURCES
  src/scenes/scene_table.cpp)
