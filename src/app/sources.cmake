list(APPEND ISOLOOP_CORE_SOURCES
  src/app/warm_heap.cpp
  src/app/startup_work.cpp
  src/app/frame_driver.cpp
  src/app/demo_clock.cpp)
list(APPEND ISOLOOP_EDGE_SOURCES
  src/app/startup.cpp
  src/app/gl_setup.cpp
  src/app/luz.cpp
  src/app/loading_picture.cpp)
