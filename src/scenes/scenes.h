// The six scenes and the table that picks one per frame.
#pragma once
#include "app/frame_driver.h"

// Draws the scene the plan names (nothing for SCENE_NONE).
void drawScene(const FramePlan& plan);
