#include "side_panel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "lettering.h"

namespace {

struct Colour {
  double r, g, b;
};

Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Colour operator*(Colour a, double k) { return {a.r * k, a.g * k, a.b * k}; }
Colour Mix(Colour a, Colour b, double t) { return a * (1 - t) + b * t; }

double Clamp01(double v) { return std::min(std::max(v, 0.0), 1.0); }
double SmoothStep(double e0, double e1, double v) {
  double t = Clamp01((v - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

// Deterministic noise, independent of the platform's random generators.
uint32_t Hash(uint32_t n) {
  n ^= n >> 16;
  n *= 0x7FEB352Du;
  n ^= n >> 15;
  n *= 0x846CA68Bu;
  n ^= n >> 16;
  return n;
}

double HashUnit(uint32_t n) { return (Hash(n) & 0xFFFFFF) / double(0x1000000); }

// Smooth value noise along one axis, in 0..1.
double Noise(double x, uint32_t seed) {
  double cell = std::floor(x);
  double t = x - cell;
  t = t * t * (3 - 2 * t);
  uint32_t i = static_cast<uint32_t>(static_cast<int32_t>(cell)) * 2654435761u + seed * 40503u;
  return HashUnit(i) * (1 - t) + HashUnit(i + 2654435761u) * t;
}

// Noise with finer detail on top, for ridge lines.
double Fractal(double x, uint32_t seed, int octaves) {
  double sum = 0, amplitude = 0.5, total = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += Noise(x, seed + i) * amplitude;
    total += amplitude;
    x *= 2.03;
    amplitude *= 0.5;
  }
  return sum / total;
}

class Canvas {
 public:
  Canvas() : pixels_(kPanelWidth * kPanelHeight) {}
  Colour& At(int x, int y) { return pixels_[y * kPanelWidth + x]; }

  RgbImage ToImage() const {
    RgbImage image;
    image.width = kPanelWidth;
    image.height = kPanelHeight;
    image.rgb.reserve(pixels_.size() * 3);
    for (size_t i = 0; i < pixels_.size(); ++i) {
      // A little ordered noise keeps the long gradients from banding.
      double dither = HashUnit(static_cast<uint32_t>(i) + 977u) - 0.5;
      for (double channel : {pixels_[i].r, pixels_[i].g, pixels_[i].b}) {
        image.rgb.push_back(static_cast<uint8_t>(Clamp01(channel) * 255 + 0.5 + dither * 0.9));
      }
    }
    return image;
  }

 private:
  std::vector<Colour> pixels_;
};

Colour Rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

// Where the lower edge of the main aurora curtain runs: low on the left,
// rising towards the top right so that it shows above the agreement text.
double CurtainEdge(double x) {
  return 236 - 0.26 * x + 22 * std::sin(x * 0.013 + 0.7) + 9 * std::sin(x * 0.041 + 2.1);
}

void PaintSky(Canvas& canvas) {
  const Colour top = Rgb(3, 6, 26), middle = Rgb(8, 22, 72), horizon = Rgb(24, 62, 128);
  for (int y = 0; y < kPanelHeight; ++y) {
    double t = y / double(kPanelHeight - 1);
    Colour base = t < 0.55 ? Mix(top, middle, SmoothStep(0, 0.55, t))
                           : Mix(middle, horizon, SmoothStep(0.55, 0.85, t));
    for (int x = 0; x < kPanelWidth; ++x) {
      // A faint glow of the aurora across the middle of the sky.
      double dx = (x - 330) / 300.0, dy = (y - 150) / 150.0;
      double glow = std::exp(-(dx * dx + dy * dy)) * 0.10;
      canvas.At(x, y) = base + Rgb(20, 90, 90) * glow;
    }
  }
}

void PaintStars(Canvas& canvas) {
  for (uint32_t i = 0; i < 260; ++i) {
    double sx = HashUnit(i * 3 + 1) * kPanelWidth;
    double sy = HashUnit(i * 3 + 2) * 300;
    double brightness = std::pow(HashUnit(i * 3 + 3), 3.0);
    double size = 0.45 + brightness * 0.9;
    Colour tint = Mix(Rgb(190, 210, 255), Rgb(255, 244, 220), HashUnit(i * 7 + 5));
    for (int y = std::max(0, int(sy) - 3); y <= std::min(kPanelHeight - 1, int(sy) + 3); ++y) {
      for (int x = std::max(0, int(sx) - 3); x <= std::min(kPanelWidth - 1, int(sx) + 3); ++x) {
        double d2 = (x + 0.5 - sx) * (x + 0.5 - sx) + (y + 0.5 - sy) * (y + 0.5 - sy);
        double light = std::exp(-d2 / (size * size)) * (0.25 + 0.75 * brightness);
        canvas.At(x, y) = canvas.At(x, y) + tint * light;
      }
    }
  }
}

// One curtain of light: bright at its lower edge, fading upwards in rays.
void PaintCurtain(Canvas& canvas, double lift, double height, double strength, uint32_t seed) {
  const Colour green = Rgb(60, 255, 150), teal = Rgb(40, 190, 230), violet = Rgb(150, 70, 220);
  for (int x = 0; x < kPanelWidth; ++x) {
    double edge = CurtainEdge(x) - lift;
    double rays = 0.35 + 0.65 * std::pow(Noise(x * 0.09, seed), 1.5);
    double folds = 0.55 + 0.45 * Noise(x * 0.012, seed + 7);
    double top = height * (0.75 + 0.5 * Noise(x * 0.02, seed + 11));
    for (int y = 0; y < kPanelHeight; ++y) {
      double above = edge - y;  // pixels above the lower edge
      if (above < -12 || above > top * 1.6) continue;
      double t = above / top;
      double rise = above < 0 ? std::exp(-(above * above) / 18.0) : std::exp(-2.6 * t);
      double light = rise * rays * folds * strength;
      Colour colour = t < 0.35 ? Mix(green, teal, SmoothStep(0, 0.35, t))
                               : Mix(teal, violet, SmoothStep(0.35, 1.0, t));
      canvas.At(x, y) = canvas.At(x, y) + colour * light;
    }
  }
}

// A range of mountains: a few peaks with straight flanks, roughened by
// noise; a lighter rim where the sky lights the crest, darker towards the foot.
double Ridge(double x, double base, double height, uint32_t seed) {
  double top = base;
  for (uint32_t i = 0; i < 7; ++i) {
    double centre = -40 + HashUnit(seed * 31 + i) * (kPanelWidth + 80);
    double peak = height * (0.45 + 0.55 * HashUnit(seed * 31 + i + 100));
    double slope = 0.35 + 0.45 * HashUnit(seed * 31 + i + 200);
    top = std::min(top, base - peak + slope * std::fabs(x - centre));
  }
  return top + (Fractal(x * 0.05, seed, 4) - 0.5) * height * 0.22;
}

void PaintRange(Canvas& canvas, double base, double height, uint32_t seed, Colour crest, Colour foot,
                Colour rim) {
  for (int x = 0; x < kPanelWidth; ++x) {
    double ridge = Ridge(x, base, height, seed);
    for (int y = 0; y < kPanelHeight; ++y) {
      double depth = y - ridge;
      if (depth < -1) continue;
      double cover = Clamp01(depth + 1);  // soft one-pixel edge
      double t = Clamp01(depth / (kPanelHeight - ridge));
      Colour land = Mix(crest, foot, SmoothStep(0, 1, t));
      land = land + rim * std::exp(-std::max(depth, 0.0) / 2.0);
      canvas.At(x, y) = Mix(canvas.At(x, y), land, cover);
    }
  }
}

// Mist lying in the valley between the two ranges.
void PaintMist(Canvas& canvas, double level) {
  for (int y = 0; y < kPanelHeight; ++y) {
    double band = std::exp(-((y - level) * (y - level)) / 300.0) * 0.18;
    for (int x = 0; x < kPanelWidth; ++x) {
      double drift = 0.6 + 0.4 * Noise(x * 0.02, 91);
      canvas.At(x, y) = Mix(canvas.At(x, y), Rgb(70, 110, 170), band * drift);
    }
  }
}

// The north star in the top-left corner, the product's mark.
void PaintMark(Canvas& canvas, double cx, double cy) {
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 44; ++x) {
      double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      double ax = std::fabs(dx), ay = std::fabs(dy);
      // Four long points and four short diagonal ones.
      double straight = std::max(Clamp01(1 - ax / 1.6 - ay / 14.0), Clamp01(1 - ay / 1.6 - ax / 14.0));
      double u = std::fabs(dx + dy) / 1.4142, v = std::fabs(dx - dy) / 1.4142;
      double diagonal = std::max(Clamp01(1 - u / 1.1 - v / 6.5), Clamp01(1 - v / 1.1 - u / 6.5));
      double core = std::exp(-(dx * dx + dy * dy) / 5.0);
      double halo = std::exp(-(dx * dx + dy * dy) / 90.0) * 0.35;
      double light = std::min(1.0, 2.2 * straight + 1.6 * diagonal + core);
      Colour& pixel = canvas.At(x, y);
      pixel = Mix(pixel, Rgb(236, 250, 255), light) + Rgb(60, 200, 200) * halo;
    }
  }
}

// Text in the top band, with a soft shadow below it and a light glow.
void PaintText(Canvas& canvas, const char* text, double left, double baseline, double capHeight,
               double weight, double spacing, Colour upper, Colour lower, double glow) {
  // Wide enough a margin for the glow to have faded out at its border.
  int x0 = std::max(0, int(left) - 16);
  int x1 = std::min(kPanelWidth, int(left + TextWidth(text, weight, spacing) * capHeight) + 16);
  int y0 = std::max(0, int(baseline - capHeight) - 16);
  int y1 = std::min(kPanelHeight, int(baseline) + 16);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      auto distance = [&](double ox, double oy) {
        Point p = {(x + 0.5 - left - ox) / capHeight, (baseline - (y + 0.5) + oy) / capHeight};
        return TextDistance(text, p, weight, spacing) * capHeight;  // in pixels
      };
      Colour& pixel = canvas.At(x, y);
      double shadow = Clamp01(0.5 - (distance(1.2, 1.6) - 0.6) / 2.0) * 0.65;
      pixel = pixel * (1 - shadow);
      double d = distance(0, 0);
      if (glow > 0) pixel = pixel + Rgb(60, 210, 200) * (glow * std::exp(-std::max(d, 0.0) / 2.5));
      double t = Clamp01((baseline - (y + 0.5)) / capHeight);
      pixel = Mix(pixel, Mix(lower, upper, t), Clamp01(0.5 - d));
    }
  }
}

