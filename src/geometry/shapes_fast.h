// Fast inside tests that give the same answer as the shapes in shapes.h for
// every argument, bit-identical arithmetic included: terms of one coordinate
// come from tables over the eighths the polygonizer uses, and blob centres
// or evaluation stages that cannot change the answer are skipped. The
// start-up build uses these; shapes.h stays the readable definition.
#pragma once

int fastInsideTunnel(double x, double y, double z);
int fastInsideMeta(double x, double y, double z);
int fastInsideMeta2(double x, double y, double z);
int fastInsideMeta3(double x, double y, double z);
int fastInsideMountain(double x, double y, double z);
int fastInsidePillar(double x, double y, double z);
