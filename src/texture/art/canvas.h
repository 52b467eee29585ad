// Drawing surfaces for the default artwork: coverage masks (0..1 per pixel)
// and a canvas of four float channels (0..1) that a mask paints a colour into.
// All four channels, alpha included, blend by coverage: alpha here is the
// texture's alpha, a channel like the others. Tool side only.
#pragma once
#include "texture/art/rgba_image.h"
#include <functional>
#include <vector>

struct Rgba {
    float r, g, b, a;
};

// A colour from 0..255 channel values.
Rgba rgba255(int r, int g, int b, int a = 255);

struct Mask {
    int width, height;
    std::vector<float> v;
    Mask(int w, int h) : width(w), height(h), v((size_t)w * h, 0.0f) {}
    float& at(int x, int y) { return v[(size_t)y * width + x]; }
    float at(int x, int y) const { return v[(size_t)y * width + x]; }
};

// Shapes, each added to a mask with antialiased edges (coverage adds, capped at 1).
void addDisc(Mask& m, double cx, double cy, double radius);
void addRing(Mask& m, double cx, double cy, double inner, double outer);
void addRect(Mask& m, double x0, double y0, double x1, double y1);
void addPolygon(Mask& m, const std::vector<double>& xy); // convex, x0 y0 x1 y1 ...
void subtract(Mask& m, const Mask& cut);                 // m = m * (1 - cut)
Mask blurred(const Mask& m, int radius);                 // three box passes

class Canvas {
  public:
    Canvas(int w, int h, Rgba fill);
    int width() const { return w_; }
    int height() const { return h_; }
    Rgba& at(int x, int y) { return px_[(size_t)y * w_ + x]; }
    const Rgba& at(int x, int y) const { return px_[(size_t)y * w_ + x]; }

    void paint(const Mask& m, Rgba colour, float opacity = 1.0f);
    void paint(const Mask& m, const std::function<Rgba(int x, int y)>& colour,
               float opacity = 1.0f);
    void shade(const std::function<Rgba(int x, int y)>& colour); // every pixel

  private:
    int w_, h_;
    std::vector<Rgba> px_;
};
