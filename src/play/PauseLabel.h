#pragma once
// Where the pause message "Game paused, press any key to continue." lies and
// how big its text is, for the game window's current width (twips).

namespace pauselabel {

constexpr double Top = 2520;  // below the top of the window's inner area
constexpr double Height = 600;

struct Layout {
    double Width;
    int FontSize;
    double Left;
};

// Three widths: narrow windows get 6255 twips, from 9746 on 9255, above
// 12000 10000. The pause key uses 23 pt for the narrow width; the resize
// event lays it out with 22.
Layout ForWindowWidth(double windowWidth, int narrowFontSize = 23);

}  // namespace pauselabel
