#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFocusEvent>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QTextDocument>
#include <cerrno>

#include "TestSupport.h"
#include "app/Module1.h"
#include "board/Form2.h"
#include "config/ConfigText.h"
#include "config/Form1.h"
#include "platform/FileNames.h"
#include "platform/Twips.h"
#include "ui/AccessibleControls.h"
#include "ui/PictureFile.h"
#include "viewer/Form3.h"

namespace {
Form1& Config() {
    return Forms::Get<Form1>();
}
QStringList Paths(const Form1& f) {
    QStringList out;
    for (const FolderEntry& e : f.Folders()) out.append(e.path + (e.included ? "+" : "-"));
    return out;
}
QString Types(const Form1& f) {
    return f.TakeFileTypeSnapshot();
}
// What the label shows is its text as it stands, not markup made of it.
bool Literal(const QLabel* l) {
    return l->textFormat() == Qt::PlainText ||
           (l->textFormat() == Qt::AutoText && !Qt::mightBeRichText(l->text()));
}
// The text a tool tip shows.
QString ToolTipShows(const QString& tip) {
    if (!Qt::mightBeRichText(tip)) return tip;
    QTextDocument doc;
    doc.setHtml(tip);
    return doc.toPlainText();
}
void ClickAdd(Form1& f) {
    QTest::mouseClick(f.Label13, Qt::LeftButton, {}, f.Label13->rect().center());
}
}  // namespace

// The configuration window on a fake file system: folder list, types, scan.
class Form1FoldersTest : public QObject {
    Q_OBJECT
    Doubles d;
    FakeFileSystem* fs = nullptr;
    std::unique_ptr<ProgramFolder> pf;
    QString graphics;

private slots:
    void init() {
        d = InstallDoubles();
        fs = InstallFakeFileSystem();
        pf = std::make_unique<ProgramFolder>();
        graphics = pf->Path() + "/Graphics";
        for (const char* n : {"a.bmp", "b.gif", "c.jpg", "d.ico", "e.wmf", "f.txt"})
            fs->AddFile(graphics, n);
        fs->AddFile("/pics/a", "a.jpg");
        fs->AddFile("/pics/a", "n1.jpg");
        fs->AddFile("/pics/A", "n2.jpg");
        fs->AddFile("/pics/a,b", "n3.jpg");
    }
    void cleanup() { pf.reset(); }

    void loadsTheDefaultListAndCounts() {
        Form1& f = Config();
        QVERIFY(f.isHidden());
        QCOMPARE(f.windowTitle(), QString("BOARD CONFIGURATION"));
        QCOMPARE(Paths(f), QStringList{graphics + "+"});
        QCOMPARE(pf->Read("dirs.txt"), (graphics + "1,\r\n0\r\n").toUtf8());
        QVERIFY(f.LoadComplete);
        // Before a type pattern is applied every ordinary file counts.
        QCOMPARE(f.FilesAvailable, 6);
        QCOMPARE(f.Label1->text(), QString("Files Available: 6"));
        QCOMPARE(f.Dir1Path, graphics);
        QCOMPARE(f.Label4->text(), QString("Files: 5"));  // the browser's own pattern
        QCOMPARE(f.Combo1->currentText(), QString("8"));
        QStringList sizes;
        for (int i = 0; i < f.Combo1->count(); ++i) sizes << f.Combo1->itemText(i);
        QCOMPARE(sizes, (QStringList{"4", "8", "12", "16", "20", "30", "40"}));
        QCOMPARE(f.PreviewState, 1);
        QCOMPARE(f.Image1->size(), QSize(100, 100));  // 1500 twips at load
    }

    void allGraphicsInterplay() {
        Form1& f = Config();
        Form1::SetValue(f.All_Check, 1);
        QCOMPARE(f.File2Pattern, QString(filetypes::AllPattern));
        QCOMPARE(f.File1Pattern, QString(filetypes::AllPattern));
        QCOMPARE(f.FilesAvailable, 5);
        const QColor grey =
            QApplication::palette(f.All_Check).color(QPalette::Disabled, QPalette::WindowText);
        QCOMPARE(f.BMP_Check->palette().color(QPalette::Active, QPalette::WindowText), grey);
        QVERIFY(f.BMP_Check->isEnabled());

        // A type box clicked while "All Graphics" is on: it changes, "All"
        // goes off and the pattern follows the boxes.
        f.ICN_Check->click();
        QCOMPARE(Types(f), QString("1110110"));
        QCOMPARE(f.File2Pattern,
                 QString("*.BMP;*.GIF;*.JPG;*.JPEG;*.JPE;*.JFIF;*.WMF;"
                         "*.PNG;*.WEBP;*.TIF;*.TIFF;*.HEIC;*.HEIF;*.HIF;*.AVIF;*.JXL"));
        QCOMPARE(f.FilesAvailable, 4);
        QVERIFY(f.BMP_Check->palette().color(QPalette::Active, QPalette::WindowText) != grey);

        // Unchecking the last box brings "All Graphics" back.
        for (QCheckBox* b : {f.BMP_Check, f.GIF_Check, f.JPG_Check, f.WMF_Check, f.Other_Check})
            Form1::SetValue(b, 0);
        QCOMPARE(Types(f), QString("0000001"));
        QCOMPARE(f.File2Pattern, QString(filetypes::AllPattern));
        QCOMPARE(f.FilesAvailable, 5);

        // So does unchecking "All Graphics" with no box left.
        Form1::SetValue(f.All_Check, 0);
        QCOMPARE(Types(f), QString("0000001"));
        QCOMPARE(f.File2Pattern, QString(filetypes::AllPattern));

        // One box: exactly that type counts.
        Form1::SetValue(f.JPG_Check, 1);
        QCOMPARE(Types(f), QString("0010000"));
        QCOMPARE(f.File2Pattern, QString("*.JPG;*.JPEG;*.JPE;*.JFIF"));
        QCOMPARE(f.FilesAvailable, 1);
        QCOMPARE(f.Label4->text(), QString("Files: 1"));
    }

