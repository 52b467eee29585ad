// One frame of the main loop without the buffer swap: the frame driver's plan,
// the current colour and the scene. The demo's luz and the offline capture
// both draw through it. Main thread, GL context current.
#pragma once
#include "app/frame_driver.h"
#include <cstdint>

FramePlan drawFrame(double t, uint64_t readPos);
