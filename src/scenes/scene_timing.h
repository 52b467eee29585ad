// The scenes' time reductions, selectors and angles: plain arithmetic with the
// exact precision the pictures depend on. Times in seconds, angles in degrees.
// No GL; main thread.
#pragma once

// Scene 0's clock: t in milliseconds truncated toward zero, its low 16 bits,
// back in seconds. Runs 0 .. 65.535 and starts again.
double wrappedSceneTime(double t);

// Scene 3's strip clock: 8 taken off while t > 8; t <= 8 stays as it is.
double reduceTime8(double t);

// Scene 3's strip selector k = (int)(sin(3.72 t) sin(2.3 t) 19), -19..19.
int stripSelector(double t);

// Scene 5's step of the large quad: the integer part of t, low two bits.
int quarterStep(double t);

// Credit page 0..2 for counter n: two drum hits per page.
int creditsPage(int n);

// Angle of the jitter overlay: sinf of (float)(s * 37), times 180 in float.
float jitterAngle(double s);
