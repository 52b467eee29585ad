list(APPEND ISOLOOP_CORE_SOURCES
  src/synth/random.cpp
  src/synth/sample.cpp
  src/synth/events.cpp
  src/synth/ring.cpp
  src/synth/fast_trig.cpp
  src/synth/filter.cpp
  src/synth/delay_line.cpp
  src/synth/resonator.cpp
  src/synth/drum.cpp
  src/synth/burst.cpp
  src/synth/synth_driver.cpp)
list(APPEND ISOLOOP_EDGE_SOURCES
  src/synth/sdl/audio_device.cpp)
