#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTest>

#include "TestSupport.h"
#include "WindowSupport.h"
#include "app/Module1.h"
#include "app/SettingsFile.h"
#include "board/CardPicture.h"
#include "board/Form2.h"
#include "config/Form1.h"
#include "play/CardBacks.h"

class CardBackListTest : public QObject {
    Q_OBJECT
private slots:
    void folderFoundWhateverItsLetterCase() {
        FakeFileSystem* fs = InstallFakeFileSystem();
        QCOMPARE(cardbacks::Folder("/prog"), QString("/prog/Backs"));  // none: the usual name
        fs->AddFolder("/prog/backs");
        QCOMPARE(cardbacks::Folder("/prog"), QString("/prog/backs"));
        fs->AddFolder("/prog/BACKS");
        QVERIFY(cardbacks::Folder("/prog").compare("/prog/backs", Qt::CaseInsensitive) == 0);
        fs->AddFolder("/prog/Backs");
        QCOMPARE(cardbacks::Folder("/prog/"), QString("/prog/Backs"));
    }

    void listsJpegsOfAnyCaseButNoCommas() {
        FakeFileSystem* fs = InstallFakeFileSystem();
        for (const char* n :
             {"Sky.jpg", "moon.JPG", "Sea, calm.jpg", "notes.txt", "Wood.jpeg", "Grass.Jpg"})
            fs->AddFile("/b", n);
        QCOMPARE(cardbacks::List("/b"), (QStringList{"Grass.Jpg", "moon.JPG", "Sky.jpg"}));
        QCOMPARE(cardbacks::List("/missing"), QStringList());
        fs->SetError("/b", FsError::DeviceUnavailable);
        QCOMPARE(cardbacks::List("/b"), QStringList());
    }

    void captionsDropTheExtension() {
        QCOMPARE(cardbacks::MenuCaptions({}), QStringList{"None"});
        QCOMPARE(cardbacks::MenuCaptions({"Sky.jpg", "moon.JPG"}), (QStringList{"Sky", "moon"}));
    }

    void startsWithTheStoredBackWhileItIsThere() {
        FakeFileSystem* fs = InstallFakeFileSystem();
        fs->AddFile("/b", "Moon.jpg");
        fs->AddFile("/b", "Sky.jpg");
        const QStringList backs = cardbacks::List("/b");
        QCOMPARE(cardbacks::Initial("Sky.jpg", "/b", backs), QString("Sky.jpg"));
        // Vanished: the first back instead.
        QCOMPARE(cardbacks::Initial("Gone.jpg", "/b", backs), QString("Moon.jpg"));
        QCOMPARE(cardbacks::Initial("", "/b", backs), QString("Moon.jpg"));
        QCOMPARE(cardbacks::Initial("Gone.jpg", "/b", {}), QString());
    }

    void triesEveryBackIncludingTheLast() {
        QStringList attempts;
        const auto onlyC = [&](const QString& f) {
            attempts << f;
            return f == "c.jpg";
        };
        QCOMPARE(cardbacks::LoadFirstWorking("b.jpg", {"a.jpg", "b.jpg", "c.jpg"}, onlyC),
                 QString("c.jpg"));
        // The stored back first, then the others from the first on, none twice.
        QCOMPARE(attempts, (QStringList{"b.jpg", "a.jpg", "c.jpg"}));

        attempts.clear();
        const auto none = [&](const QString& f) {
            attempts << f;
            return false;
        };
        QCOMPARE(cardbacks::LoadFirstWorking("a.jpg", {"a.jpg", "b.jpg"}, none), QString());
        QCOMPARE(attempts, (QStringList{"a.jpg", "b.jpg"}));

        attempts.clear();
        QCOMPARE(cardbacks::LoadFirstWorking("", {"a.jpg"}, none), QString());
        QVERIFY(attempts.isEmpty());
        QCOMPARE(cardbacks::LoadFirstWorking("a.jpg", {"a.jpg"}, onlyC), QString());
    }

    void checksTheItemNamedByTheStoredBack() {
        const QStringList backs{"Moon.JPG", "Sky.jpg", "Sky2.jpg"};
        QCOMPARE(cardbacks::CheckedIndex(backs, "Sky.jpg"), 1);
        QCOMPARE(cardbacks::CheckedIndex(backs, "Sky2.jpg"), 2);
        QCOMPARE(cardbacks::CheckedIndex(backs, "Moon.JPG"), 0);
        // No match and no backs: nothing checked.
        QCOMPARE(cardbacks::CheckedIndex(backs, "Gone.jpg"), -1);
        QCOMPARE(cardbacks::CheckedIndex({}, "Sky.jpg"), -1);
        QCOMPARE(cardbacks::CheckedIndex(backs, ""), -1);
    }
};
TAVIMO_TEST(CardBackListTest);

