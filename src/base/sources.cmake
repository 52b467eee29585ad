list(APPEND ISOLOOP_CORE_SOURCES
  src/base/console.cpp
  src/base/working_dir.cpp)
list(APPEND ISOLOOP_CORE_SOURCES src/base/exact_trig.cpp)
