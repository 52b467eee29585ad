// Masks with analytic antialiasing (signed distance, one pixel of ramp) and
// the canvas that mixes colours by coverage.
#include "texture/art/canvas.h"

#include <algorithm>
#include <cmath>

Rgba rgba255(int r, int g, int b, int a) {
    return Rgba{r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f};
}

namespace {

float clamp01(double v) {
    return (float)std::min(1.0, std::max(0.0, v));
}

// Coverage of a pixel whose centre lies at signed distance d inside an edge.
float ramp(double d) {
    return clamp01(d + 0.5);
}

template <class Cover> void addShape(Mask& m, Cover cover) {
    for (int y = 0; y < m.height; y++)
        for (int x = 0; x < m.width; x++) {
            float c = cover(x + 0.5, y + 0.5);
            if (c > 0) m.at(x, y) = std::min(1.0f, m.at(x, y) + c);
        }
}

void boxPass(std::vector<float>& v, int w, int h, int r, bool horizontal) {
    std::vector<float> out(v.size());
    int n = horizontal ? w : h, lines = horizontal ? h : w;
    for (int l = 0; l < lines; l++) {
        auto idx = [&](int k) { return horizontal ? (size_t)l * w + k : (size_t)k * w + l; };
        double sum = 0;
        for (int k = -r; k <= r; k++)
            sum += (k >= 0 && k < n) ? v[idx(k)] : 0.0;
        for (int k = 0; k < n; k++) {
            out[idx(k)] = (float)(sum / (2 * r + 1));
            int add = k + r + 1, drop = k - r;
            if (add < n) sum += v[idx(add)];
            if (drop >= 0) sum -= v[idx(drop)];
        }
    }
    v.swap(out);
}

} // namespace

void addDisc(Mask& m, double cx, double cy, double radius) {
    addShape(m, [&](double x, double y) { return ramp(radius - std::hypot(x - cx, y - cy)); });
}

void addRing(Mask& m, double cx, double cy, double inner, double outer) {
    addShape(m, [&](double x, double y) {
        double d = std::hypot(x - cx, y - cy);
        return std::min(ramp(outer - d), ramp(d - inner));
    });
}

void addRect(Mask& m, double x0, double y0, double x1, double y1) {
    addShape(m, [&](double x, double y) {
        return std::min(std::min(ramp(x - x0), ramp(x1 - x)), std::min(ramp(y - y0), ramp(y1 - y)));
    });
}

void addPolygon(Mask& m, const std::vector<double>& xy) {
    size_t n = xy.size() / 2;
    double area = 0; // orientation, so "inside" works for either winding
    for (size_t i = 0; i < n; i++) {
        size_t j = (i + 1) % n;
        area += xy[2 * i] * xy[2 * j + 1] - xy[2 * j] * xy[2 * i + 1];
    }
    double sign = area > 0 ? 1 : -1;
    addShape(m, [&](double x, double y) {
        double inside = 1e9;
        for (size_t i = 0; i < n; i++) {
            size_t j = (i + 1) % n;
            double ex = xy[2 * j] - xy[2 * i], ey = xy[2 * j + 1] - xy[2 * i + 1];
            double len = std::hypot(ex, ey);
            double d = sign * (ex * (y - xy[2 * i + 1]) - ey * (x - xy[2 * i])) / len;
            inside = std::min(inside, d);
        }
        return ramp(inside);
    });
}

void subtract(Mask& m, const Mask& cut) {
    for (size_t i = 0; i < m.v.size(); i++)
        m.v[i] *= 1.0f - cut.v[i];
}

Mask blurred(const Mask& m, int radius) {
    Mask out = m;
    for (int pass = 0; pass < 3; pass++) {
        boxPass(out.v, out.width, out.height, radius, true);
        boxPass(out.v, out.width, out.height, radius, false);
    }
    return out;
}

Canvas::Canvas(int w, int h, Rgba fill) : w_(w), h_(h), px_((size_t)w * h, fill) {}

void Canvas::paint(const Mask& m, Rgba c, float opacity) {
    auto flat = [c](int, int) { return c; };
    paint(m, flat, opacity);
}

void Canvas::paint(const Mask& m, const std::function<Rgba(int, int)>& colour, float opacity) {
    for (int y = 0; y < h_; y++)
        for (int x = 0; x < w_; x++) {
            float k = m.at(x, y) * opacity;
            if (k <= 0) continue;
            Rgba c = colour(x, y);
            Rgba& p = at(x, y);
            p.r += (c.r - p.r) * k;
            p.g += (c.g - p.g) * k;
            p.b += (c.b - p.b) * k;
            p.a += (c.a - p.a) * k;
        }
}

void Canvas::shade(const std::function<Rgba(int, int)>& colour) {
    for (int y = 0; y < h_; y++)
        for (int x = 0; x < w_; x++)
            at(x, y) = colour(x, y);
}