namespace {
// The settings of a fresh program folder, with `backFile` as the chosen back.
void Settings(const ProgramFolder& folder, const QString& backFile) {
    settings::WriteDefault(folder.File(settings::FileName));
    settings::Read(folder.File(settings::FileName), Module1);
    Module1.AspectRatio = 9550.0 / 6750.0;
    Module1.BackFile = backFile;
}

void WriteBack(const ProgramFolder& folder, const QString& name, QColor colour,
               const QString& sub = "Backs") {
    QImage img(60, 80, QImage::Format_RGB32);
    img.fill(colour);
    folder.Write(sub + "/" + name, QByteArray());  // makes the folder
    img.save(folder.File(sub + "/" + name), "JPEG");
}

void WriteBroken(const ProgramFolder& folder, const QString& name) {
    folder.Write("Backs/" + name, "not a picture");
}

QStringList Captions(const Form2& game) {
    QStringList c;
    for (const QAction* a : game.mnuBack) c << a->text();
    return c;
}

int CheckedItem(const Form2& game) {
    int checked = -1;
    for (int i = 0; i < game.mnuBack.size(); ++i)
        if (game.mnuBack[i]->isChecked()) {
            if (checked >= 0) return -2;  // more than one
            checked = i;
        }
    return checked;
}

QString BackName(const Form2& game) {
    return QFileInfo(game.Image2[0]->File()).fileName();
}

// A game window as the next start of the program makes it.
Form2& NewGameWindow() {
    Forms::Discard<Form2>();
    return Forms::Get<Form1>().Game();
}
}  // namespace

class CardBackMenuTest : public QObject {
    Q_OBJECT
private slots:
    void missingOrEmptyFolderOffersNone() {
        for (bool makeFolder : {false, true}) {
            ProgramFolder folder;
            Doubles d = InstallDoubles();
            Settings(folder, "Sky.jpg");
            if (makeFolder) QDir().mkpath(folder.File("Backs"));
            Form2& game = NewGameWindow();
            QCOMPARE(Captions(game), QStringList{"None"});
            QCOMPARE(CheckedItem(game), -1);
            QCOMPARE(Module1.BackFile, QString());
            QVERIFY(!game.Image2[0]->HasPicture());  // no back picture: the plain back is drawn
            QVERIFY(d.dialogs->shown.empty());
            // Choosing "None" does nothing.
            game.mnuBack[0]->trigger();
            QVERIFY(game.updatesEnabled());
            QCOMPARE(CheckedItem(game), -1);
            QCOMPARE(Module1.BackFile, QString());
            QVERIFY(d.dialogs->shown.empty());
        }
    }

    void storedBackIsLoadedAndChecked() {
        ProgramFolder folder;
        Settings(folder, "Sky.jpg");
        WriteBack(folder, "Moon.jpg", Qt::darkGray);
        WriteBack(folder, "Sky.jpg", Qt::blue);
        Form2& game = NewGameWindow();
        QCOMPARE(Captions(game), (QStringList{"Moon", "Sky"}));
        QCOMPARE(CheckedItem(game), 1);
        QCOMPARE(game.CurrentBack, 1);
        QCOMPARE(BackName(game), QString("Sky.jpg"));
    }

    void vanishedBackGivesWayToTheFirst() {
        ProgramFolder folder;
        Settings(folder, "Gone.jpg");
        WriteBack(folder, "Moon.jpg", Qt::darkGray);
        WriteBack(folder, "Sky.jpg", Qt::blue);
        Form2& game = NewGameWindow();
        QCOMPARE(Module1.BackFile, QString("Moon.jpg"));
        QCOMPARE(CheckedItem(game), 0);
        QCOMPARE(BackName(game), QString("Moon.jpg"));
    }

    void folderNameInAnyLetterCase() {
        ProgramFolder folder;
        Settings(folder, "Sky.jpg");
        WriteBack(folder, "Sky.jpg", Qt::blue, "backs");
        Form2& game = NewGameWindow();
        QCOMPARE(Captions(game), QStringList{"Sky"});
        QCOMPARE(CheckedItem(game), 0);
        QVERIFY(game.Image2[0]->HasPicture());
    }

