// SPDX-License-Identifier: GPL-3.0-or-later
#include "scores/Faces.h"

#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace highscores {

namespace {
// Measured at 1000 pixels, where hinting no longer moves the widths.
constexpr int ProbePixels = 1000;

double SampleEms(QFont font) {
    font.setPixelSize(ProbePixels);
    return QFontMetricsF(font).horizontalAdvance(QString::fromLatin1(WidthSample)) / ProbePixels;
}
}  // namespace

double DesignedSampleEms(bool serif, bool bold) {
    if (serif) return bold ? 24.548 : 23.523;
    return bold ? 27.230 : 25.627;
}

QFont Face(bool serif, double points, bool bold) {
    QFont f;
    // Liberation first, then the faces made to the same widths.
    f.setFamilies(serif ? QStringList{"Liberation Serif", "Tinos", "Times New Roman"}
                        : QStringList{"Liberation Sans", "Arimo", "Arial"});
    f.setStyleHint(serif ? QFont::Serif : QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    const double designed = DesignedSampleEms(serif, bold);
    double width = SampleEms(f);
    // A face within 2 % of the designed widths is one of them; a narrower
    // face fits anyway.
    if (width <= designed * 1.02) return f;
    // Another face has other proportions: a little narrower than the
    // sample, so that words wider in it than the sample fit too. Stretch
    // scales advances less than in proportion, hence a few steps.
    const double target = designed * 0.97;
    int stretch = 100;
    for (int step = 0; step < 4 && width > target && stretch > 50; ++step) {
        stretch = std::clamp(static_cast<int>(std::floor(stretch * target / width)), 50, 99);
        f.setStretch(stretch);
        width = SampleEms(f);
    }
    return f;
}

}  // namespace highscores
