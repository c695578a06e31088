#include "lettering.h"

#include <algorithm>
#include <cmath>

namespace {

const double kXHeight = 0.70;
const double kShoulder = 0.23;  // radius of the r's shoulder
const double kPi = 3.14159265358979323846;

double Length(double x, double y) { return std::sqrt(x * x + y * y); }

// A straight stroke from a to b with flat ends.
double Bar(Point p, Point a, Point b, double half) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double length = Length(dx, dy);
  double ux = dx / length, uy = dy / length;
  double px = p.x - a.x, py = p.y - a.y;
  double along = std::fabs(px * ux + py * uy - length / 2) - length / 2;
  double across = std::fabs(-px * uy + py * ux) - half;
  double outside = Length(std::max(along, 0.0), std::max(across, 0.0));
  return outside + std::min(std::max(along, across), 0.0);
}

// Distance from p to the segment a-b (no width).
double Segment(Point p, Point a, Point b) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy);
  t = std::min(std::max(t, 0.0), 1.0);
  return Length(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// A circular stroke of the given centre-line radius, running counter-clockwise
// from angle `from` to angle `to` (degrees), with flat ends.
double Arc(Point p, Point c, double radius, double half, double from, double to) {
  double dx = p.x - c.x, dy = p.y - c.y;
  double ring = std::fabs(Length(dx, dy) - radius) - half;
  double angle = std::atan2(dy, dx) * 180 / kPi;
  double offset = std::fmod(angle - from + 720, 360);
  double span = std::fmod(to - from + 720, 360);
  if (span == 0) span = 360;
  if (offset <= span) return ring;
  double best = 1e9;
  for (double end : {from, to}) {
    double r = end * kPi / 180;
    Point inner = {c.x + (radius - half) * std::cos(r), c.y + (radius - half) * std::sin(r)};
    Point outer = {c.x + (radius + half) * std::cos(r), c.y + (radius + half) * std::sin(r)};
    best = std::min(best, Segment(p, inner, outer));
  }
  return best;
}

// Keeps a shape only inside the box [x0, x1] x [y0, y1].
double Clip(double d, Point p, double x0, double y0, double x1, double y1) {
  double box = std::max(std::max(x0 - p.x, p.x - x1), std::max(y0 - p.y, p.y - y1));
  return std::max(d, box);
}

}  // namespace

bool HasGlyph(char c) {
  switch (c) {
    case 'N': case 'o': case 'r': case 'v': case 'u':
    case 'S': case 'E': case 'T': case 'U': case 'P':
      return true;
    default:
      return false;
  }
}

double GlyphWidth(char c, double h) {
  switch (c) {
    case 'N': return 0.80;
    case 'o': return kXHeight + 0.04;
    case 'r': return 2 * h + kShoulder * 1.82;  // the stem to where the shoulder ends (35 degrees)
    case 'v': return 0.68;
    case 'u': return 0.64;
    case 'S': return 0.50 + h;
    case 'E': return 0.54;
    case 'T': return 0.62;
    case 'U': return 0.70;
    case 'P': return 0.58;
    default: return 0.30;
  }
}

double GlyphDistance(char c, Point p, double h) {
  const double w = GlyphWidth(c, h);
  const double X = kXHeight;
  switch (c) {
    case 'N': {
      double d = std::min(Bar(p, {h, 0}, {h, 1}, h), Bar(p, {w - h, 0}, {w - h, 1}, h));
      double diagonal = Clip(Bar(p, {h, 1.05}, {w - h, -0.05}, h * 1.1), p, 0, 0, w, 1);
      return std::min(d, diagonal);
    }
    case 'o': {
      // Round letters overshoot the x-height a little to look as tall as it.
      double r = (w - 2 * h) / 2;
      return Arc(p, {w / 2, X / 2}, r, h, 0, 360);
    }
    case 'r': {
      Point centre = {h + kShoulder, X - h - kShoulder};
      return std::min(Bar(p, {h, 0}, {h, X}, h), Arc(p, centre, kShoulder, h, 35, 180));
    }
    case 'v':
      return Clip(std::min(Bar(p, {h * 0.9, X + 0.2}, {w / 2, -0.02}, h),
                           Bar(p, {w - h * 0.9, X + 0.2}, {w / 2, -0.02}, h)),
                  p, 0, 0, w, X);
    case 'u': {
      double r = (w - 2 * h) / 2;
      Point centre = {w / 2, h + r};
      double d = std::min(Bar(p, {h, centre.y}, {h, X}, h), Bar(p, {w - h, 0}, {w - h, X}, h));
      return std::min(d, Arc(p, centre, r, h, 180, 360));
    }
    case 'S': {
      // Two stacked bowls sharing the middle stroke.
      double r = (0.5 - h) / 2;
      double d = Arc(p, {w / 2, 0.5 + r}, r, h, 25, 270);
      return std::min(d, Arc(p, {w / 2, 0.5 - r}, r, h, 205, 90));
    }
    case 'E': {
      double d = std::min(Bar(p, {h, 0}, {h, 1}, h), Bar(p, {0, 1 - h}, {w, 1 - h}, h));
      d = std::min(d, Bar(p, {0, 0.5}, {w - 0.06, 0.5}, h));
      return std::min(d, Bar(p, {0, h}, {w, h}, h));
    }
    case 'T':
      return std::min(Bar(p, {0, 1 - h}, {w, 1 - h}, h), Bar(p, {w / 2, 0}, {w / 2, 1}, h));
    case 'U': {
      double r = (w - 2 * h) / 2;
      Point centre = {w / 2, h + r};
      double d = std::min(Bar(p, {h, centre.y}, {h, 1}, h), Bar(p, {w - h, centre.y}, {w - h, 1}, h));
      return std::min(d, Arc(p, centre, r, h, 180, 360));
    }
    case 'P': {
      double middle = 0.42;
      double r = (1 - h - middle) / 2;
      double bowl = w - h - r;
      double d = std::min(Bar(p, {h, 0}, {h, 1}, h), Arc(p, {bowl, middle + r}, r, h, 270, 90));
      d = std::min(d, Bar(p, {0, 1 - h}, {bowl, 1 - h}, h));
      return std::min(d, Bar(p, {0, middle}, {bowl, middle}, h));
    }
    default:
      return 1e9;
  }
}

double TextDistance(const char* text, Point p, double weight, double spacing) {
  double best = 1e9, x = 0;
  for (const char* c = text; *c; ++c) {
    double width = GlyphWidth(*c, weight);
    // Only letters near p can be nearest; skip the rest cheaply.
    if (p.x > x - 1 && p.x < x + width + 1) {
      best = std::min(best, GlyphDistance(*c, {p.x - x, p.y}, weight));
    }
    x += width + spacing;
  }
  return best;
}

double TextWidth(const char* text, double weight, double spacing) {
  double x = 0;
  for (const char* c = text; *c; ++c) x += GlyphWidth(*c, weight) + (c[1] ? spacing : 0);
  return x;
}