    void brokenBacksFallThroughToTheLast() {
        ProgramFolder folder;
        Settings(folder, "A.jpg");
        WriteBroken(folder, "A.jpg");
        WriteBroken(folder, "B.jpg");
        WriteBack(folder, "C.jpg", Qt::green);
        Form2& game = NewGameWindow();
        QCOMPARE(Module1.BackFile, QString("C.jpg"));
        QCOMPARE(CheckedItem(game), 2);
        QCOMPARE(BackName(game), QString("C.jpg"));
    }

    void noBackLoadsLeavesThemBlankAndUnchecked() {
        ProgramFolder folder;
        Doubles d = InstallDoubles();
        Settings(folder, "A.jpg");
        WriteBroken(folder, "A.jpg");
        WriteBroken(folder, "B.jpg");
        Form2& game = NewGameWindow();
        QCOMPARE(Captions(game), (QStringList{"A", "B"}));
        QCOMPARE(Module1.BackFile, QString());
        QCOMPARE(CheckedItem(game), -1);
        QVERIFY(!game.Image2[0]->HasPicture());
        QVERIFY(d.dialogs->shown.empty());
    }

    void commaNamesAreNotOfferedAndAmpersandsAreShown() {
        ProgramFolder folder;
        Settings(folder, "Sky.jpg");
        WriteBack(folder, "Sea, calm.jpg", Qt::cyan);
        WriteBack(folder, "Sky.jpg", Qt::blue);
        WriteBack(folder, "Sun & Moon.jpg", Qt::yellow);
        Form2& game = NewGameWindow();
        QCOMPARE(game.File1, (QStringList{"Sky.jpg", "Sun & Moon.jpg"}));
        // What the menu shows: the "&" itself, no shortcut made of it.
        QCOMPARE(game.mnuBack[1]->iconText(), QString("Sun & Moon"));
        QVERIFY(QKeySequence::mnemonic(game.mnuBack[1]->text()).isEmpty());
    }

    void upperCaseExtensionIsChosenAndFoundNextTime() {
        ProgramFolder folder;
        Settings(folder, "Sky.jpg");
        WriteBack(folder, "Moon.JPG", Qt::darkGray);
        WriteBack(folder, "Sky.jpg", Qt::blue);
        Form2& game = NewGameWindow();
        QCOMPARE(Captions(game), (QStringList{"Moon", "Sky"}));
        game.show();
        game.mnuBack[0]->trigger();
        QCOMPARE(Module1.BackFile, QString("Moon.JPG"));
        QCOMPARE(CheckedItem(game), 0);
        QCOMPARE(BackName(game), QString("Moon.JPG"));
        // The next game window (the next start) loads it and ticks its item.
        Form2& next = NewGameWindow();
        QCOMPARE(Module1.BackFile, QString("Moon.JPG"));
        QCOMPARE(BackName(next), QString("Moon.JPG"));
        QCOMPARE(CheckedItem(next), 0);
    }

    void changingBacksLeavesEveryCardAsItLies() {
        ProgramFolder folder;
        Settings(folder, "Sky.jpg");
        WriteBack(folder, "Moon.jpg", Qt::darkGray);
        WriteBack(folder, "Sky.jpg", Qt::blue);
        Form2& game = NewGameWindow();
        game.show();
        // Eight cards; cards 0 and 1 are a missed pair still face up.
        game.Play.Deal(PicturePaths(4), "Sky.jpg", *platform().random);
        for (int k = 0; k < 8; ++k) {
            game.Back(k)->CopyPictureFrom(*game.Image2[0]);
            game.Face(k)->setVisible(false);
            game.Back(k)->setVisible(true);
        }
        game.Image2_Click(0);
        game.Image2_Click(1);

        game.mnuBack[0]->trigger();

        QCOMPARE(Module1.BackFile, QString("Moon.jpg"));
        QCOMPARE(CheckedItem(game), 0);
        QCOMPARE(game.CurrentBack, 0);
        const qint64 moon = game.Image2[0]->Picture().cacheKey();
        for (int k = 0; k < 8; ++k) {
            QCOMPARE(game.Image2[k]->Picture().cacheKey(), moon);
            QCOMPARE(game.Image1[k]->isVisible(), k < 2);
            QCOMPARE(game.Image2[k]->isVisible(), k >= 2);
        }
        QCOMPARE(game.CardsUp, 2);
        QCOMPARE(game.TurnCards[0], 0);
        QCOMPARE(game.TurnCards[1], 1);
        QCOMPARE(game.Score, 75.0);
        QVERIFY(game.isVisible());
        FlushDeletes();
        QVERIFY(game.updatesEnabled());
        // The choice goes into the settings line written on exit.
        QCOMPARE(settings::SplitFields(settings::ExitLine(Module1, true, true, 1)).value(2),
                 QString("Moon.jpg"));
    }

