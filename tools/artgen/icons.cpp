#include "icons.h"

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Letters for the 16 colours, in palette order: black, maroon, dark green,
// olive, navy, purple, teal, silver, grey, red, green, yellow, blue,
// magenta, cyan, white.
const char kColourLetters[] = "kmgonptsdRGYBMCw";

enum Colour : uint8_t {
  Black = 0, Maroon, DarkGreen, Olive, Navy, Purple, Teal, Silver,
  Grey, Red, Green, Yellow, Blue, Magenta, Cyan, White,
};

// An indexed canvas with the few drawing operations the box icon needs.
class Pixels {
 public:
  explicit Pixels(int size) { icon_.size = size; icon_.pixels.assign(size * size, kClear); }

  void Set(int x, int y, uint8_t colour) {
    if (x >= 0 && y >= 0 && x < icon_.size && y < icon_.size) icon_.pixels[y * icon_.size + x] = colour;
  }

  // Fills the pixels whose centres lie inside the polygon (even-odd rule).
  void Fill(std::vector<std::pair<double, double>> polygon, uint8_t colour) {
    for (int y = 0; y < icon_.size; ++y) {
      for (int x = 0; x < icon_.size; ++x) {
        double px = x + 0.5, py = y + 0.5;
        bool inside = false;
        for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
          auto [xi, yi] = polygon[i];
          auto [xj, yj] = polygon[j];
          if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) inside = !inside;
        }
        if (inside) Set(x, y, colour);
      }
    }
  }

  // A one-pixel line between pixel positions, ends included.
  void Line(int x0, int y0, int x1, int y1, uint8_t colour) {
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, error = dx + dy;
    for (;;) {
      Set(x0, y0, colour);
      if (x0 == x1 && y0 == y1) break;
      int twice = 2 * error;
      if (twice >= dy) { error += dy; x0 += sx; }
      if (twice <= dx) { error += dx; y0 += sy; }
    }
  }

  const IconImage& Icon() const { return icon_; }

 private:
  IconImage icon_;
};

// Transparent pixels that touch a drawn one become black: a crisp outline
// around everything, as small icons are drawn.
void Outline(IconImage& icon) {
  const int n = icon.size;
  std::vector<uint8_t> result = icon.pixels;
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      if (icon.pixels[y * n + x] != kClear) continue;
      for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        int nx = x + dx, ny = y + dy;
        if (nx >= 0 && ny >= 0 && nx < n && ny < n && icon.pixels[ny * n + nx] != kClear) {
          result[y * n + x] = Black;
        }
      }
    }
  }
  icon.pixels = result;
}

const char* const kFolderRows[] = {
    "................",
    "................",
    "..kkkkk.........",
    ".kwYYYYk........",
    "kwYYYYYYkkkkkk..",
    "kwwwwwwwwwwwwok.",
    "kwYYYYYYYYYYYok.",
    "kwYYYYYYYYYYYok.",
    "kwYYYYYYYYYYYok.",
    "kwYYYYYYYYYYYok.",
    "kwYYYYYYYYYYYok.",
    "kwYYYYYYYYYYYok.",
    "kwYYYYYYYYYYYok.",
    "koooooooooooook.",
    "kkkkkkkkkkkkkkk.",
    "................",
};

const char* const kUpRows[] = {
    "................",
    ".......kk.......",
    "......kCBk......",
    ".....kCBBnk.....",
    "....kCBBBBnk....",
    "...kCBBBBBBnk...",
    "..kCBBBBBBBBnk..",
    ".kCBBBBBBBBBBnk.",
    ".kkkkkCBBnkkkkk.",
    ".....kCBBnk.....",
    ".....kCBBnk.....",
    ".....kCBBnk.....",
    ".....kCBBnk.....",
    ".....kCBBnk.....",
    ".....kkkkkk.....",
    "................",
};

// Draws `layer` over `base`, leaving base where the layer is clear.
void Compose(IconImage& base, const IconImage& layer) {
  for (size_t i = 0; i < base.pixels.size(); ++i) {
    if (layer.pixels[i] != kClear) base.pixels[i] = layer.pixels[i];
  }
}

// Corner points of the open box, for the large and the small icon. The box
// is seen from the front and a little above; `depth` runs to the back right.
struct BoxShape {
  double left, right, top, bottom;  // the front face
  double depthX, depthY;            // from a front corner to its back corner
  double flap;                      // how far the flaps stand out
  std::vector<std::pair<double, double>> arrow;      // the whole arrow
  std::vector<std::pair<double, double>> arrowShade;  // its right half
  int starX, starY, starArm;
};

