// The frame driver's SDL side: one frame at the SDL clock's demo time with
// the device's play position, then the buffer swap. Main thread.
#pragma once

void luz();