    void addRemoveAndCheckMarks() {
        Form1& f = Config();
        Form1::SetValue(f.All_Check, 1);
        QVERIFY(f.PointDir1("/pics/a"));
        f.Label13_Click();
        QCOMPARE(Paths(f), (QStringList{"/pics/a+", graphics + "+"}));
        QCOMPARE(f.FilesAvailable, 7);  // a.jpg, n1.jpg and c.jpg are different names
        f.Label13_Click();              // already there
        QCOMPARE(f.List3->count(), 2);
        QVERIFY(f.PointDir1("/pics/A"));  // same letters, other case: a folder of its own
        f.Label13_Click();
        QCOMPARE(Paths(f), (QStringList{"/pics/A+", "/pics/a+", graphics + "+"}));
        QCOMPARE(f.FilesAvailable, 8);

        // A comma, tab, CR or line feed cannot be stored (the file splits
        // its fields and lines there): refused with the folder's name and the
        // reason, and nothing in the list is lost.
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        for (const char* odd : {"a,b", "tab\there", "cr\rhere", "new\nline"}) {
            const QString path = "/pics/" + QString(odd);
            fs->AddFile(path, "n4.jpg");
            QVERIFY(f.PointDir1(path));
            d.dialogs->shown.clear();
            ClickAdd(f);
            QCOMPARE(f.List3->count(), 3);
            QCOMPARE(d.dialogs->shown.size(), size_t(1));
            QCOMPARE(d.dialogs->shown[0].title, QString("Tavimo"));
            const QString text = d.dialogs->shown[0].text;
            QVERIFY2(text.contains("/pics/" +
                                   QString(odd).replace(QRegularExpression("[\\t\\r\\n]"), "?")),
                     qPrintable(text));
            QVERIFY(text.contains(QString(odd).contains(',') ? "comma" : "line"));
        }
        QCOMPARE(Paths(f), (QStringList{"/pics/A+", "/pics/a+", graphics + "+"}));
        f.hide();

        // Unchecking rescans.
        f.List3->item(1)->setCheckState(Qt::Unchecked);
        QCOMPARE(f.FilesAvailable, 6);
        QCOMPARE(f.Label1->text(), QString("Files Available: 6"));
        f.List3->item(1)->setCheckState(Qt::Checked);
        QCOMPARE(f.FilesAvailable, 8);
        f.List3->item(1)->setCheckState(Qt::Unchecked);

        // Remove with nothing highlighted removes nothing but rescans.
        f.List3->setCurrentRow(-1);
        int calls = fs->listCalls;
        f.Label14_Click();
        QCOMPARE(f.List3->count(), 3);
        QVERIFY(fs->listCalls > calls);

        f.List3->setCurrentRow(0);
        f.Label14_Click();
        QCOMPARE(Paths(f), (QStringList{"/pics/a-", graphics + "+"}));
        QCOMPARE(f.FilesAvailable, 5);
        f.List3->setCurrentRow(0);
        f.Label14_Click();
        QCOMPARE(Paths(f), QStringList{graphics + "+"});
        // The last entry stays; the rescan still runs.
        f.List3->setCurrentRow(0);
        calls = fs->listCalls;
        f.Label14_Click();
        QCOMPARE(Paths(f), QStringList{graphics + "+"});
        QVERIFY(fs->listCalls > calls);

        // Nothing reaches dirs.txt before OK saves it.
        QCOMPARE(pf->Read("dirs.txt"), (graphics + "1,\r\n0\r\n").toUtf8());
        QVERIFY(f.SaveDirectoryList());
        QCOMPARE(pf->Read("dirs.txt"), (graphics + "1,\r\n0\r\n").toUtf8());
    }

    void addTakesTheHighlightedFolderNeverAnother() {
        const QString other = pf->File("Other"), locked = pf->File("Other/locked");
        fs->AddFile(other, "o.jpg");
        fs->AddFolder(locked);
        fs->SetError(locked, FsError::Other);
        Form1& f = Config();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QVERIFY(f.PointDir1(other));
        f.Dir1->expand(f.Dir1->currentIndex());
        const QModelIndex lockedIndex = f.Dir1Model->IndexOf(locked);
        QVERIFY(lockedIndex.isValid());
        f.Dir1->scrollTo(lockedIndex);
        QTest::mouseClick(f.Dir1->viewport(), Qt::LeftButton, {},
                          f.Dir1->visualRect(lockedIndex).center());
        QCOMPARE(f.Dir1->currentIndex(), lockedIndex);
        d.dialogs->shown.clear();
        ClickAdd(f);
        // Not its parent, the folder browsed before: the chosen one is named.
        QCOMPARE(Paths(f), QStringList{graphics + "+"});
        QCOMPARE(d.dialogs->shown.size(), size_t(1));
        QVERIFY2(d.dialogs->shown[0].text.contains(locked), qPrintable(d.dialogs->shown[0].text));
        // Once it can be read, the same highlight adds it.
        fs->ClearError(locked);
        fs->AddFile(locked, "l.jpg");
        QTest::mouseClick(f.Dir1->viewport(), Qt::LeftButton, {},
                          f.Dir1->visualRect(lockedIndex).center());
        ClickAdd(f);
        QCOMPARE(Paths(f), (QStringList{locked + "+", graphics + "+"}));
    }

    void aListThatCannotBeSavedIsReportedOnce() {
        Form1& f = Config();
        pf->Write("dirs.txt", "/pics/a1,\r\n0\r\n");
        fs->writeFault = {FakeFileSystem::Step::Close, ENOSPC};
        QVERIFY(!f.SaveDirectoryList());
        QCOMPARE(pf->Read("dirs.txt"), QByteArray("/pics/a1,\r\n0\r\n"));
        QCOMPARE(d.dialogs->shown.size(), size_t(1));
        QVERIFY(d.dialogs->shown[0].text.contains("dirs.txt"));
        QVERIFY(d.dialogs->shown[0].text.contains("disk full"));
    }

