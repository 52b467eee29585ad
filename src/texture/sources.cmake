list(APPEND ISOLOOP_CORE_SOURCES
  src/texture/regular_file.cpp
  src/texture/pack_reader.cpp
  src/texture/pack_writer.cpp
  src/texture/pack_file.cpp
  src/texture/procedural_textures.cpp
  src/texture/texture_builder.cpp)
list(APPEND ISOLOOP_EDGE_SOURCES
  src/texture/gl/texture_upload.cpp)
