list(APPEND ISOLOOP_CORE_SOURCES
  src/scenes/scene_slots.cpp
  src/scenes/scene_timing.cpp
  src/scenes/wave_grid.cpp)
list(APPEND ISOLOOP_EDGE_SOURCES
  src/scenes/gl/camera.cpp
  src/scenes/gl/draw_patterns.cpp
  src/scenes/gl/scene_table.cpp
  src/scenes/gl/scene_0.cpp
  src/scenes/gl/scene_1.cpp
  src/scenes/gl/scene_3.cpp
  src/scenes/gl/scene_4.cpp
  src/scenes/gl/scene_5.cpp
  src/scenes/gl/scene_credits.cpp)