    void aDoubleClickOnRemoveTakesOnlyTheChosenFolder() {
        fs->AddFile("/pics/b", "b.jpg");
        pf->Write("dirs.txt", "/pics/a1,\r\n/pics/b1,\r\n" + graphics.toUtf8() + "1,\r\n0\r\n");
        Form1& f = Config();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QRect r = f.List3->visualItemRect(f.List3->item(0));
        QTest::mouseClick(f.List3->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(f.Label11->text(), QString("/pics/a"));
        // What a double-click delivers: press, release, double-click, release.
        const QPoint at = f.Label14->rect().center();
        QTest::mouseClick(f.Label14, Qt::LeftButton, {}, at);
        QTest::mouseDClick(f.Label14, Qt::LeftButton, {}, at);
        QTest::mouseRelease(f.Label14, Qt::LeftButton, {}, at);
        FlushDeletes();
        QCOMPARE(Paths(f), (QStringList{"/pics/b+", graphics + "+"}));
        // Nothing is highlighted or named afterwards, so Remove waits for a choice.
        QVERIFY(f.List3->selectedItems().isEmpty());
        QCOMPARE(f.List3->currentRow(), -1);
        QVERIFY(f.Label11->text().isEmpty());
        QTest::mouseClick(f.Label14, Qt::LeftButton, {}, f.Label14->rect().center());
        QCOMPARE(f.List3->count(), 2);
        QCOMPARE(f.FilesAvailable, 7);
    }

    // Add and Remove from the keyboard: Tab reaches them, Space and Return press them.
    void addAndRemoveWithTheKeyboardOnly() {
        Form1& f = Config();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.activateWindow();
        QVERIFY(f.PointDir1("/pics/a"));
        f.Dir1->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(f.Dir1->hasFocus());
        const auto tabTo = [](QWidget* target) {
            for (int i = 0; i < 20 && !target->hasFocus(); ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            return target->hasFocus();
        };
        // The labels draw no focus of their own: a frame shows around the one
        // that has it, and only while it has it.
        const QRect around = f.Label13->geometry();
        const QImage before = f.grab(around).toImage();
        const auto shownCues = [&f] {
            QList<QRect> shown;
            for (const auto* cue : f.findChildren<accessible::FocusCue*>())
                if (cue->isVisible()) shown << cue->geometry();
            return shown;
        };
        QVERIFY(tabTo(f.Label13));
        QCOMPARE(shownCues().size(), 1);
        QVERIFY(shownCues().first().contains(f.Label13->geometry()));
        QTRY_VERIFY(f.grab(around).toImage() != before);
        QTest::keyClick(f.Label13, Qt::Key_Space);
        QVERIFY(Paths(f).contains("/pics/a+"));
        QVERIFY(tabTo(f.List3));
        QVERIFY(shownCues().isEmpty());
        const int row = static_cast<int>(Paths(f).indexOf("/pics/a+"));
        QTest::keyClick(f.List3, Qt::Key_End);
        QTest::keyClick(f.List3, Qt::Key_Home);
        for (int i = 0; i < row; ++i) QTest::keyClick(f.List3, Qt::Key_Down);
        QCOMPARE(f.Label11->text(), QString("/pics/a"));
        QVERIFY(tabTo(f.Label14));
        QTest::keyClick(f.Label14, Qt::Key_Return);
        FlushDeletes();
        QVERIFY(!Paths(f).contains("/pics/a+"));
    }

    void foldersOnVolumesThatAreAwayStayInTheList() {
        fs->drives = {"/", "/media/card"};
        fs->mountPoints = {"/srv/share"};
        fs->AddFolder("/media/card");
        fs->AddFile("/media/card/dcim", "x.jpg");
        pf->Write("dirs.txt",
                  "/media/stick/pics1,\r\n"  // stick not plugged in
                  "/media/card/gone1,\r\n"   // card there, folder deleted
                  "/srv/share/photos0,\r\n"  // share not mounted
                  "/run/media/ann/CAM/dcim1,\r\n"
                  "/srv/denied1,\r\n" +  // not readable for us at start-up
                      graphics.toUtf8() +
                      "1,\r\n0\r\n");
        fs->AddFolder("/srv/denied");
        fs->SetError("/srv/denied", FsError::Other);
        Form1& f = Config();
        QCOMPARE(f.List3->count(), 5);
        const QStringList away = {"/media/stick/pics", "/srv/share/photos",
                                  "/run/media/ann/CAM/dcim", "/srv/denied"};
        for (int i = 0; i < 4; ++i) {
            QListWidgetItem* item = f.List3->item(i);
            QCOMPARE(item->text(), away[i]);
            QCOMPARE(item->checkState(), Qt::Unchecked);
            QVERIFY(!(item->flags() & Qt::ItemIsUserCheckable));
            QCOMPARE(item->toolTip(), QString("not available now"));
            QCOMPARE(item->foreground().color(),
                     f.palette().color(QPalette::Disabled, QPalette::Text));
        }
        // Not scanned: only the Graphics folder counts.
        QCOMPARE(f.FilesAvailable, 6);
        QCOMPARE(f.LastScan.readableFolders, QStringList{graphics});

        // A click on its box does not tick it.
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QRect r = f.List3->visualItemRect(f.List3->item(0));
        QTest::mouseClick(f.List3->viewport(), Qt::LeftButton, {},
                          QPoint(r.left() + 10, r.center().y()));
        QCOMPARE(f.List3->item(0)->checkState(), Qt::Unchecked);
        QCOMPARE(f.FilesAvailable, 6);

        // OK's save keeps them with their own flags; the deleted folder is gone.
        QVERIFY(f.SaveDirectoryList());
        QCOMPARE(pf->Read("dirs.txt"),
                 "/media/stick/pics1,\r\n/srv/share/photos0,\r\n"
                 "/run/media/ann/CAM/dcim1,\r\n/srv/denied1,\r\n" +
                     graphics.toUtf8() + "1,\r\n0\r\n");
    }

    void checkMarksSetWhileLoadingDoNotScan() {
        pf->Write("dirs.txt", "/pics/a1,\r\n/pics/A0,\r\n" + graphics.toUtf8() + "1,\r\n0\r\n");
        Form1& f = Config();
        QCOMPARE(Paths(f), (QStringList{"/pics/a+", "/pics/A-", graphics + "+"}));
        // One test per stored folder, the browser, then exactly one scan
        // reading the two included folders.
        QCOMPARE(fs->listCalls, 3 + 2 + 2);
    }

    void unavailableEntryClickedAnsweredNo() {
        fs->drives = {"/", "/media/card"};
        fs->AddFile("/media/card/dcim", "x.jpg");
        pf->Write("dirs.txt", "/media/card/dcim1,\r\n" + graphics.toUtf8() + "1,\r\n0\r\n");
        Form1& f = Config();
        QVERIFY(f.PointDir1("/pics/a"));
        fs->SetError("/media/card/dcim", FsError::DeviceUnavailable);
        d.dialogs->shown.clear();
        d.dialogs->answers = {Dialogs::Answer::Yes, Dialogs::Answer::No};
        const int calls = fs->listCalls;
        f.List3->setCurrentRow(0);  // a row changed without the mouse is a click
        QCOMPARE(d.dialogs->shown.size(), size_t(3));
        QCOMPARE(d.dialogs->shown[0].title, QString("Device Unavalable"));
        QCOMPARE(d.dialogs->shown[0].text, QString("Retry"));
        QCOMPARE(d.dialogs->shown[1].title, QString("Device Unavalable"));
        QCOMPARE(d.dialogs->shown[2].title, QString("Tavimo"));
        QCOMPARE(d.dialogs->shown[2].text, QString("68 Device unavailable"));
        QCOMPARE(Paths(f), QStringList{graphics + "+"});
        QCOMPARE(f.Dir1Path, graphics);
        QVERIFY(f.Label11->text().isEmpty());  // the removed entry is named no more
        // No rescan follows the removal: pointing at folders is all that ran.
        QCOMPARE(fs->listCalls - calls, 2 /* tries */ + 2 /* Graphics, its files */);
    }

    void checkingAnEntryOnAMissingMediumByMouse() {
        fs->drives = {"/", "/media/card"};
        fs->AddFile("/media/card/dcim", "x.jpg");
        pf->Write("dirs.txt", "/media/card/dcim0,\r\n" + graphics.toUtf8() + "1,\r\n0\r\n");
        Form1& f = Config();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        fs->SetError("/media/card/dcim", FsError::DeviceUnavailable);
        d.dialogs->answers = {Dialogs::Answer::No, Dialogs::Answer::No};
        // The check box sits at the left of the entry.
        const QRect r = f.List3->visualItemRect(f.List3->item(0));
        QTest::mouseClick(f.List3->viewport(), Qt::LeftButton, {},
                          QPoint(r.left() + 10, r.center().y()));
        FlushDeletes();
        QCOMPARE(Paths(f), QStringList{graphics + "+"});
        QVERIFY(!d.dialogs->shown.empty());
        QCOMPARE(d.dialogs->shown[0].title, QString("Device Unavalable /media/card"));
    }

    void otherFailuresOfAnEntryClickEndQuietly() {
        fs->AddFile("/gone", "x.jpg");
        pf->Write("dirs.txt", "/gone1,\r\n0\r\n");
        Form1& f = Config();
        fs->RemoveFolder("/gone");
        d.dialogs->shown.clear();
        const QString before = f.Dir1Path;
        f.List3->setCurrentRow(0);
        QVERIFY(d.dialogs->shown.empty());
        QCOMPARE(f.Dir1Path, before);
        QCOMPARE(f.List3->count(), 1);
    }

    void scanRemovesAnUnavailableFolderAnsweredNo() {
        fs->drives = {"/", "/media/card"};
        fs->AddFile("/media/card/dcim", "x.jpg");
        pf->Write("dirs.txt", "/media/card/dcim1,\r\n" + graphics.toUtf8() + "1,\r\n0\r\n");
        Form1& f = Config();
        fs->SetError("/media/card/dcim", FsError::DeviceUnavailable);
        d.dialogs->answers = {Dialogs::Answer::No};
        f.ScanFolders();
        QCOMPARE(Paths(f), QStringList{graphics + "+"});
        QCOMPARE(f.FilesAvailable, 6);
        QVERIFY(f.SaveDirectoryList());
        QCOMPARE(pf->Read("dirs.txt"), (graphics + "1,\r\n0\r\n").toUtf8());
    }

    void cancelRestoresTheTypeBoxesOnly() {
        Form1& f = Config();
        Form1::SetValue(f.All_Check, 1);
        Module1.FileTypeSnapshot = f.TakeFileTypeSnapshot();
        QCOMPARE(Module1.FileTypeSnapshot, QString("1111111"));
        f.show();
        f.GIF_Check->click();
        QCOMPARE(Types(f), QString("1011110"));
        QVERIFY(f.PointDir1("/pics/a"));
        f.Label13_Click();
        f.Combo1->setEditText("12");
        f.Command6_Click();
        QCOMPARE(Types(f), QString("1111111"));
        QCOMPARE(f.File2Pattern, QString(filetypes::AllPattern));
        QCOMPARE(f.FilesAvailable, 7);
        QCOMPARE(f.List3->count(), 2);
        QCOMPARE(f.Combo1->currentText(), QString("12"));
        QVERIFY(f.isHidden());
        QVERIFY(Forms::IfLoaded<Form2>() && Forms::IfLoaded<Form2>()->isVisible());

        // The other way round: only JPEG was on, the player chose all.
        Module1.FileTypeSnapshot = "0010000";
        Form1::SetValue(f.All_Check, 1);
        f.RestoreFileTypes();
        QCOMPARE(Types(f), QString("0010000"));
        QCOMPARE(f.File2Pattern, QString("*.JPG;*.JPEG;*.JPE;*.JFIF"));
        QCOMPARE(f.FilesAvailable, 3);
    }

    void escapeCancelsFromAnyControl() {
        Form1& f = Config();
        Form1::SetValue(f.All_Check, 1);
        Module1.FileTypeSnapshot = f.TakeFileTypeSnapshot();
        for (QWidget* w : {static_cast<QWidget*>(f.Combo1), static_cast<QWidget*>(f.Label6),
                           static_cast<QWidget*>(f.GIF_Check)}) {
            f.show();
            f.GIF_Check->click();
            QCOMPARE(Types(f), QString("1011110"));
            QTest::keyClick(w, Qt::Key_Escape);
            QCOMPARE(Types(f), QString("1111111"));
            QVERIFY(f.isHidden());
            QVERIFY(Forms::IfLoaded<Form2>() && Forms::IfLoaded<Form2>()->isVisible());
        }
    }

    void closeBoxKeepsTheWindow() {
        Form1& f = Config();
        Form1::SetValue(f.All_Check, 1);
        Module1.FileTypeSnapshot = "1111111";
        f.show();
        f.BMP_Check->click();
        // The game window the close brings up is put in front by the window
        // manager, as here.
        Form2& game = Forms::Get<Form1>().Game();
        game.show();
        game.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&game));
        QVERIFY(!f.close());
        FlushDeletes();
        QCOMPARE(Forms::IfLoaded<Form1>(), &f);
        QVERIFY(f.isVisible());
        // The configuration window stays in front of it, not behind (asked
        // at once: the game window's first tick may bring it forward later).
        QCOMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&f));
        QCOMPARE(Types(f), QString("1111111"));
        QVERIFY(Forms::IfLoaded<Form2>() && Forms::IfLoaded<Form2>()->isVisible());
    }

    void noSnapshotLeavesTheTypes() {
        Form1& f = Config();
        Form1::SetValue(f.All_Check, 1);
        f.BMP_Check->click();
        f.RestoreFileTypes();
        QCOMPARE(Types(f), QString("0111110"));
    }

    void boardSizeBox() {
        Form1& f = Config();
        f.show();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QLineEdit* edit = f.Combo1->lineEdit();
        edit->setFocus();
        edit->clear();
        QTest::keyClicks(f.Combo1, "5x");
        QCOMPARE(edit->text(), QString("5"));
        QTest::keyClicks(f.Combo1, "-7");
        QCOMPARE(edit->text(), QString("57"));
        QTest::keyClick(f.Combo1, Qt::Key_1);  // a third digit
        QCOMPARE(edit->text(), QString("57"));
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_3);  // over a selection
        QCOMPARE(edit->text(), QString("3"));
        f.Combo1_LostFocus();
        QCOMPARE(f.Combo1->currentText(), QString("4"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QString(""));
        f.Combo1_LostFocus();
        QCOMPARE(f.Combo1->currentText(), QString("8"));
        edit->setText("99");
        f.Combo1_LostFocus();
        QCOMPARE(f.Combo1->currentText(), QString("40"));
        edit->setText("17");
        f.Combo1_LostFocus();
        QCOMPARE(f.Combo1->currentText(), QString("17"));
        edit->setText("twelve");  // pasted
        f.Combo1_LostFocus();
        QCOMPARE(f.Combo1->currentText(), QString("8"));
        // Leaving by the focus runs the same rules.
        edit->setText("2");
        f.Command1->setFocus();
        QApplication::processEvents();
        QCOMPARE(f.Combo1->currentText(), QString("4"));
        // A pasted number out of range becomes the nearest size allowed.
        for (const auto& [pasted, kept] : {std::pair{"-5", "4"}, {"+12", "12"}, {"-0", "4"}}) {
            edit->setFocus();
            QApplication::clipboard()->setText(pasted);
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(edit->text(), QString(pasted));
            f.Command1->setFocus();
            QApplication::processEvents();
            QCOMPARE(f.Combo1->currentText(), QString(kept));
        }
    }

    void resizeFollowsTheGameWindow() {
        Form1& f = Config();
        Module1.WindowWidth = 11250;
        Module1.WindowHeight = 8400;
        Module1.WindowLeft = 150;
        Module1.WindowTop = 300;
        f.Resize();
        QCOMPARE(f.size(), QSize(750, 560));
        QCOMPARE(f.pos(), QPoint(10, 20));
        QCOMPARE(f.Frame2->width(), twips::ToPixels(2414.0 * 11250 / 9550));
        QCOMPARE(f.Combo1->width(), 41);
        QCOMPARE(f.Image1->geometry(), f.Shape2->geometry());
        QVERIFY(f.List3->x() - (f.Dir1->x() + f.Dir1->width()) >= 71);
        // "Add" and "Remove" are never cut off by the folder list.
        for (const auto& [w, h] :
             {std::pair{19100.0, 13505.0}, {9550.0, 6750.0}, {7000.0, 5000.0}}) {
            Module1.WindowWidth = w;
            Module1.WindowHeight = h;
            f.Resize();
            for (const QLabel* button : {f.Label13, f.Label14})
                QVERIFY2(button->x() + button->sizeHint().width() <= f.List3->x() + 1,
                         qPrintable(button->text().trimmed()));
            QVERIFY(f.List3->geometry().right() <= f.Shape1->geometry().right());
        }
    }

    void everyControlIsReachableOnALowScreen() {
        Form1& f = Config();
        f.show();
        const QRect screen = f.screen()->availableGeometry();
        // The smallest game window, the default one, one as wide as a
        // 1366 x 600 screen and as high as it allows, and one stored from a
        // taller screen.
        QStringList outside;
        for (const auto& [w, h] :
             {std::pair{6400.0, 6400.0}, {9550.0, 6750.0}, {20490.0, 8550.0}, {11000.0, 13505.0}}) {
            Module1.WindowWidth = w;
            Module1.WindowHeight = h;
            Module1.WindowLeft = Module1.WindowTop = 0;
            f.Resize();
            if (f.height() > screen.height()) outside << QString("window at %1").arg(h);
            for (QWidget* c : f.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (c->isWindow() || !c->isVisibleTo(&f) || c == f.Image1) continue;
                if (f.rect().contains(c->geometry())) continue;
                const auto* label = qobject_cast<QLabel*>(c);
                outside << QString("%1 \"%2\" at %3x%4")
                               .arg(c->metaObject()->className(), label ? label->text() : "")
                               .arg(w)
                               .arg(h);
            }
        }
        QVERIFY2(outside.isEmpty(), qPrintable(outside.join("; ")));
    }

    void driveThatFailsGoesBackToTheStartDrive() {
        fs->drives = {"/", "/dev/shm", "/media/cdrom", "/run/user/1000", "/etc/hosts"};
        fs->AddFolder("/");
        fs->AddFolder("/dev/shm");
        fs->AddFolder("/media/cdrom");
        fs->AddFolder("/run/user/1000");
        Form1& f = Config();
        QStringList offered;
        for (int i = 0; i < f.Drive1->count(); ++i) offered << f.Drive1->itemText(i);
        QCOMPARE(offered, (QStringList{"/", "/media/cdrom"}));
        QCOMPARE(f.StartDrive, QString("/"));
        fs->SetError("/media/cdrom", FsError::DeviceUnavailable);
        f.Drive1->setCurrentIndex(f.Drive1->findText("/media/cdrom"));
        d.dialogs->shown.clear();
        f.Drive1_Change();
        QCOMPARE(d.dialogs->shown.size(), size_t(1));
        QCOMPARE(d.dialogs->shown[0].title, QString("Tavimo"));
        QCOMPARE(d.dialogs->shown[0].text, QString("Device unavailable"));
        QCOMPARE(f.Drive1->currentText(), QString("/"));
        QCOMPARE(f.Dir1Path, QString("/"));
        // The drive list follows the folder the browser shows.
        fs->AddFile("/media/cdrom/photos", "p.jpg");
        QVERIFY(f.PointDir1("/media/cdrom/photos"));
        QCOMPARE(f.Drive1->currentText(), QString("/media/cdrom"));
        QVERIFY(f.PointDir1("/"));
        QCOMPARE(f.Drive1->currentText(), QString("/"));
        // A drive that works is browsed at its root.
        fs->ClearError("/media/cdrom");
        f.Drive1->setCurrentIndex(f.Drive1->findText("/media/cdrom"));
        f.Drive1_Change();
        QCOMPARE(f.Dir1Path, QString("/media/cdrom"));
        QCOMPARE(f.Label6->text(), QString("/media/cdrom"));
    }
};
TAVIMO_TEST(Form1FoldersTest);

