// The frame driver's scene table: the plan's scene drawn with the arguments
// that scene takes. Main thread, GL context current.
#pragma once
#include "scenes/scene_slots.h"

// Draws the scene the plan names (nothing for SCENE_NONE).
void drawScene(const FramePlan& plan);
