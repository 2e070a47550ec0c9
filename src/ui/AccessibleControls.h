#pragma once
// Controls that only a mouse could use, made usable from the keyboard and
// readable by a screen reader, with no change to how they look.
#include <QString>

class QLabel;

namespace accessible {

// A label with a clicked() signal acting as a button: it takes the focus
// (Tab), Return and Space press it, and a screen reader sees a button
// named `name` with a press action.
void MakeButton(QLabel* label, const QString& name);

}  // namespace accessible
