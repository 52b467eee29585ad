# The browser tests' own programs, built from the project's lists with its
# flags. The GL probe (plain GL 1.1, one feature per tile) runs natively on
# Mesa for the reference picture and, through the layer, as the probe site's
# program. The determinism driver (the core alone) runs natively and under
# node; the two must print the same hashes. Natively this file comes with the
# tests; the browser build (src/app/web/web.cmake) includes it itself.
set(ISOLOOP_GL_PROBE tests/web/gl_probe/probe_scene.cpp tests/web/gl_probe/probe_picture.cpp
  tests/web/gl_probe/probe_main.cpp)
add_executable(gl_probe ${ISOLOOP_GL_PROBE})
add_executable(determinism_driver tests/web/node/determinism_driver.cpp)
target_link_libraries(determinism_driver PRIVATE isoloop_core)
if(EMSCRIPTEN)
  set_source_files_properties(${ISOLOOP_GL_PROBE} PROPERTIES COMPILE_OPTIONS "${ISOLOOP_WEB_FORCED}")
  target_link_libraries(gl_probe PRIVATE isoloop_webgl isoloop_show_end)
  target_link_options(gl_probe PRIVATE ${ISOLOOP_WEB_LINK})
  # Synchronous instantiation: emscripten 3.1.6 would otherwise fetch() the
  # .wasm file, which newer Node.js offers but cannot do for a plain path.
  # NODERAWFS lets the driver read the pack from the real file system.
  target_link_options(determinism_driver PRIVATE -sALLOW_MEMORY_GROWTH=1
    -sWASM_ASYNC_COMPILATION=0 -sNODERAWFS=1 -sENVIRONMENT=node)
else()
  target_include_directories(gl_probe PRIVATE ${SDL_INCLUDE_DIR})
  target_link_libraries(gl_probe PRIVATE ${SDL_LIBRARY} OpenGL::GL OpenGL::GLU)
endif()
