// The configuration window's OK action: the one way a new board comes about.
#include <QCoreApplication>
#include <QDir>

#include "app/GamePaths.h"
#include "app/Module1.h"
#include "board/BoardLayout.h"
#include "board/Form2.h"
#include "board/PictureChooser.h"
#include "board/ScreenPlacement.h"
#include "board/frmSplash.h"
#include "config/Form1.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

void Form1::Command1_Click() {
    // The folder list as it stands. A file that cannot be written has
    // been reported; the deal goes on with the list in the window.
    SaveDirectoryList();
    // A fresh random sequence, then the scan.
    platform().random->Reseed();
    ScanFolders();
    // Too few pictures and no fall-back allowed.
    const bool acquireAdditional = Check8->checkState() != Qt::Unchecked;
    if (!acquireAdditional && FilesAvailable < 4) {
        platform().dialogs->Info(
            "Tavimo", tr("Not enough files available.  Minimum of 4 pictures required.  "
                         "Try selecting more file types or selecting more directories."));
        return;
    }
    // The splash, drawn before the picking starts, where the game window
    // will be.
    screenplacement::SanitizeRecord(Module1);
    frmSplash& splash = Forms::Get<frmSplash>();
    splash.StayAbove(Forms::IfLoaded<Form2>());
    splash.show();
    splash.raise();
    hide();
    QCoreApplication::processEvents();

    // The board's pictures plus spares. Folders that vanished since the scan, or cannot be
    // listed, drop out like folders without files.
    board::ChooserInput in;
    for (const FolderEntry& f : Folders()) in.folders.append({f.path, f.included});
    in.pattern = File2Pattern;
    in.acquireAdditional = acquireAdditional;
    in.graphicsFolder = Paths().GraphicsFolder();
    in.wanted = board::BoardSizeValue(Combo1->currentText()) + board::SparePictures;
    board::ChooserLists lists;
    board::ChoosePictures(in, lists, *platform().fs, *platform().random);
    CandidateFolders = lists.CandidateFolders;
    ChosenPictures = lists.ChosenPictures;
    FreshFiles = lists.FreshFiles;

    // The one game window, made on the first deal and cleared for every
    // later one, where it stands; its next clock tick deals.
    if (ChosenPictures.size() >= 4) {
        hide();
        if (Form2* game = Forms::IfLoaded<Form2>())
            game->Redeal();
        else
            Game();
        return;
    }
    // Too few pictures even with every fall-back: the splash stays until a later deal completes.
    platform().dialogs->Info("Tavimo",
                             tr("Not enough pictures found, minimum of 4 pictures required."));
    ShowOnTop();
}
