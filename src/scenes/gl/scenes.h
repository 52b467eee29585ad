// The six scenes, one unit each. Each draws a whole frame into the back
// buffer from the demo time (seconds), the drum-hit counter n and the pulses;
// none keeps state, each relies on the GL state start-up and the previous
// frame left. Main thread, GL context current.
#pragma once

void scene1(double t, int n, float funk);                                  // the tunnel
void scene_credits(double t, int n, float flexer, float funk);             // three pages
void scene0(double t, int n);                                              // forest, mountain
void scene3(double t, int n, float funk, float offsetaapje, float flexer); // fractal body
void scene4(double t, int n, float flexer);                                // sea-green world
void scene5(double t, int n, float funk, float flexer);                    // pillars, pyramid
