#pragma once
#include <QString>

class QObject;

// Image controls hold a reduced copy of their picture. Whoever loads a
// picture into a control tags it with the file, so the viewer can decode
// that file again at its natural size (and copies of the picture carry the
// tag along with them).
namespace picturefile {

void Remember(QObject* control, const QString& file);
// The file of the control's picture; empty when it was never tagged.
QString Of(const QObject* control);
// Gives `to` the tag of `from` (for a picture copied between controls).
void Copy(const QObject* from, QObject* to);

}  // namespace picturefile
