// One frame of the main loop without the buffer swap: the frame driver's plan,
// the current colour and the scene. The demo's luz, the capture, the frame
// tool and the benchmarks all draw through it. Main thread, GL context current.
#pragma once
#include "app/frame_driver.h"
#include <cstdint>

// Plans the frame at demo time t with the device at readPos, then draws it.
FramePlan drawFrame(double t, uint64_t readPos);

// Draws a planned frame: its current colour, then its scene.
void drawPlan(const FramePlan& plan);
