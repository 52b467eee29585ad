// Correctly rounded sine, cosine and tangent, computed with IEEE + - * / only,
// so every machine (native, WebAssembly) gets the same bits. The C libraries
// disagree in the last bit for a few percent of arguments, which is enough to
// make the music and the meshes drift apart between builds. Pure functions,
// any thread.
#pragma once

double exactSin(double x);
double exactCos(double x);
double exactTan(double x);

// cos(x) rounded once, straight to float (not through double).
float exactCosf(float x);
