#include "app/GamePaths.h"
#include "app/Module1.h"
#include "board/CardPicture.h"
#include "board/Form2.h"
#include "pictures/PictureLoader.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "play/CardBacks.h"

void Form2::ConnectBacks() {}

void Form2::BuildBackMenu() {
    Module1Record& m = Module1;
    BacksFolder = Paths().BacksFolder();
    File1 = cardbacks::List(BacksFolder);
    // A stored back that has gone makes way for the first one there is.
    m.BackFile = cardbacks::Initial(m.BackFile, BacksFolder, File1);

    // One item per back, "None" alone when there is none. Items are
    // reused, so building again never doubles them.
    const QStringList captions = cardbacks::MenuCaptions(File1);
    for (int i = 0; i < captions.size(); ++i) {
        if (i >= mnuBack.size()) {
            QAction* item = mnuCard->addAction(QString());
            // Qt flips a checkable item's mark before the handler runs; the
            // handler alone decides the marks.
            connect(item, &QAction::triggered, this, [this, i, item] {
                item->setChecked(!item->isChecked());
                mnuBack_Click(i);
            });
            mnuBack.append(item);
        }
        // A "&" of the file's name is shown, not taken for a shortcut mark.
        mnuBack[i]->setText(QString(captions[i]).replace('&', QStringLiteral("&&")));
        mnuBack[i]->setCheckable(!File1.isEmpty());
        mnuBack[i]->setChecked(false);
    }
    while (mnuBack.size() > captions.size()) delete mnuBack.takeLast();

    // The stored back, or the first of the others that loads; blank
    // backs when none does.
    m.BackFile = cardbacks::LoadFirstWorking(m.BackFile, File1, [this](const QString& file) {
        Module1.BackFile = file;
        return LoadBackPicture();
    });
    // No back at all: plain card-like backs rather than empty outlines.
    if (m.BackFile.isEmpty()) Image2[0]->ClearPicture();
    Image2[0]->SetPlainWhenEmpty(true);
}

void Form2::CheckBackItem() {
    // The item of the stored back, whatever the letter case of its
    // extension; none when no item is that back.
    const int i = cardbacks::CheckedIndex(File1, Module1.BackFile);
    if (i < 0 || i >= mnuBack.size()) return;
    mnuBack[i]->setChecked(true);
    CurrentBack = i;
}

bool Form2::LoadBackPicture() {
    const QString folder = BacksFolder.isEmpty() ? Paths().BacksFolder() : BacksFolder;
    const QString file = FileSystem::Join(folder, Module1.BackFile);
    // A back is never shown larger than a card, in the screen's pixels.
    std::optional<Picture> picture =
        platform().pictures->Load(file, cardpicture::IntermediateSize(devicePixelRatioF()));
    if (!picture) return false;
    Image2[0]->SetPicture(picture->image, picture->file);
    return true;
}

void Form2::mnuBack_Click(int Index) {
    // "None" stands for no back at all.
    if (File1.isEmpty() || Index < 0 || Index >= File1.size()) return;
    // The half-changed board is never drawn: painting is held until every
    // back has changed, and the window stays where it is.
    setUpdatesEnabled(false);
    // The chosen back at the card size.
    const QString file = FileSystem::Join(BacksFolder, File1[Index]);
    std::optional<Picture> picture =
        platform().pictures->Load(file, cardpicture::IntermediateSize(devicePixelRatioF()));
    if (!picture) {
        // The board is drawn again before the message covers part of it.
        setUpdatesEnabled(true);
        repaint();
        platform().dialogs->Info(
            "Tavimo", platform().fs->IsFile(file) ? tr("Invalid picture") : tr("File not found"));
        return;
    }
    Image2[0]->SetPicture(picture->image, picture->file);
    // Its menu item alone carries the check mark.
    if (CurrentBack >= 0 && CurrentBack < mnuBack.size()) mnuBack[CurrentBack]->setChecked(false);
    mnuBack[Index]->setChecked(true);
    CurrentBack = Index;
    Module1.BackFile = File1[Index];
    Play.SetBack(Module1.BackFile);
    // Every back at once; faces and turned cards stay as they are.
    for (int k = 1; k < CardCount && k < Image2.size(); ++k) Image2[k]->CopyPictureFrom(*Image2[0]);
    setUpdatesEnabled(true);
}
