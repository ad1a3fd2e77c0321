#include "ui/colour.h"

#include "settings/settings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zarv::ui {

namespace {
constexpr float kHlsMax = 240;
constexpr float kRgbMax = 255;
float Whole(float v) { return std::nearbyint(v); }
int Component(float v) { return std::clamp(static_cast<int>(std::nearbyint(v)), 0, 255); }
} // namespace

int GetRValue(Colour c) { return static_cast<int>(c & 0xFF); }

// Green and blue are read from the colour written as six hexadecimal digits
// (blue, green, red), as the table has always done.
int GetGValue(Colour c) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%06X", c & 0xFFFFFF);
    const char digits[3] = {hex[2], hex[3], 0};
    return static_cast<int>(std::strtol(digits, nullptr, 16));
}

int GetBValue(Colour c) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%06X", c & 0xFFFFFF);
    const char digits[3] = {hex[0], hex[1], 0};
    return static_cast<int>(std::strtol(digits, nullptr, 16));
}

Colour RGB(int r, int g, int b) { return settings::Rgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255)); }

QColor ToQColor(Colour c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
Colour FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

Hls RGBToHLS(Colour c) {
    const float r = static_cast<float>(GetRValue(c)), g = static_cast<float>(GetGValue(c)),
                b = static_cast<float>(GetBValue(c));
    const float cMax = std::max({r, g, b}), cMin = std::min({r, g, b});
    Hls out;
    out.L = Whole(((cMax + cMin) * kHlsMax + kRgbMax) / (2 * kRgbMax));
    if (cMax == cMin) {
        out.S = 0;
        out.H = kHlsMax * 2 / 3;
        return out;
    }
    if (out.L <= kHlsMax / 2)
        out.S = Whole(((cMax - cMin) * kHlsMax + (cMax + cMin) / 2) / (cMax + cMin));
    else
        out.S = Whole(((cMax - cMin) * kHlsMax + (2 * kRgbMax - cMax - cMin) / 2) / (2 * kRgbMax - cMax - cMin));
    const float spread = cMax - cMin;
    const float rd = ((cMax - r) * (kHlsMax / 6) + spread / 2) / spread;
    const float gd = ((cMax - g) * (kHlsMax / 6) + spread / 2) / spread;
    const float bd = ((cMax - b) * (kHlsMax / 6) + spread / 2) / spread;
    float h;
    if (r == cMax)
        h = bd - gd;
    else if (g == cMax)
        h = kHlsMax / 3 + rd - bd;
    else
        h = 2 * kHlsMax / 3 + gd - rd;
    if (h < 0) h += kHlsMax;
    if (h > kHlsMax) h -= kHlsMax;
    out.H = Whole(h);
    return out;
}

float HueToRGB(float m1, float m2, float hue) {
    if (hue < 0) hue += kHlsMax;
    if (hue > kHlsMax) hue -= kHlsMax;
    if (hue < kHlsMax / 6) return m1 + ((m2 - m1) * hue + kHlsMax / 12) / (kHlsMax / 6);
    if (hue < kHlsMax / 2) return m2;
    if (hue < kHlsMax * 2 / 3) return m1 + ((m2 - m1) * (kHlsMax * 2 / 3 - hue) + kHlsMax / 12) / (kHlsMax / 6);
    return m1;
}

Colour HLStoRGB(float hue, float lum, float sat) {
    if (sat == 0) {
        const int v = Component(lum * kRgbMax / kHlsMax);
        return RGB(v, v, v);
    }
    const float m2 = lum <= kHlsMax / 2 ? (lum * (kHlsMax + sat) + kHlsMax / 2) / kHlsMax
                                         : lum + sat - (lum * sat + kHlsMax / 2) / kHlsMax;
    const float m1 = 2 * lum - m2;
    const float r = (HueToRGB(m1, m2, hue + kHlsMax / 3) * kRgbMax + kHlsMax / 2) / kHlsMax;
    const float g = (HueToRGB(m1, m2, hue) * kRgbMax + kHlsMax / 2) / kHlsMax;
    const float b = (HueToRGB(m1, m2, hue - kHlsMax / 3) * kRgbMax + kHlsMax / 2) / kHlsMax;
    return RGB(Component(r), Component(g), Component(b));
}

Colour EdgeColour(Colour background) {
    const Hls hls = RGBToHLS(background);
    const int l = static_cast<int>(std::nearbyint(hls.L)) % 240;
    return HLStoRGB(hls.H, (240.0f - static_cast<float>(l)) / 2, hls.S);
}

} // namespace zarv::ui
