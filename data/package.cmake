# The Debian package: cpack -G DEB in the build directory. Library
# dependencies come from dpkg-shlibdeps; SDL 1.2 may be the classic library
# or sdl12-compat, which Debian ships under another package name with the
# same libSDL-1.2.so.0.
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
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps names the classic library; sdl12-compat satisfies it too.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl1.2debian (>= 1.2.15) | libsdl1.2-compat")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_GENERATOR DEB)
include(CPack)
