// "Keep Picture Shapes": whether faces keep their own proportions on the
// cards. The choice outlives the board and the session in the preferences,
// not in init.txt; it changes only how the faces are drawn.
#include <QSignalBlocker>

#include "app/Preferences.h"
#include "board/Form2.h"

void Form2::ConnectShapes() {
    if (!mnuShapes) return;
    mnuShapes->setCheckable(true);
    mnuShapes->setChecked(preferences::KeepPictureShapes());
    ApplyPictureShapes();
    connect(mnuShapes, &QAction::triggered, this, [this] {
        // Qt flips the mark before the handler runs; the handler alone decides it.
        {
            const QSignalBlocker quiet(mnuShapes);
            mnuShapes->setChecked(!mnuShapes->isChecked());
        }
        mnuShapes_Click();
    });
}

void Form2::mnuShapes_Click() {
    if (!mnuShapes) return;
    const bool keep = !mnuShapes->isChecked();
    mnuShapes->setChecked(keep);
    preferences::SetKeepPictureShapes(keep);
    ApplyPictureShapes();
}

void Form2::ApplyPictureShapes() {
    const bool keep = mnuShapes && mnuShapes->isChecked();
    // Faces made later copy face 0, so the whole board follows.
    for (CardWidget* face : Image1) face->SetKeepShape(keep);
}