const BoxShape kLargeBox = {
    3, 23, 19, 31, 6, -6, 6,
    {{14, 0}, {19, 0}, {19, 8}, {23, 8}, {16.5, 16}, {10, 8}, {14, 8}},
    {{16.5, 0}, {19, 0}, {19, 8}, {23, 8}, {16.5, 16}},
    13, 25, 3,
};

const BoxShape kSmallBox = {
    1, 11, 9, 15, 4, -4, 2,
    {{7, 0}, {9, 0}, {9, 3}, {11, 3}, {8, 7}, {5, 3}, {7, 3}},
    {{8, 0}, {9, 0}, {9, 3}, {11, 3}, {8, 7}},
    6, 12, 1,
};

// The open box with the arrow going in: the back of the box, the arrow, then
// the front, each layer outlined on its own so that the shapes stay apart.
IconImage DrawBox(int size) {
  using P = std::pair<double, double>;
  const BoxShape& b = size == 16 ? kSmallBox : kLargeBox;
  const double dx = b.depthX, dy = b.depthY;
  const P frontLeft = {b.left, b.top}, frontRight = {b.right, b.top};
  const P backLeft = {b.left + dx, b.top + dy}, backRight = {b.right + dx, b.top + dy};

  Pixels back(size);
  back.Fill({backLeft, backRight, {backRight.first + 1, backRight.second - b.flap},
             {backLeft.first + 1, backLeft.second - b.flap}}, Teal);
  back.Fill({frontLeft, backLeft, backRight, frontRight}, Navy);
  back.Fill({{frontLeft.first + 2, frontLeft.second}, {backLeft.first + 1, backLeft.second + 2},
             {backRight.first - 2, backRight.second + 2}, frontRight}, Black);
  IconImage icon = back.Icon();
  Outline(icon);

  Pixels arrow(size);
  arrow.Fill(b.arrow, Green);
  arrow.Fill(b.arrowShade, DarkGreen);
  IconImage arrowIcon = arrow.Icon();
  Outline(arrowIcon);
  Compose(icon, arrowIcon);

  Pixels front(size);
  front.Fill({frontLeft, frontRight, {b.right, b.bottom}, {b.left, b.bottom}}, Blue);
  front.Fill({frontRight, backRight, {backRight.first, b.bottom + dy}, {b.right, b.bottom}}, Navy);
  front.Fill({frontLeft, backLeft, {backLeft.first - b.flap, backLeft.second - b.flap * 0.5},
              {b.left - b.flap, b.top - b.flap * 0.5}}, Cyan);
  // The product's star on the front.
  for (int i = -b.starArm; i <= b.starArm; ++i) {
    uint8_t tip = (i == -b.starArm || i == b.starArm) && b.starArm > 1 ? Cyan : White;
    front.Set(b.starX + i, b.starY, tip);
    front.Set(b.starX, b.starY + i, tip);
  }
  if (b.starArm > 1) {
    for (int x : {-1, 1}) {
      for (int y : {-1, 1}) front.Set(b.starX + x, b.starY + y, Cyan);
    }
  }
  IconImage frontIcon = front.Icon();
  // The edge between front and side.
  for (int y = int(b.top); y < int(b.bottom); ++y) frontIcon.pixels[y * size + int(b.right)] = Black;
  Outline(frontIcon);
  Compose(icon, frontIcon);
  return icon;
}

}  // namespace

IconImage IconFromRows(const char* const* rows, int size) {
  IconImage icon;
  icon.size = size;
  for (int y = 0; y < size; ++y) {
    if (std::strlen(rows[y]) != static_cast<size_t>(size)) {
      throw std::invalid_argument("icon row " + std::to_string(y) + " is not " + std::to_string(size) + " wide");
    }
    for (int x = 0; x < size; ++x) {
      char c = rows[y][x];
      if (c == '.') {
        icon.pixels.push_back(kClear);
        continue;
      }
      const char* letter = std::strchr(kColourLetters, c);
      if (!letter) throw std::invalid_argument(std::string("unknown icon colour letter ") + c);
      icon.pixels.push_back(static_cast<uint8_t>(letter - kColourLetters));
    }
  }
  return icon;
}

IconImage DrawSetupIcon(int size) { return DrawBox(size); }

IconImage DrawFolderIcon() { return IconFromRows(kFolderRows, 16); }

IconImage DrawUpIcon() { return IconFromRows(kUpRows, 16); }

// The folder that will be made: the same folder, in green.
IconImage DrawTargetIcon() {
  IconImage icon = DrawFolderIcon();
  for (uint8_t& pixel : icon.pixels) {
    if (pixel == Yellow) pixel = Green;
    else if (pixel == Olive) pixel = DarkGreen;
  }
  return icon;
}
