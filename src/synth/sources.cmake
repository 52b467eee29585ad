list(APPEND ISOLOOP_CORE_SOURCES
  src/synth/random.cpp
  src/synth/sample.cpp
  src/synth/events.cpp
  src/synth/ring.cpp
  src/synth/synth_driver.cpp)
list(APPEND ISOLOOP_EDGE_SOURCES
  src/synth/audio_device.cpp)
