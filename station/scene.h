// Synthetic camera pictures: a moving scene with the camera number and the
// local time burned in, so that a picture tells which instant it shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace station {

// Text box geometry, for tests that look at the burned-in text.
constexpr int kTextX = 8, kTextY = 8, kTextScale = 3, kGlyphW = 5, kGlyphH = 7;

// The burned-in caption: "CAM n YYYY-MM-DD HH:MM:SS".
std::string Caption(int camera, int64_t epochMs);

// Renders the picture (RGB, width x height x 3).
void RenderScene(int camera, int64_t epochMs, int width, int height, std::vector<uint8_t>& rgb);

// True when the glyph of c has its pixel (col, row) set.
bool GlyphPixel(char c, int col, int row);

} // namespace station