    void failedBackChangesNothing() {
        ProgramFolder folder;
        Doubles d = InstallDoubles();
        Settings(folder, "Sky.jpg");
        WriteBack(folder, "Moon.jpg", Qt::darkGray);
        WriteBack(folder, "Sky.jpg", Qt::blue);
        Form2& game = NewGameWindow();
        game.show();
        const qint64 sky = game.Image2[0]->Picture().cacheKey();
        QFile::remove(folder.File("Backs/Moon.jpg"));
        // When the message comes the cover is gone and the board is back.
        bool held = true, boardShown = false;
        d.dialogs->onMessage = [&] {
            held = !game.updatesEnabled();
            boardShown = game.isVisible();
        };
        game.mnuBack[0]->trigger();
        QVERIFY(!held);
        QVERIFY(boardShown);
        QCOMPARE(d.dialogs->shown.size(), size_t(1));
        QCOMPARE(d.dialogs->shown[0].title, QString("Tavimo"));
        QCOMPARE(d.dialogs->shown[0].text, QString("File not found"));
        QCOMPARE(Module1.BackFile, QString("Sky.jpg"));
        QCOMPARE(CheckedItem(game), 1);
        QCOMPARE(game.CurrentBack, 1);
        QCOMPARE(game.Image2[0]->Picture().cacheKey(), sky);
        QVERIFY(game.isVisible());
        FlushDeletes();
        QVERIFY(game.updatesEnabled());

        // A file that is there but no picture.
        WriteBroken(folder, "Moon.jpg");
        game.mnuBack[0]->trigger();
        QCOMPARE(d.dialogs->shown.back().text, QString("Invalid picture"));
        QCOMPARE(CheckedItem(game), 1);
    }

    void withoutBacksEveryCardShowsThePlainBack() {
        const auto near = [](const QColor& a, const QColor& b) {
            return std::abs(a.red() - b.red()) < 10 && std::abs(a.green() - b.green()) < 10 &&
                   std::abs(a.blue() - b.blue()) < 10;
        };
        // No folder, an empty one, and one whose only back does not load.
        for (int kind = 0; kind < 3; ++kind) {
            ProgramFolder folder(ProgramFolder::Graphics);
            Settings(folder, "Sky.jpg");
            if (kind == 1) QDir().mkpath(folder.File("Backs"));
            if (kind == 2) WriteBroken(folder, "Sky.jpg");
            Form2& game = DealByHand(GeneratedPictures(folder, 4), 4);
            QCOMPARE(game.CardCount, 8);
            QVERIFY(!game.Image2[0]->HasPicture());
            const QImage first = game.Image2[0]->grab().toImage();
            const QRect in = game.Image2[0]->contentsRect();
            const QString at = QString::number(kind);
            // A rounded panel: the board in the very corner, the panel's
            // green between rim and middle, the cream mark in the middle.
            QVERIFY2(near(first.pixelColor(in.topLeft()), cardpicture::BoardGreen), qPrintable(at));
            QVERIFY2(near(first.pixelColor(in.left() + in.width() / 5, in.center().y()),
                          cardpicture::PanelGreen),
                     qPrintable(at));
            QVERIFY2(near(first.pixelColor(in.center()), cardpicture::Cream), qPrintable(at));
            for (int k = 1; k < game.CardCount; ++k) {
                QVERIFY(game.Image2[k]->isVisible());
                QCOMPARE(game.Image2[k]->grab().toImage(), first);
            }
            // A turned card shows its face, not the plain back.
            QTest::mouseClick(game.Image2[3], Qt::LeftButton);
            QVERIFY(game.Image1[3]->isVisible());
            QVERIFY(!game.Image2[3]->isVisible());
        }
    }

    void buildingTwiceDoesNotDoubleTheMenu() {
        ProgramFolder folder;
        Settings(folder, "Sky.jpg");
        WriteBack(folder, "Moon.jpg", Qt::darkGray);
        WriteBack(folder, "Sky.jpg", Qt::blue);
        Form2& game = NewGameWindow();
        game.BuildBackMenu();
        QCOMPARE(Captions(game), (QStringList{"Moon", "Sky"}));
        QCOMPARE(game.mnuCard->actions().size(), 2);
    }
};
TAVIMO_TEST(CardBackMenuTest);

#include "tst_CardBacks.moc"
