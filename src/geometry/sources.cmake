list(APPEND ISOLOOP_CORE_SOURCES
  src/geometry/vector3.cpp
  src/geometry/vertex_grid.cpp
  src/geometry/object13.cpp
  src/geometry/cell_geometry.cpp
  src/geometry/case_table.cpp
  src/geometry/polygonizer.cpp
  src/geometry/shapes_blobs.cpp
  src/geometry/shapes_solids.cpp
  src/geometry/shapes_fast_blobs.cpp
  src/geometry/shapes_fast_solids.cpp
  src/geometry/solids.cpp)
list(APPEND ISOLOOP_EDGE_SOURCES
  src/geometry/gl/mesh_render.cpp
  src/geometry/gl/solids_bake.cpp)
