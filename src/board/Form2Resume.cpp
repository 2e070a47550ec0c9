// The board in progress kept in board.txt: saved after every turn, on every
// pause and on every way out, gone once the board is finished, restarted or
// dealt anew; and the kept board laid out again when the player chose at
// start-up to play on.
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QSessionManager>

#include "app/GamePaths.h"
#include "app/Module1.h"
#include "board/CardPicture.h"
#include "board/Form2.h"
#include "board/SavedBoard.h"
#include "board/frmSplash.h"
#include "pictures/PictureLoader.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"

void Form2::ConnectSaving() {
    connect(&Play, &BoardPlay::turnEnded, this, [this] { KeepBoard(); });
    connect(&Play, &BoardPlay::paused, this, [this] { KeepBoard(); });
    // The desktop's logout and every end of the event loop (the exit
    // question, a closed session, SIGTERM, SIGHUP, SIGINT) come by here
    // while this window still stands.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { KeepBoard(); });
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { KeepBoard(); });
    connect(qApp, &QGuiApplication::saveStateRequest, this,
            [this](QSessionManager&) { KeepBoard(); });
}

void Form2::KeepBoard() {
    // A window without a board (too few pictures) speaks for no board.
    if (!BoardDealt) return;
    const QString folder = Paths().DataFolder();
    if (!Play.InProgress()) {
        savedboard::Remove(folder);
        return;
    }
    QString error;
    if (!savedboard::Save(folder, Play.Save(), &error) && !saveFailureTold_) {
        // Said once a window: the game plays on, only the keeping fails.
        saveFailureTold_ = true;
        platform().dialogs->Info("Tavimo",
                                 textfile::SaveFailedMessage(savedboard::PathIn(folder), error));
    }
}

bool Form2::ResumeBoard(const board::BoardState& kept) {
    frmSplash& splash = Forms::Get<frmSplash>();
    const int n = kept.Pairs();
    splash.SetProgressRange(0, n);
    // Every picture as it was, or none: a board with a card missing is no
    // board to play on.
    QString failed;
    int loaded = 0;
    platform().pictures->LoadMany(
        kept.pictures, cardpicture::IntermediateSize(devicePixelRatioF()),
        [&](int index, std::optional<Picture> picture) {
            if (!picture || picture->image.isNull()) {
                failed = kept.pictures.value(index);
                return false;
            }
            Face(index)->SetPicture(picture->image, kept.pictures[index]);
            ++loaded;
            splash.SetProgress(loaded);
            splash.SetMessage(tr("Loading Pictures:  %1").arg(QString::number(loaded)));
            return true;
        });
    if (failed.isEmpty() && loaded < n) failed = kept.pictures.value(loaded);
    if (!failed.isEmpty()) {
        platform().dialogs->Info("Tavimo",
                                 tr("The picture %1 of the board you left cannot be read. "
                                    "A new board is dealt.")
                                     .arg(QDir::toNativeSeparators(failed)));
        return false;
    }
    // The board's own back when it is still there.
    const int back = File1.indexOf(kept.back);
    if (back >= 0 && File1[back] != Module1.BackFile) {
        const QString was = Module1.BackFile;
        Module1.BackFile = File1[back];
        if (LoadBackPicture()) {
            if (CurrentBack >= 0 && CurrentBack < mnuBack.size())
                mnuBack[CurrentBack]->setChecked(false);
            CheckBackItem();
        } else {
            Module1.BackFile = was;
        }
    }
    Play.Restore(kept);
    Play.SetBack(Module1.BackFile);
    for (int i = 0; i < n; ++i) {
        Face(n + i)->CopyPictureFrom(*Image1[i]);
        Back(i)->CopyPictureFrom(*Image2[0]);
        Back(n + i)->CopyPictureFrom(*Image2[0]);
    }
    ChooseCardSize();
    ComputeGrid();
    ShuffleCards();
    setWindowTitle(gameclock::RunningCaption(Score, Clock));
    return true;
}