// The preview, on real files.
class Form1PreviewTest : public QObject {
    Q_OBJECT
    Doubles d;
    std::unique_ptr<ProgramFolder> pf;

    void Picture(const QString& name, QColor colour) {
        QImage img(40, 30, QImage::Format_RGB32);
        img.fill(colour);
        const QString path = pf->File(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QVERIFY(img.save(path, "BMP"));
    }
    void ClickFile(Form1& f, const QString& name) {
        const auto items = f.File1->findItems(name, Qt::MatchExactly);
        QVERIFY(!items.isEmpty());
        f.File1->setCurrentItem(items[0]);  // without the mouse: a click
        QTRY_VERIFY(!f.PreviewDecoding.Busy());
    }
    void MouseClickFile(Form1& f, const QString& name) {
        const auto items = f.File1->findItems(name, Qt::MatchExactly);
        QVERIFY(!items.isEmpty());
        f.File1->scrollToItem(items[0]);
        QTest::mouseClick(f.File1->viewport(), Qt::LeftButton, {},
                          f.File1->visualItemRect(items[0]).center());
        QTRY_VERIFY(!f.PreviewDecoding.Busy());
    }
    Form1& Shown() {
        Form1& f = Config();
        f.show();
        f.activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(&f)); }();
        return f;
    }

