list(APPEND ISOLOOP_CORE_SOURCES
  src/scenes/scene_timing.cpp
  src/scenes/wave_grid.cpp)
list(APPEND ISOLOOP_EDGE_SOURCES
  src/app/camera.cpp
  src/scenes/draw_patterns.cpp
  src/scenes/scene_table.cpp
  src/scenes/scene_0.cpp
  src/scenes/scene_1.cpp
  src/scenes/scene_3.cpp
  src/scenes/scene_4.cpp
  src/scenes/scene_5.cpp
  src/scenes/scene_credits.cpp)
