#include "viewer/ViewerLayout.h"

#include <algorithm>
#include <cmath>

#include "platform/Numbers.h"

namespace viewer {

namespace {
int AtLeastOne(double v) {
    return static_cast<int>(std::max<long long>(1, num::RoundHalfEven(v)));
}
}  // namespace

ScrollBarLayout ScrollValues(double travel, double largeStep, double smallStep) {
    ScrollBarLayout bar;
    travel = std::max(0.0, travel);
    // Twips as long as they fit; otherwise the smallest whole number of
    // twips per value that brings the travel and the large step into range.
    const double widest = std::max(travel, largeStep);
    bar.unit = std::max(1.0, std::ceil(widest / MaxValue));
    bar.maximum = static_cast<int>(num::RoundHalfEven(travel / bar.unit));
    bar.largeChange = AtLeastOne(largeStep / bar.unit);
    bar.smallChange = AtLeastOne(smallStep / bar.unit);
    return bar;
}

ViewerLayout Compute(double windowWidth, double windowHeight, double pictureWidth,
                     double pictureHeight) {
    ViewerLayout l;
    const double pw = std::max(0.0, pictureWidth), ph = std::max(0.0, pictureHeight);

    l.viewport = {220, 0, windowWidth - 370, windowHeight - 800};
    l.pictureLeft = 0;
    l.pictureTop = 30;

    // The scaled view: the largest size of the picture's proportions that
    // fits the viewport grown by 150 each way.
    const double W = l.viewport.width + 150, H = l.viewport.height + 150;
    double sw = 0, sh = 0;
    if (pw > 0 && ph > 0) {
        const double r = pw / ph;
        if (pw > l.viewport.height) {
            sw = W;
            sh = W / r;
        } else {
            sh = H;
            sw = H * r;
        }
        if (sh > H) {
            sh = H;
            sw = H * r;
        }
        if (sw > W) {
            sw = W;
            sh = W / r;
        }
    }
    l.scaled.width = sw;
    l.scaled.height = sh;
    l.scaled.left = std::max(20.0, l.viewport.left + (l.viewport.width - sw) / 2 - 60);
    l.scaled.top = std::max(l.pictureTop, l.viewport.top + (l.viewport.height - sh) / 2);

    l.buttonBar = {-80, windowHeight - 600, windowWidth + 100, ButtonHeight};
    l.okLeft = (l.buttonBar.width - ButtonWidth) / 2 + 700;
    l.toggleLeft = l.okLeft - 1300;

    l.vertical.rect = {0, 0, VScrollWidth, l.viewport.height + 200};
    l.horizontal.rect = {240, l.viewport.height - 30, l.viewport.width, ScrollBarThickness};
    const double vLarge = ph / 20, vSmall = ph / 200;
    const double hLarge = pw / 80, hSmall = pw / 500;

    const bool taller = ph > l.viewport.height;
    const bool wider = pw > l.viewport.width;
    TwipsRect vRect = l.vertical.rect, hRect = l.horizontal.rect;
    double vTravel = 0, hTravel = 0;
    bool vVisible = true, hVisible = true;
    if (taller && wider) {
        l.fit = Fit::TallerAndWider;
        vTravel = ph - l.viewport.height + 200;
        hTravel = pw - l.viewport.width + 200;
    } else if (wider) {
        l.fit = Fit::WiderOnly;
        vVisible = false;
        l.pictureTop = (l.viewport.height - ph) / 2;
        hRect.width = hRect.left + hRect.width;
        hRect.left = 0;
        l.viewport.width = windowWidth;
        l.viewport.left = 0;
        hTravel = pw - l.viewport.width + 200;
    } else if (taller) {
        l.fit = Fit::TallerOnly;
        hVisible = false;
        l.viewport.height = windowHeight;
        l.pictureLeft = (l.viewport.width - pw) / 2;
        vTravel = ph - l.viewport.height + 700;
    } else {
        l.fit = Fit::Neither;
        vVisible = hVisible = false;
        l.viewport.width = windowWidth;
        l.viewport.height = windowHeight;
        l.viewport.left = 0;
        l.pictureTop = (l.viewport.height - ph) / 2 - 300;
        l.pictureLeft = (l.viewport.width - pw) / 2;
    }
    l.vertical = ScrollValues(vTravel, vLarge, vSmall);
    l.vertical.rect = vRect;
    l.vertical.visible = vVisible;
    l.horizontal = ScrollValues(hTravel, hLarge, hSmall);
    l.horizontal.rect = hRect;
    l.horizontal.visible = hVisible;

    if (l.pictureLeft < 25) l.pictureLeft = 25;
    return l;
}

}  // namespace viewer