private slots:
    void init() {
        d = InstallDoubles();
        pf = std::make_unique<ProgramFolder>();
        Picture("Graphics/a.bmp", Qt::red);
        Picture("Graphics/b.ico", Qt::green);  // decoded by content
        Picture("Graphics/c.Bmp", Qt::blue);
        Picture("Other/d.bmp", Qt::yellow);
    }
    void cleanup() { pf.reset(); }

    void clickWithPreviewOffOnlyRemembers() {
        Form1& f = Config();
        Form1::SetValue(f.All_Check, 1);
        ClickFile(f, "a.bmp");
        QCOMPARE(f.SelectedFile, QString("a.bmp"));
        QVERIFY(f.Label9->text().isEmpty());
        QVERIFY(!f.Image1Picture);
        Form1::SetValue(f.View, 1);
        QTRY_VERIFY(!f.PreviewDecoding.Busy());
        QCOMPARE(f.PreviewState, -1);
        QVERIFY(f.Image1->isVisibleTo(&f));
        QCOMPARE(f.Label9->text(), QString("a.bmp"));
        QVERIFY(f.Label9->isVisibleTo(&f));
        QVERIFY(f.Image1Picture);
        QCOMPARE(f.Image1Picture->file, pf->File("Graphics/a.bmp"));
        // Decoded at the preview's size, not at the file's.
        QVERIFY(f.Image1Picture->image.width() <= f.Image1->width());
        Form1::SetValue(f.View, 0);
        QCOMPARE(f.PreviewState, 1);
        QVERIFY(!f.Image1->isVisibleTo(&f));
        QVERIFY(!f.Label9->isVisibleTo(&f));
        // A stored odd value greys the box; set to on it is a plain box again.
        Form1::SetValue(f.View, 2);
        QCOMPARE(f.View->checkState(), Qt::PartiallyChecked);
        Form1::SetValue(f.View, 1);
        QVERIFY(!f.View->isTristate());
    }

    void clearingRules() {
        Form1& f = Config();
        Form1::SetValue(f.View, 1);
        Form1::SetValue(f.All_Check, 1);
        ClickFile(f, "b.ico");
        QCOMPARE(f.Label9->text(), QString("b.ico"));
        // "All Graphics" never clears the preview.
        Form1::SetValue(f.All_Check, 0);
        QCOMPARE(f.Label9->text(), QString("b.ico"));
        Form1::SetValue(f.All_Check, 1);
        QCOMPARE(f.Label9->text(), QString("b.ico"));
        // An ".ico" preview stays while "ICON" is checked.
        f.BMP_Check->click();  // All goes off
        QCOMPARE(f.Label9->text(), QString("b.ico"));
        QVERIFY(f.Image1Picture);
        // Unchecking its type clears it.
        f.ICN_Check->click();
        QVERIFY(f.Label9->text().isEmpty());
        QVERIFY(!f.Image1Picture);
        QVERIFY(f.Image1->pixmap().isNull());

        // A mixed-case extension matches no box: cleared by any type change.
        Form1::SetValue(f.BMP_Check, 1);
        ClickFile(f, "c.Bmp");
        QCOMPARE(f.Label9->text(), QString("c.Bmp"));
        Form1::SetValue(f.GIF_Check, 0);
        QVERIFY(f.Label9->text().isEmpty());
        ClickFile(f, "a.bmp");
        Form1::SetValue(f.GIF_Check, 1);
        QCOMPARE(f.Label9->text(), QString("a.bmp"));
        QVERIFY(f.Image1Picture);

        // Moving to another folder clears the preview and its caption.
        QVERIFY(f.PointDir1(pf->File("Other")));
        QVERIFY(f.Label9->text().isEmpty());
        QVERIFY(!f.Image1Picture);
        QCOMPARE(f.Label4->text(), QString("Files: 1"));
    }

    void previewClickHandsOverToTheViewer() {
        Form1& f = Config();
        f.show();
        Form1::SetValue(f.View, 1);
        Form1::SetValue(f.All_Check, 1);
        f.Image1_Click();  // no file clicked yet: nothing
        QVERIFY(!Forms::IfLoaded<Form3>());
        ClickFile(f, "a.bmp");
        f.Image1_Click();
        QCOMPARE(picturefile::Of(f.Image1), pf->File("Graphics/a.bmp"));
        QVERIFY(f.isHidden());
        Form3* viewer = Forms::IfLoaded<Form3>();
        QVERIFY(viewer && viewer->isVisible());
        // Named by the bare file name, the preview's file decoded again.
        QCOMPARE(viewer->windowTitle(), QString("a.bmp"));
        QTRY_VERIFY(viewer->FromFile);
        // Closing it brings this window back.
        viewer->close();
        QVERIFY(f.isVisible());
    }

    void vanishedFileIsReportedAndRescanned() {
        Form1& f = Config();
        Form1::SetValue(f.View, 1);
        Form1::SetValue(f.All_Check, 1);
        QCOMPARE(f.FilesAvailable, 3);
        QVERIFY(QFile::remove(pf->File("Graphics/a.bmp")));
        d.dialogs->shown.clear();
        ClickFile(f, "a.bmp");
        QCOMPARE(d.dialogs->shown.size(), size_t(1));
        QCOMPARE(d.dialogs->shown[0].title, QString("Tavimo"));
        QCOMPARE(d.dialogs->shown[0].text, QString("File not found 53"));
        QCOMPARE(f.FilesAvailable, 2);
        QVERIFY(f.File1->findItems("a.bmp", Qt::MatchExactly).isEmpty());
    }

    void fileThatIsNoPicture() {
        pf->Write("Graphics/bad.jpg", "not a picture at all");
        Form1& f = Config();
        Form1::SetValue(f.View, 1);
        Form1::SetValue(f.All_Check, 1);
        d.dialogs->shown.clear();
        ClickFile(f, "bad.jpg");
        QCOMPARE(d.dialogs->shown.size(), size_t(1));
        QCOMPARE(d.dialogs->shown[0].text, QString("Invalid picture 481"));
        QCOMPARE(f.FilesAvailable, 4);
        // Switching the preview on with it: no message, no caption, no old picture.
        ClickFile(f, "a.bmp");
        QVERIFY(f.Image1Picture);
        Form1::SetValue(f.View, 0);
        ClickFile(f, "bad.jpg");
        d.dialogs->shown.clear();
        Form1::SetValue(f.View, 1);
        QTRY_VERIFY(!f.PreviewDecoding.Busy());
        QVERIFY(d.dialogs->shown.empty());
        QVERIFY(!f.Label9->isVisibleTo(&f));
        QVERIFY(!f.Image1Picture);
    }

    void focusAloneNeverChangesTheChosenFile() {
        Form1& f = Shown();
        Form1::SetValue(f.View, 1);
        Form1::SetValue(f.All_Check, 1);
        MouseClickFile(f, "b.ico");
        QCOMPARE(f.Label9->text(), QString("b.ico"));
        // A type change lists the folder afresh; the preview stays, the list
        // has no current file.
        f.GIF_Check->click();
        QCOMPARE(f.Label9->text(), QString("b.ico"));
        QVERIFY(!f.File1->currentItem() || !f.File1->currentItem()->isSelected());
        // Tab into the file list.
        f.Dir1->setFocus();
        QTest::keyClick(f.Dir1, Qt::Key_Tab);
        QVERIFY(f.File1->hasFocus());
        QCOMPARE(f.SelectedFile, QString("b.ico"));
        QTest::mouseClick(f.Image1, Qt::LeftButton, {}, f.Image1->rect().center());
        Form3* viewer = Forms::IfLoaded<Form3>();
        QVERIFY(viewer);
        QCOMPARE(viewer->windowTitle(), QString("b.ico"));
        QCOMPARE(f.Image1Picture->file, pf->File("Graphics/b.ico"));
        viewer->close();
        FlushDeletes();
        // Keys that select a file do choose it, and the preview follows.
        f.activateWindow();
        f.File1->setFocus();
        QTest::keyClick(f.File1, Qt::Key_Down);
        QTRY_VERIFY(!f.PreviewDecoding.Busy());  // the preview decodes off this thread
        QCOMPARE(f.SelectedFile, f.File1->currentItem()->text());
        QCOMPARE(f.Label9->text(), f.SelectedFile);
        QVERIFY(f.Image1Picture);
        QCOMPARE(f.Image1Picture->file, pf->File("Graphics/" + f.SelectedFile));
    }

    void aBadFileClickedAfterAGoodOneLeavesThePreviewEmpty() {
        pf->Write("Graphics/zz_bad.jpg", QByteArray(600, '\x5a'));
        Form1& f = Shown();
        Form1::SetValue(f.View, 1);
        Form1::SetValue(f.All_Check, 1);
        MouseClickFile(f, "a.bmp");
        QVERIFY(f.Image1Picture);
        d.dialogs->shown.clear();
        MouseClickFile(f, "zz_bad.jpg");
        QCOMPARE(d.dialogs->shown.size(), size_t(1));
        QCOMPARE(d.dialogs->shown[0].text, QString("Invalid picture 481"));
        QVERIFY(!f.Image1Picture);
        QVERIFY(f.Image1->pixmap().isNull());
        QVERIFY(picturefile::Of(f.Image1).isEmpty());
        QVERIFY(!f.Label9->isVisibleTo(&f));
        // The empty preview opens no viewer with the old picture.
        QTest::mouseClick(f.Image1, Qt::LeftButton, {}, f.Image1->rect().center());
        QVERIFY(!Forms::IfLoaded<Form3>());
        QVERIFY(f.isVisible());
        // A good file afterwards shows again.
        MouseClickFile(f, "a.bmp");
        QVERIFY(f.Image1Picture);
        QVERIFY(f.Label9->isVisibleTo(&f));
    }

    void addKeepsTheBrowserAndThePreview() {
        Form1& f = Shown();
        Form1::SetValue(f.View, 1);
        Form1::SetValue(f.All_Check, 1);
        // A listed folder looked at first stays highlighted in the list ...
        QTest::mouseClick(f.List3->viewport(), Qt::LeftButton, {},
                          f.List3->visualItemRect(f.List3->item(0)).center());
        QCOMPARE(f.Dir1Path, pf->File("Graphics"));
        // ... while the player browses on and previews a picture elsewhere.
        QVERIFY(f.PointDir1(pf->File("Other")));
        MouseClickFile(f, "d.bmp");
        QVERIFY(f.Image1Picture);
        QTest::mouseClick(f.Label13, Qt::LeftButton, {}, f.Label13->rect().center());
        QApplication::processEvents();
        QCOMPARE(f.Folders().first().path, pf->File("Other"));
        QCOMPARE(f.Dir1Path, pf->File("Other"));
        QCOMPARE(f.Label9->text(), QString("d.bmp"));
        QVERIFY(f.Image1Picture);
        QCOMPARE(f.SelectedFile, QString("d.bmp"));
    }

    void namesThatLookLikeMarkupAreShownAsTheyAre() {
        Picture("<b>Folder/<b>bold.bmp", Qt::red);
        Form1& f = Shown();
        Form1::SetValue(f.View, 1);
        Form1::SetValue(f.All_Check, 1);
        const QString folder = pf->File("<b>Folder");
        QVERIFY(f.PointDir1(folder));
        MouseClickFile(f, "<b>bold.bmp");
        QCOMPARE(f.Label9->text(), QString("<b>bold.bmp"));
        QVERIFY(Literal(f.Label9));
        QTest::mouseClick(f.Label13, Qt::LeftButton, {}, f.Label13->rect().center());
        QCOMPARE(f.List3->item(0)->text(), folder);
        QCOMPARE(ToolTipShows(f.List3->item(0)->toolTip()), folder);
        QTest::mouseClick(f.List3->viewport(), Qt::LeftButton, {},
                          f.List3->visualItemRect(f.List3->item(0)).center());
        QVERIFY(f.Label11->text().endsWith("/<b>Folder"));
        QVERIFY(Literal(f.Label11));
    }

    void aLongFileNameStaysInsideThePreviewsBox() {
        const QString name = QString("a very long name for a picture file").repeated(3) + ".bmp";
        Picture("Graphics/" + name, Qt::red);
        Form1& f = Shown();
        Form1::SetValue(f.View, 1);
        Form1::SetValue(f.All_Check, 1);
        MouseClickFile(f, name);
        QCOMPARE(f.Label9->text(), name);  // the name itself is kept
        const QString shown = f.Label9->ShownText();
        QVERIFY(shown != name);
        QVERIFY(shown.endsWith(".bmp"));
        QVERIFY(QFontMetrics(f.Label9->font()).horizontalAdvance(shown) <=
                f.Label9->contentsRect().width());
        QVERIFY(f.Label9->geometry().right() <= f.Shape1->geometry().right());
    }

    void namesThatAreNoUtf8CanBeBrowsedAndOpened() {
        // An old archive: a folder and a picture named in Latin-1.
        const QByteArray folderBytes = QFile::encodeName(pf->File("Other")) + "/caf\xe9";
        QVERIFY(::mkdir(folderBytes.constData(), 0755) == 0);
        QImage img(40, 30, QImage::Format_RGB32);
        img.fill(Qt::magenta);
        QByteArray bmp;
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(img.save(&buffer, "BMP"));
        const QByteArray fileBytes = folderBytes + "/caf\xe9.bmp";
        const int fd = ::open(fileBytes.constData(), O_CREAT | O_WRONLY, 0644);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, bmp.constData(), size_t(bmp.size())), ssize_t(bmp.size()));
        ::close(fd);

        Form1& f = Shown();
        Form1::SetValue(f.View, 1);
        Form1::SetValue(f.All_Check, 1);
        QVERIFY(f.PointDir1(pf->File("Other")));
        f.Dir1->expand(f.Dir1->currentIndex());
        const QString folder = filenames::Decode(folderBytes);
        const QModelIndex row = f.Dir1Model->IndexOf(folder);
        QVERIFY(row.isValid());  // it appears in the browser
        const QString replaced = QString::fromUtf8("caf\xEF\xBF\xBD");
        QCOMPARE(row.data().toString(), replaced);
        f.Dir1->scrollTo(row);
        const QRect r = f.Dir1->visualRect(row);
        QTest::mouseClick(f.Dir1->viewport(), Qt::LeftButton, {},
                          QPoint(r.left() + 8, r.center().y()));
        QCOMPARE(f.Dir1Path, folder);  // and can be browsed
        QCOMPARE(f.File1->count(), 1);
        QCOMPARE(f.File1->item(0)->text(), replaced + ".bmp");
        d.dialogs->shown.clear();
        MouseClickFile(f, replaced + ".bmp");
        QVERIFY(d.dialogs->shown.empty());  // no "File not found 53"
        QVERIFY(f.Image1Picture);
        QCOMPARE(filenames::Encode(f.Image1Picture->file), fileBytes);
        QCOMPARE(f.Label9->text(), replaced + ".bmp");
        // The folder list is UTF-8 text and cannot keep these bytes: refused by name.
        QTest::mouseClick(f.Label13, Qt::LeftButton, {}, f.Label13->rect().center());
        QCOMPARE(f.List3->count(), 1);
        QCOMPARE(d.dialogs->shown.size(), size_t(1));
        QVERIFY(d.dialogs->shown[0].text.contains("/Other/" + replaced + " cannot be added"));
        QVERIFY(d.dialogs->shown[0].text.contains("UTF-8"));
    }

    void aDeepFolderShowsItsNameInTheBrowser() {
        QString deep = pf->File("Deep");
        for (int i = 1; i <= 14; ++i) deep += QString("/folder level %1").arg(i);
        QVERIFY(QDir().mkpath(deep));
        Form1& f = Shown();
        QVERIFY(f.PointDir1(deep));
        // The tree fills itself in the background.
        QTRY_COMPARE(f.Dir1Model->PathOf(f.Dir1->currentIndex()), deep);
        QTRY_VERIFY([&] {
            const QRect r = f.Dir1->visualRect(f.Dir1->currentIndex());
            return r.left() >= 0 && r.left() < f.Dir1->viewport()->width() / 2 && r.top() >= 0 &&
                   r.top() < f.Dir1->viewport()->height();
        }());
    }

    void theFolderCaptionTakesATypedOrPastedPath() {
        QVERIFY(QDir().mkpath(pf->File("Other/with a long name/and deeper still")));
        Form1& f = Shown();
        const QString target = pf->File("Other/with a long name/and deeper still");
        QApplication::clipboard()->setText(target);
        QTest::mouseClick(f.Label6, Qt::LeftButton, {}, f.Label6->rect().center());
        QVERIFY(f.Label6->hasFocus());
        QCOMPARE(f.Label6->text(), f.Dir1Path);  // whole while it is edited
        QTest::keyClick(f.Label6, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(f.Label6, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.Label6->text(), target);
        QTest::keyClick(f.Label6, Qt::Key_Return);
        QCOMPARE(f.Dir1Path, target);
        QVERIFY(!f.Label6->hasFocus());
        QCOMPARE(f.Label6->text(), ShortenPathCaption(target, 26));

        // A folder that is not there: a clear word, and the browser stays.
        f.Label6->setFocus(Qt::MouseFocusReason);
        f.Label6->selectAll();
        d.dialogs->shown.clear();
        QTest::keyClicks(f.Label6, "../no such folder");
        QTest::keyClick(f.Label6, Qt::Key_Return);
        QCOMPARE(d.dialogs->shown.size(), size_t(1));
        QCOMPARE(d.dialogs->shown[0].text,
                 "There is no folder " + pf->File("Other/with a long name/no such folder") + ".");
        QCOMPARE(f.Dir1Path, target);
        // The message box takes the focus away and gives it back: the typing stays.
        QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(f.Label6, &away);
        QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(f.Label6, &back);
        QCOMPARE(f.Label6->text(), QString("../no such folder"));
        // A relative path is taken from the browsed folder, "~" is home.
        QCOMPARE(FolderFromTyped("..", target, "/home/ann"), pf->File("Other/with a long name"));
        QCOMPARE(FolderFromTyped("~/Bilder/", target, "/home/ann"), QString("/home/ann/Bilder"));
        QCOMPARE(FolderFromTyped(" /a//b/./c/ ", target, "/home/ann"), QString("/a/b/c"));
    }

    void homeAndPicturesLeadTheDriveList() {
        const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
        const QString home = pf->File("home");
        QVERIFY(QDir().mkpath(home + "/.config"));
        QVERIFY(QDir().mkpath(home + "/Bilder/Urlaub"));
        pf->Write("home/.config/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
        qputenv("HOME", home.toUtf8());
        qputenv("XDG_CONFIG_HOME", (home + "/.config").toUtf8());
        Form1& f = Config();
        qputenv("HOME", oldHome);
        if (oldConfig.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", oldConfig);
        QVERIFY(f.Drive1->count() >= 3);
        QCOMPARE(f.Drive1->itemText(0), home);
        QCOMPARE(f.Drive1->itemText(1), home + "/Bilder");
        QCOMPARE(f.Drive1->itemText(2), QString("/"));
        // Chosen, the place is browsed and stays shown while the browser is inside it.
        f.Drive1->setCurrentIndex(1);
        f.Drive1_Change();
        QCOMPARE(f.Dir1Path, home + "/Bilder");
        QVERIFY(f.PointDir1(home + "/Bilder/Urlaub"));
        QCOMPARE(f.Drive1->currentText(), home + "/Bilder");
        QVERIFY(f.PointDir1(pf->File("Graphics")));
        QCOMPARE(f.Drive1->currentText(), f.StartDrive);
    }

    void pickingAFolderInTheTreeBrowsesIt() {
        Form1& f = Config();
        Form1::SetValue(f.All_Check, 1);
        const QModelIndex other = f.Dir1Model->IndexOf(pf->File("Other"));
        QVERIFY(other.isValid());
        f.Dir1->setCurrentIndex(other);
        QCOMPARE(f.Dir1Path, pf->File("Other"));
        QCOMPARE(f.File1->count(), 1);
        QCOMPARE(f.File1->item(0)->text(), QString("d.bmp"));
        QCOMPARE(f.Label4->text(), QString("Files: 1"));
        // "Add" takes the folder the tree shows.
        f.Label13_Click();
        QCOMPARE(f.Folders().first(), (FolderEntry{pf->File("Other"), true}));
        QCOMPARE(f.FilesAvailable, 4);
        // Code pointing the browser moves the tree's highlight along.
        QVERIFY(f.PointDir1(pf->File("Graphics")));
        QCOMPARE(f.Dir1Model->PathOf(f.Dir1->currentIndex()), pf->File("Graphics"));
    }

    void freshProgramFolderCountsTheGeneratedPictures() {
        pf.reset();
        pf = std::make_unique<ProgramFolder>(ProgramFolder::Graphics);
        const int generated =
            QDir(pf->File("Graphics"))
                .entryList({"*.bmp", "*.gif", "*.jpg", "*.ico", "*.wmf"}, QDir::Files)
                .size();
        QVERIFY(generated > 0);
        Form1& f = Config();
        Form1::SetValue(f.All_Check, 1);
        QCOMPARE(pf->Read("dirs.txt"), (pf->File("Graphics") + "1,\r\n0\r\n").toUtf8());
        QCOMPARE(f.Label1->text(), "Files Available: " + QString::number(generated));
    }
};
TAVIMO_TEST(Form1PreviewTest);

#include "tst_Form1.moc"
