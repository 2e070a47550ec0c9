#pragma once
#include <QString>

// Choices beyond the ten fields of init.txt, which keeps its format: kept
// with QSettings in the desktop's config folder ($XDG_CONFIG_HOME/tavimo),
// looked up again at every call so that a test can point it elsewhere.
namespace preferences {

// The file the preferences live in.
QString File();

// "Keep Picture Shapes": faces drawn at their own proportions instead of
// stretched to the card. Off unless the player ticked it.
bool KeepPictureShapes();
void SetKeepPictureShapes(bool on);

}  // namespace preferences
