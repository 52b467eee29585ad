// The eight inside tests of the demo's solids, written for the box -16..15 on
// each axis (grid units). Each returns exactly 1 inside and 0 outside; all
// arithmetic is in double. Pure functions.
#pragma once

// Quaternion Julia iteration behind isInsideFract: 1.0 if bounded, else 0.0.
double calc_l(double a, double b, double c, double d);

int isInsideTunnel(double x, double y, double z);
int isInsideMeta(double x, double y, double z);
int isInsideMountain(double x, double y, double z);
int isInsideFract(double x, double y, double z);
int isInsidePillar(double x, double y, double z);
int isInsidePyramid(double x, double y, double z);
int isInsideMeta2(double x, double y, double z);
int isInsideMeta3(double x, double y, double z);
