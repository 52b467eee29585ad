# The pack tools and the default artwork. The art library draws text with
# FreeType, reads and writes PNG and quantises colours; the demo never links it.
find_package(PNG REQUIRED)
find_package(Freetype REQUIRED)
pkg_check_modules(IMAGEQUANT REQUIRED IMPORTED_TARGET imagequant)
find_path(ISOLOOP_FONT_DIR DejaVuSans-Bold.ttf
  PATH_SUFFIXES share/fonts/truetype/dejavu fonts/truetype/dejavu
  DOC "Directory of the DejaVu fonts (Debian package fonts-dejavu-core)")
if(NOT ISOLOOP_FONT_DIR)
  message(FATAL_ERROR "DejaVu fonts not found: install fonts-dejavu-core or set ISOLOOP_FONT_DIR")
endif()

add_library(isoloop_art STATIC
  src/texture/art/png_io.cpp
  src/texture/art/canvas.cpp
  src/texture/art/font.cpp
  src/texture/art/pack_convert.cpp
  src/texture/art/artwork.cpp
  src/texture/art/artwork_text.cpp
  src/texture/art/artwork_marks.cpp
  src/texture/art/contact_sheet.cpp)
target_link_libraries(isoloop_art PUBLIC isoloop_core PNG::PNG Freetype::Freetype
  PkgConfig::IMAGEQUANT)
target_compile_definitions(isoloop_art PRIVATE ISOLOOP_FONT_DIR="${ISOLOOP_FONT_DIR}")

target_sources(isoloop-tool PRIVATE tools/cmd_pack.cpp)
target_link_libraries(isoloop-tool PRIVATE isoloop_art)
