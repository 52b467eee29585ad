# isoloop-soak: the frame driver and the real synthesizer on a virtual clock
# for ten minutes from the start and across each wrap of a days-long run.
add_executable(isoloop-soak bench/soak.cpp)
target_include_directories(isoloop-soak PRIVATE tests/common)
target_link_libraries(isoloop-soak PRIVATE isoloop_core)
