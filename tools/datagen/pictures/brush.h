// Painting tools shared by every painter: shapes, shading lit from the top left, outlines, lines
// and a fixed-seed hash for placing texture clusters.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

#include "image.h"
#include "palette.h"

namespace pictures {

// A shape answers whether a point lies inside; painters sample pixel centres (x + 0.5, y + 0.5).
using Shape = std::function<bool(double x, double y)>;

Shape Ellipse(double cx, double cy, double rx, double ry);
Shape Box(double x0, double y0, double x1, double y1);  // [x0, x1) × [y0, y1)
Shape Polygon(std::vector<std::pair<double, double>> points);
Shape Union(Shape a, Shape b);
Shape Minus(Shape a, Shape b);
Shape Intersect(Shape a, Shape b);

void FillShape(Image& img, const Shape& s, std::uint8_t c);

// A rounded body: every pixel of `s` gets the ramp shade that an ellipsoid centred at (cx, cy) with
// radii rx, ry would show under a light from the top left. Shades run from lo to hi.
void ShadeBall(Image& img, const Shape& s, double cx, double cy, double rx, double ry, Ramp ramp, int lo,
               int hi);

// A flat face: shade `base`, one lighter on its top and left rim, one darker on its bottom and right.
void ShadeFlat(Image& img, const Shape& s, Ramp ramp, int base);

// Key pixels touching a painted pixel become that pixel's outline colour (a 1-pixel dark outline).
void OutlineSprite(Image& img);

void Line(Image& img, int x0, int y0, int x1, int y1, std::uint8_t c);
// Shades the pixel one step lighter (positive) or darker (negative) within its own ramp.
void Nudge(Image& img, int x, int y, int steps);

// Fixed-seed hash of a position: the same picture every run.
std::uint32_t Hash(int x, int y, int seed);

}  // namespace pictures
