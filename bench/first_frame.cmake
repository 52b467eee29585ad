# isoloop-floor: the bare SDL + GL start-up (window, loading picture, one
# cleared frame) that first_frame.sh times the demo against.
add_executable(isoloop-floor bench/first_frame_floor.cpp)
target_link_libraries(isoloop-floor PRIVATE isoloop_edge)
add_dependencies(isoloop-floor isoloop_pack)
