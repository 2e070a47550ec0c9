#pragma once
#include <QFont>

namespace highscores {

// The high-score windows were laid out for narrow fonts: the Liberation faces
// or a face with their widths. When none is installed, the face found instead
// is narrowed until its text is as wide as theirs, so headings and columns
// stay inside their designed widths.
QFont Face(bool serif, double points, bool bold);

// A line of text and its width in ems in the Liberation face of that kind.
inline constexpr const char* WidthSample = "The quick brown fox jumps over the lazy dog 0123456789";
double DesignedSampleEms(bool serif, bool bold);

}  // namespace highscores
