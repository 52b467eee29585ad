// A point or direction of three doubles (grid units before any scaling), with
// the in-place operations the mesh code, the shape functions and the scenes
// use. Plain value type; no thread affinity.
#pragma once

class vector3 {
  public:
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    void set(double nx, double ny, double nz) {
        x = nx;
        y = ny;
        z = nz;
    }
    void set(vector3* p) { set(p->x, p->y, p->z); }
    void add(vector3* p) {
        x += p->x;
        y += p->y;
        z += p->z;
    }
    // Rescales to length L; a zero-length vector stays zero (no NaN).
    void length(double L);
    // Rescales to length 1; a zero-length vector stays zero (no NaN).
    void unit();
    // Sets itself to (b - a) x (c - b): the unnormalised normal of triangle
    // a, b, c, pointing to the side from which a, b, c run counter-clockwise.
    void cross(vector3* a, vector3* b, vector3* c);
};
