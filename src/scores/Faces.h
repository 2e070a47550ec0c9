#pragma once
#include <QFont>
#include <QStringList>

namespace highscores {

// The high-score windows were laid out for narrow fonts; the metric-compatible
// Liberation faces keep headings and columns inside their designed widths.
inline QFont Face(bool serif, double points, bool bold) {
    QFont f;
    f.setFamilies(serif ? QStringList{"Liberation Serif", "Times New Roman"}
                        : QStringList{"Liberation Sans", "Arial"});
    f.setStyleHint(serif ? QFont::Serif : QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

}  // namespace highscores
