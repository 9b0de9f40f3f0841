// Sampling by halving: a piece of curve lies within the hull of its four
// control points, so when both inner control points are within tolerance
// of the chord, so is the whole piece; otherwise it is split in two.
#include "convert/curve_sampling.h"

#include <cmath>

enum { MAX_HALVINGS = 12 };  // 2^12 = CUBIC_MAX_CHORDS

double DistanceToSegment(DrawingPoint p, DrawingPoint a, DrawingPoint b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

static DrawingPoint Middle(DrawingPoint a, DrawingPoint b) {
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

static int Sample(DrawingPoint p0, DrawingPoint c1, DrawingPoint c2, DrawingPoint p3,
                  double tolerance, int halvings, DrawingPoint* out) {
    if (halvings == MAX_HALVINGS || (DistanceToSegment(c1, p0, p3) <= tolerance &&
                                     DistanceToSegment(c2, p0, p3) <= tolerance)) {
        *out = p3;
        return 1;
    }
    // de Casteljau at the middle.
    const DrawingPoint a = Middle(p0, c1), b = Middle(c1, c2), c = Middle(c2, p3);
    const DrawingPoint ab = Middle(a, b), bc = Middle(b, c), m = Middle(ab, bc);
    const int first = Sample(p0, a, ab, m, tolerance, halvings + 1, out);
    return first + Sample(m, bc, c, p3, tolerance, halvings + 1, out + first);
}

int SampleCubic(DrawingPoint p0, DrawingPoint c1, DrawingPoint c2, DrawingPoint p3,
                double tolerance, DrawingPoint* out) {
    return Sample(p0, c1, c2, p3, tolerance, 0, out);
}

void ExtendByPoint(DrawingPoint p, DrawingPoint* low, DrawingPoint* high) {
    if (p.x < low->x) low->x = p.x;
    if (p.y < low->y) low->y = p.y;
    if (p.x > high->x) high->x = p.x;
    if (p.y > high->y) high->y = p.y;
}

static double CubicAt(double p0, double c1, double c2, double p3, double t) {
    const double u = 1 - t;
    return u * u * u * p0 + 3 * u * u * t * c1 + 3 * u * t * t * c2 + t * t * t * p3;
}

// The parameters in (0, 1) where one coordinate of the curve turns: the
// roots of its derivative, a quadratic.
static int Turns(double p0, double c1, double c2, double p3, double t[2]) {
    const double a = -p0 + 3 * c1 - 3 * c2 + p3, b = 2 * (p0 - 2 * c1 + c2), c = c1 - p0;
    double roots[2];
    int n = 0;
    if (std::fabs(a) < 1e-12) {
        if (std::fabs(b) > 1e-12) roots[n++] = -c / b;
    } else {
        const double d = b * b - 4 * a * c;
        if (d >= 0) {
            roots[n++] = (-b + std::sqrt(d)) / (2 * a);
            roots[n++] = (-b - std::sqrt(d)) / (2 * a);
        }
    }
    int kept = 0;
    for (int i = 0; i < n; ++i)
        if (roots[i] > 0 && roots[i] < 1) t[kept++] = roots[i];
    return kept;
}

void ExtendByCubic(DrawingPoint p0, DrawingPoint c1, DrawingPoint c2, DrawingPoint p3,
                   DrawingPoint* low, DrawingPoint* high) {
    ExtendByPoint(p0, low, high);
    ExtendByPoint(p3, low, high);
    double t[4];
    int n = Turns(p0.x, c1.x, c2.x, p3.x, t);
    n += Turns(p0.y, c1.y, c2.y, p3.y, t + n);
    for (int i = 0; i < n; ++i)
        ExtendByPoint(
            {CubicAt(p0.x, c1.x, c2.x, p3.x, t[i]), CubicAt(p0.y, c1.y, c2.y, p3.y, t[i])}, low,
            high);
}
