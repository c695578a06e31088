// Geometric lettering for the side panel, drawn from strokes rather than a
// font file so that the picture needs nothing but this tool. A glyph is a
// signed distance field: negative inside the letter, positive outside, in
// units of the cap height with y growing upwards from the baseline.
#pragma once

struct Point {
  double x, y;
};

// The letters the panel writes: N o r v u, and capitals S E T U P.
// Other characters are blank.
bool HasGlyph(char c);

// Distance from p to the glyph's outline; weight is half the stroke width.
double GlyphDistance(char c, Point p, double weight);

// Horizontal room the glyph takes, without spacing.
double GlyphWidth(char c, double weight);

// Distance from p to a text set on the baseline from x = 0, letters
// `spacing` apart (all in cap-height units).
double TextDistance(const char* text, Point p, double weight, double spacing);

// Width of that text.
double TextWidth(const char* text, double weight, double spacing);
