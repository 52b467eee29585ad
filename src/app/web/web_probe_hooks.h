// What the browser tests and the frame-rate benchmark read of a running show
// through the exported isoweb_* functions: frames drawn, the sound device's
// pulls against the ring, the gaps between frames, demo time. Counting only;
// nothing here steers the show. Main thread (the browser's sound callback
// runs on it too).
#pragma once

// The device is about to pull `frames` frames from the ring.
void probeSoundPull(int frames);
// The frame driver is about to refill the ring (a show frame begins).
void probeRingRefill();
// A frame of the show is drawn.
void probeFrameDrawn();
// The tab is hidden (demo time stands still from `clockSeconds` on), or shown
// again (the time away is no gap between frames).
void probeHidden(double clockSeconds);
void probeShown();
