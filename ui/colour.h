// Colour helpers of the table: components of a 0x00BBGGRR colour and the
// conversion between RGB and hue, lightness and saturation on a 0..240 scale.
#pragma once

#include <QColor>
#include <cstdint>

namespace zarv::ui {

using Colour = uint32_t;  // 0x00BBGGRR

int GetRValue(Colour c);
int GetGValue(Colour c);
int GetBValue(Colour c);
// Each component clamped to 0..255.
Colour RGB(int r, int g, int b);
QColor ToQColor(Colour c);
Colour FromQColor(const QColor& c);

struct Hls {
    float H = 0, L = 0, S = 0;
};
Hls RGBToHLS(Colour c);
Colour HLStoRGB(float hue, float lum, float sat);
float HueToRGB(float m1, float m2, float hue);

// The darker (or lighter) edge the felt is framed with.
Colour EdgeColour(Colour background);

} // namespace zarv::ui
