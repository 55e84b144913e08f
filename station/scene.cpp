#include "scene.h"

#include <cmath>
#include <cstdio>

#include "platform/platform.h"

namespace station {
namespace {

struct Glyph {
    char c;
    uint8_t rows[kGlyphH];  // 5 bits each, bit 4 = left column
};

const Glyph kGlyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}}, {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}}, {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
};

void Fill(std::vector<uint8_t>& rgb, int width, int height, int x0, int y0, int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    for (int y = y0 < 0 ? 0 : y0; y < y0 + h && y < height; ++y) {
        for (int x = x0 < 0 ? 0 : x0; x < x0 + w && x < width; ++x) {
            uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = r;
            p[1] = g;
            p[2] = b;
        }
    }
}

} // namespace

bool GlyphPixel(char c, int col, int row) {
    if (col < 0 || col >= kGlyphW || row < 0 || row >= kGlyphH) return false;
    for (const Glyph& g : kGlyphs) {
        if (g.c == c) return (g.rows[row] >> (kGlyphW - 1 - col)) & 1;
    }
    return false;
}

std::string Caption(int camera, int64_t epochMs) {
    platform::CalendarTime t = platform::LocalFromEpochMs(epochMs);
    char buf[64];
    std::snprintf(buf, sizeof buf, "CAM %d %04d-%02d-%02d %02d:%02d:%02d", camera, t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return buf;
}

void RenderScene(int camera, int64_t epochMs, int width, int height, std::vector<uint8_t>& rgb) {
    rgb.resize(static_cast<size_t>(width) * height * 3);
    // A vertical gradient in the camera's hue.
    const uint8_t hue[4][3] = {{40, 70, 120}, {60, 110, 60}, {120, 80, 40}, {90, 60, 110}};
    const uint8_t* base = hue[(camera - 1) & 3];
    for (int y = 0; y < height; ++y) {
        const int shade = 40 + 120 * y / height;
        uint8_t* row = &rgb[static_cast<size_t>(y) * width * 3];
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<uint8_t>(base[0] * shade / 160);
            row[3 * x + 1] = static_cast<uint8_t>(base[1] * shade / 160);
            row[3 * x + 2] = static_cast<uint8_t>(base[2] * shade / 160);
        }
    }
    // A machine part that moves across the picture once a minute, and a
    // bar that rises and falls.
    const double phase = static_cast<double>(epochMs % 60000) / 60000.0;
    const int boxW = width / 6, boxH = height / 4;
    const int bx = static_cast<int>(phase * (width + boxW)) - boxW;
    Fill(rgb, width, height, bx, height / 2, boxW, boxH, 230, 200, 40);
    const int bar = static_cast<int>((0.5 + 0.5 * std::sin(epochMs / 5000.0)) * (height / 2));
    Fill(rgb, width, height, width - width / 12 - 8, height - 8 - bar, width / 12, bar, 200, 60, 60);

    // The caption, white on black.
    const std::string text = Caption(camera, epochMs);
    const int cell = (kGlyphW + 1) * kTextScale;
    Fill(rgb, width, height, kTextX - 4, kTextY - 4, static_cast<int>(text.size()) * cell + 8, kGlyphH * kTextScale + 8,
         0, 0, 0);
    for (size_t i = 0; i < text.size(); ++i) {
        for (int row = 0; row < kGlyphH; ++row) {
            for (int col = 0; col < kGlyphW; ++col) {
                if (!GlyphPixel(text[i], col, row)) continue;
                Fill(rgb, width, height, kTextX + static_cast<int>(i) * cell + col * kTextScale, kTextY + row * kTextScale,
                     kTextScale, kTextScale, 255, 255, 255);
            }
        }
    }
}

} // namespace station
