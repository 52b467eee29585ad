// Frame blending: averages each group of consecutive frames into one and
// hands it on, so a show run at R passes a second films at R / group frames a
// second. The soundtrack passes through unchanged. Main thread.
#pragma once
#include "capture/capture_sink.h"
#include <cstdint>
#include <memory>

// A sink that blends every group frames (group >= 2) into one for next.
std::unique_ptr<FrameSink> blendFrames(std::unique_ptr<FrameSink> next, int64_t group);
