# The browser build (emcmake cmake): the demo's own units, core and edge, as
# the subsystems list them, with this folder's entry in place of the native
# one and the GL 1.1 layer of gl/ beneath. Every GL unit is compiled with
# gl/gl_web.h forced in, so its fixed-function calls reach the layer; the
# layer itself is not. The page's files (page/) are copied by scripts/web.sh.
# emscripten's own SDL 1.2 port: the default up to 3.1.x's middle, asked for
# by name from then on (headers and library alike).
add_compile_options(-sUSE_SDL=1)

set(ISOLOOP_CORE_SOURCES)
set(ISOLOOP_EDGE_SOURCES)
foreach(sub base app geometry texture synth scenes capture)
  include(src/${sub}/sources.cmake)
endforeach()
# The native entry blocks in its loop; the browser's returns to the page.
list(REMOVE_ITEM ISOLOOP_EDGE_SOURCES src/app/sdl/sdl_main.cpp)

# The core, as natively: plain code, no SDL, no GL.
add_library(isoloop_core STATIC ${ISOLOOP_CORE_SOURCES})
target_include_directories(isoloop_core PUBLIC src)

# The GL 1.1 layer over WebGL: entry points, dispatch, state, drawing.
add_library(isoloop_webgl STATIC
  src/app/web/gl/gl_context.cpp
  src/app/web/gl/gl_immediate.cpp
  src/app/web/gl/gl_lists.cpp
  src/app/web/gl/gl_state_commands.cpp
  src/app/web/gl/gl_matrix_commands.cpp
  src/app/web/gl/gl_dispatch.cpp
  src/app/web/gl/gl_caps.cpp
  src/app/web/gl/gl_matrix.cpp
  src/app/web/gl/gl_texture.cpp
  src/app/web/gl/gl_draw.cpp
  src/app/web/gl/gl_program.cpp)
target_include_directories(isoloop_webgl PUBLIC src)
# The page's contract for ending a show, which every program for the page keeps.
add_library(isoloop_show_end STATIC src/app/web/show_end.cpp)
target_include_directories(isoloop_show_end PUBLIC src)
# Programs for the page: createIsoloop(Module) makes a fresh instance per show.
set(ISOLOOP_WEB_LINK -sUSE_SDL=1 -sMODULARIZE=1 -sEXPORT_NAME=createIsoloop -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1 -sFORCE_FILESYSTEM=1 -sEXPORTED_RUNTIME_METHODS=FS)
set(ISOLOOP_WEB_FORCED "-include;${CMAKE_SOURCE_DIR}/src/app/web/gl/gl_web.h")
# The entry, the capture page's program, the demo's contract with the page
# for its drawing size and its sound, and the hooks the tests read.
set(ISOLOOP_WEB_ENTRY src/app/web/web_main.cpp src/app/web/web_capture.cpp
  src/app/web/draw_size.cpp src/app/web/sound_state.cpp src/app/web/web_probe_hooks.cpp)

set_source_files_properties(${ISOLOOP_EDGE_SOURCES} ${ISOLOOP_WEB_ENTRY} PROPERTIES
  COMPILE_OPTIONS "${ISOLOOP_WEB_FORCED}")

add_executable(isoloop ${ISOLOOP_EDGE_SOURCES} ${ISOLOOP_WEB_ENTRY})
target_include_directories(isoloop PRIVATE src)
target_link_libraries(isoloop PRIVATE isoloop_core isoloop_webgl isoloop_show_end)
target_link_options(isoloop PRIVATE ${ISOLOOP_WEB_LINK})

# The browser tests' programs: the layer's probe and the core under node.
include(tests/web/tests.cmake)