// A thin rule under the top band, brightest near the name and fading out.
void PaintRule(Canvas& canvas, int y, double from, double to) {
  for (int x = int(from); x < int(to); ++x) {
    double t = (x - from) / (to - from);
    double light = std::pow(1 - t, 1.4) * SmoothStep(0, 0.03, t) * 0.8;
    canvas.At(x, y) = Mix(canvas.At(x, y), Rgb(90, 230, 190), light);
    canvas.At(x, y + 1) = Mix(canvas.At(x, y + 1), Rgb(20, 60, 80), light * 0.6);
  }
}

}  // namespace

RgbImage DrawSidePanel() {
  Canvas canvas;
  PaintSky(canvas);
  PaintStars(canvas);
  PaintCurtain(canvas, 70, 70, 0.22, 5);   // a fainter curtain further away
  PaintCurtain(canvas, 0, 130, 0.85, 1);
  PaintRange(canvas, 330, 80, 3, Rgb(20, 40, 96), Rgb(14, 30, 80), Rgb(50, 130, 140) * 0.35);
  PaintMist(canvas, 328);
  PaintRange(canvas, 372, 60, 17, Rgb(8, 17, 60), Rgb(3, 8, 40), Rgb(30, 90, 110) * 0.25);
  PaintMark(canvas, 21, 17);
  PaintText(canvas, "Norvu", 42, 28, 22, 0.085, 0.07, Rgb(255, 255, 255), Rgb(176, 226, 255), 0.35);
  PaintText(canvas, "SETUP", 134, 28, 8.5, 0.10, 0.30, Rgb(120, 240, 190), Rgb(90, 210, 200), 0);
  PaintRule(canvas, 31, 42, 470);
  return canvas.ToImage();
}
