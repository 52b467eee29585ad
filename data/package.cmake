# The Debian package: cpack -G DEB in the build directory. Its library
# dependencies are worked out when cpack runs (package_deps.cmake.in).
set(ISOLOOP_MAINTAINER "isoloop maintainers <maintainers@isoloop.example.org>" CACHE STRING
  "Package maintainer")
set(CPACK_PACKAGE_NAME isoloop)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ISOLOOP_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "self-running real-time audiovisual demo")
set(CPACK_PACKAGE_DESCRIPTION "isoloop builds eight implicit-surface solids and eighteen
textures at start-up, then plays six 3-D scenes forever to music that a
generative software synthesizer composes while it runs. Drum hits advance
the scenes; noise bursts flash and shake the pictures.
.
isoloop-tool renders the music, single frames, the meshes and the
textures offline.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${ISOLOOP_HOMEPAGE}")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# isoloop-tool capture encodes its videos with it.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS ffmpeg)
configure_file(data/package_deps.cmake.in ${CMAKE_BINARY_DIR}/package_deps.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/package_deps.cmake)
set(CPACK_GENERATOR DEB)
include(CPack)
