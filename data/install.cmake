# The installed layout. The demo and the tool live beside their picture pack
# in a private folder (both find the pack next to their real executable) and
# are reached through relative links in bin; the rest goes where desktops
# and man look for it.
include(GNUInstallDirs)
set(ISOLOOP_HOMEPAGE "https://isoloop.example.org" CACHE STRING "Project home page")
set(ISOLOOP_SCREENSHOTS "${ISOLOOP_HOMEPAGE}/screenshots" CACHE STRING
  "Where the screenshots of docs/screenshots are published")
# The desktop and AppStream id: the home page's domain reversed. It names the
# installed .desktop and metainfo files and must not change once published.
set(ISOLOOP_APP_ID "org.example.isoloop")
set(ISOLOOP_PRIVATE_DIR lib/isoloop)
set(ISOLOOP_ICON_SIZES 16 22 24 32 48 64 128 256)

# The icon at each hicolor size, drawn by the project's own art code.
add_executable(isoloop-icon tools/make_icon.cpp tools/args.cpp src/texture/art/icon.cpp)
target_link_libraries(isoloop-icon PRIVATE isoloop_art)
target_include_directories(isoloop-icon PRIVATE tools)
target_compile_definitions(isoloop-icon PRIVATE ISOLOOP_VERSION="${PROJECT_VERSION}")
set(icons)
foreach(size ${ISOLOOP_ICON_SIZES})
  set(png ${CMAKE_BINARY_DIR}/data/icons/${size}x${size}/apps/isoloop.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/data/icons/${size}x${size}/apps
    COMMAND isoloop-icon ${size} ${png}
    DEPENDS isoloop-icon VERBATIM)
  list(APPEND icons ${png})
endforeach()

# Man pages and the changelog compressed as distributions ship them.
set(compressed)
foreach(doc docs/man/isoloop.6 docs/man/isoloop-tool.1 data/changelog)
  get_filename_component(name ${doc} NAME)
  set(gz ${CMAKE_BINARY_DIR}/data/${name}.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/${doc} ${CMAKE_BINARY_DIR}/data/${name}
    COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/data/${name}
    DEPENDS ${CMAKE_SOURCE_DIR}/${doc} VERBATIM)
  list(APPEND compressed ${gz})
endforeach()
add_custom_target(isoloop_data ALL DEPENDS ${icons} ${compressed})

configure_file(data/isoloop.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/data/${ISOLOOP_APP_ID}.metainfo.xml @ONLY)
configure_file(data/isoloop.desktop ${CMAKE_BINARY_DIR}/data/${ISOLOOP_APP_ID}.desktop COPYONLY)

file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/data/bin)
foreach(program isoloop isoloop-tool)
  file(RELATIVE_PATH target /${CMAKE_INSTALL_BINDIR} /${ISOLOOP_PRIVATE_DIR}/${program})
  file(CREATE_LINK ${target} ${CMAKE_BINARY_DIR}/data/bin/${program} SYMBOLIC)
endforeach()

install(TARGETS isoloop isoloop-tool RUNTIME DESTINATION ${ISOLOOP_PRIVATE_DIR})
install(FILES ${CMAKE_BINARY_DIR}/julia.3ds DESTINATION ${ISOLOOP_PRIVATE_DIR})
install(FILES ${CMAKE_BINARY_DIR}/data/bin/isoloop ${CMAKE_BINARY_DIR}/data/bin/isoloop-tool
  DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_BINARY_DIR}/data/isoloop.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_BINARY_DIR}/data/isoloop-tool.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/data/${ISOLOOP_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/data/${ISOLOOP_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_BINARY_DIR}/data/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES data/copyright ${CMAKE_BINARY_DIR}/data/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
