#include <QTest>

#include "TestSupport.h"
#include "config/ConfigLayout.h"
#include "config/ConfigText.h"
#include "config/PictureScan.h"

// What the scan counts, and how it handles unavailable devices.
class PictureScanTest : public QObject {
    Q_OBJECT
    Doubles d;
    FakeFileSystem* fs = nullptr;

private slots:
    void init() {
        d = InstallDoubles();
        fs = InstallFakeFileSystem();
    }

    void countsDistinctNamesCaseSensitively() {
        fs->AddFile("/a", "cat.gif");
        fs->AddFile("/a", "cat.bmp");
        fs->AddFile("/b", "cat.gif");  // same name: counted once, /a wins
        fs->AddFile("/b", "Cat.gif");  // other case: counted
        fs->AddFile("/b", "bigcat.bmp");
        fs->AddFile("/b", "notes.txt");
        QList<FolderEntry> folders = {{"/a", true}, {"/b", true}};
        const ScanResult r = ScanFolders(folders, filetypes::AllPattern);
        QCOMPARE(r.readableFolders, (QStringList{"/a", "/b"}));
        QCOMPARE(r.availableNames, (QStringList{"cat.bmp", "cat.gif", "bigcat.bmp", "Cat.gif"}));
        QCOMPARE(r.FilesAvailable(), 4);
    }

    void patternIgnoresCaseButNotTheExtension() {
        fs->AddFile("/a", "photo.jpg");
        fs->AddFile("/a", "PHOTO2.JPG");
        fs->AddFile("/a", "photo.jpeg");
        fs->AddFile("/a", "x.bmp");
        fs->AddFile("/a", "photo.jpg.txt");
        QList<FolderEntry> folders = {{"/a", true}};
        const QString jpegOnly = filetypes::BuildPattern({false, false, true, false, false, false});
        QCOMPARE(jpegOnly, QString("*.JPG;*.JPEG;*.JPE;*.JFIF"));
        QCOMPARE(ScanFolders(folders, jpegOnly).availableNames,
                 (QStringList{"photo.jpeg", "photo.jpg", "PHOTO2.JPG"}));
    }

    // Every type the game reads is counted under its own box, in any letter
    // case, and by "All Graphics"; each box off drops exactly its own.
    void everyBoxCountsItsOwnTypes() {
        const QList<QStringList> byBox = {{"a.bmp", "B.BMP"},
                                          {"c.gif"},
                                          {"d.jpg", "e.JPEG", "f.jpe", "g.JFIF", "h.Jfif"},
                                          {"i.ico"},
                                          {"j.wmf"},
                                          {"k.png", "l.WEBP", "m.tif", "n.TIFF", "o.heic", "p.HEIF",
                                           "q.hif", "r.AVIF", "s.Png", "u.jxl", "v.JXL"}};
        int all = 0;
        for (const QStringList& names : byBox) {
            for (const QString& n : names) fs->AddFile("/p", n);
            all += int(names.size());
        }
        fs->AddFile("/p", "t.txt");
        fs->AddFile("/p", "u.jxr");
        QList<FolderEntry> folders = {{"/p", true}};
        QCOMPARE(ScanFolders(folders, filetypes::AllPattern).FilesAvailable(), all);
        std::array<bool, filetypes::Count> on;
        on.fill(true);
        QCOMPARE(ScanFolders(folders, filetypes::BuildPattern(on)).FilesAvailable(), all);
        for (int box = 0; box < filetypes::Count; ++box) {
            on.fill(true);
            on[box] = false;
            QCOMPARE(ScanFolders(folders, filetypes::BuildPattern(on)).FilesAvailable(),
                     all - int(byBox[box].size()));
            on.fill(false);
            on[box] = true;
            QCOMPARE(ScanFolders(folders, filetypes::BuildPattern(on)).availableNames, byBox[box]);
            for (const QString& n : byBox[box]) QCOMPARE(filetypes::BoxOfExtension(n), box);
        }
    }

    void whichFoldersAreReadable() {
        fs->AddFile("/other", "readme.txt");  // readable, adds nothing
        fs->AddFile("/sub/inner", "x.gif");   // /sub only holds a folder
        fs->AddFolder("/sub");
        fs->AddFile("/hidden", ".x.gif");  // only hidden files
        fs->AddFile("/off", "y.gif");      // not included
        fs->AddFolder("/gone");
        fs->SetError("/gone", FsError::NotFound);
        fs->AddFolder("/locked");
        fs->SetError("/locked", FsError::Other);
        QList<FolderEntry> folders = {{"/other", true}, {"/sub", true},  {"/hidden", true},
                                      {"/off", false},  {"/gone", true}, {"/locked", true}};
        const ScanResult r = ScanFolders(folders, filetypes::AllPattern);
        QCOMPARE(r.readableFolders, QStringList{"/other"});
        QCOMPARE(r.FilesAvailable(), 0);
        QCOMPARE(folders.size(), 6);
        QVERIFY(d.dialogs->shown.empty());
        QList<FolderEntry> none = {{"/off", false}};
        QCOMPARE(ScanFolders(none, filetypes::AllPattern).FilesAvailable(), 0);
    }

    void unavailableDeviceAnsweredNoRemovesTheEntry() {
        fs->drives = {"/", "/media/card", "/media/stick"};
        fs->AddFolder("/media/card/dcim");
        fs->SetError("/media/card/dcim", FsError::DeviceUnavailable);
        fs->AddFolder("/media/stick/pics");
        fs->SetError("/media/stick/pics", FsError::DeviceUnavailable);
        fs->AddFile("/p", "a.gif");
        fs->AddFolder("/media/off");
        fs->SetError("/media/off", FsError::DeviceUnavailable);
        // Two unavailable entries in a row: the second moves up and is still asked about.
        QList<FolderEntry> folders = {{"/media/off", false},
                                      {"/media/card/dcim", true},
                                      {"/media/stick/pics", true},
                                      {"/p", true}};
        d.dialogs->answers = {Dialogs::Answer::No, Dialogs::Answer::No};
        QList<int> removed;
        const ScanResult r = ScanFolders(folders, filetypes::AllPattern, &removed);
        QCOMPARE(removed, (QList<int>{1, 1}));
        QCOMPARE(folders, (QList<FolderEntry>{{"/media/off", false}, {"/p", true}}));
        QCOMPARE(r.FilesAvailable(), 1);
        QCOMPARE(d.dialogs->shown.size(), size_t(2));  // the unchecked one was never touched
        QCOMPARE(d.dialogs->shown[0].title, QString("Device Unavalable /media/card"));
        QCOMPARE(d.dialogs->shown[0].text, QString("Retry"));
        QCOMPARE(d.dialogs->shown[0].buttons, Dialogs::Buttons::YesNo);
        QCOMPARE(d.dialogs->shown[1].title, QString("Device Unavalable /media/stick"));
    }

    void unavailableDeviceAnsweredYesScansAgain() {
        fs->drives = {"/", "/media/card"};
        fs->AddFile("/p", "a.gif");
        fs->AddFile("/media/card", "b.gif");
        fs->SetError("/media/card", FsError::DeviceUnavailable);
        QList<FolderEntry> folders = {{"/p", true}, {"/media/card", true}};
        // The card is put in while the question is up.
        struct InsertOnAsk : Dialogs {
            FakeFileSystem* fs;
            int asked = 0;
            Answer Message(const QString&, const QString&, Buttons) override {
                ++asked;
                fs->ClearError("/media/card");
                return Answer::Yes;
            }
        };
        auto dialogs = std::make_unique<InsertOnAsk>();
        dialogs->fs = fs;
        InsertOnAsk* ask = dialogs.get();
        platform().dialogs = std::move(dialogs);
        const ScanResult r = ScanFolders(folders, filetypes::AllPattern);
        QCOMPARE(ask->asked, 1);
        QCOMPARE(r.readableFolders, (QStringList{"/p", "/media/card"}));  // not "/p" twice
        QCOMPARE(r.FilesAvailable(), 2);
        QCOMPARE(folders.size(), 2);
    }

    void typeRules() {
        QCOMPARE(filetypes::BuildPattern({false, true, false, false, true, false}),
                 QString("*.GIF;*.WMF"));
        QVERIFY(filetypes::BuildPattern({}).isEmpty());
        QCOMPARE(filetypes::BoxOfExtension("sun.ico"), 3);
        QCOMPARE(filetypes::BoxOfExtension("SUN.WMF"), 4);
        QCOMPARE(filetypes::BoxOfExtension("sun.Bmp"), -1);  // mixed case matches no box
        QCOMPARE(filetypes::BoxOfExtension("photo.JpEg"), 2);
        QCOMPARE(filetypes::BoxOfExtension("photo.Heic"), 5);
        QCOMPARE(filetypes::BoxOfExtension("heic"), -1);
        QCOMPARE(filetypes::BoxOfExtension(""), -1);
        QCOMPARE(filetypes::Snapshot({true, false, true, false, false, false, true}),
                 QString("1010001"));
        const auto back = filetypes::FromSnapshot("010");
        QCOMPARE(back, (std::array<bool, 7>{false, true, false, false, false, false, false}));
    }
};
TAVIMO_TEST(PictureScanTest);

// Captions, the board-size box and the window's geometry.
class ConfigTextTest : public QObject {
    Q_OBJECT
private slots:
    void shortenPathCaption() {
        // The documented examples, spelled with "/".
        QCOMPARE(ShortenPathCaption("/d/Pictures/Family/Summer holiday", 29),
                 QString("/d/Pictures.../Summer holiday"));
        QCOMPARE(ShortenPathCaption("/d/Pictures/Family/Christmas at the lake house", 29),
                 QString("/.../Christmas at the lake..."));
        QCOMPARE(ShortenPathCaption("/d/Pictures/Family/Summer holiday", 26),
                 QString("/d/Pictu.../Summer holiday"));
        const QString p29 = "/home/anna/Pictures/Holiday22";
        QCOMPARE(p29.size(), 29);
        QCOMPARE(ShortenPathCaption(p29, 29), p29);
        const QString p30 = p29 + "x";
        QCOMPARE(ShortenPathCaption(p30, 29), QString("/home/anna/Pict.../Holiday22x"));
        QCOMPARE(ShortenPathCaption(p30, 29).size(), 29);
        // Every shortened caption is exactly as long as asked.
        for (const QString& p :
             {QString("/media/anna/USB STICK WITH A LONG NAME/"),
              QString("/a/b/c/d/e/f/g/h/i/j/k/l/m/n/o/p"),
              QString("/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"),
              QString("/x/") + QString(30, 'y'), QString("/x/") + QString(21, 'y')})
            for (int len : {26, 29})
                QCOMPARE(ShortenPathCaption(p, len).size(), std::min<qsizetype>(p.size(), len));
    }

    void boardSizeKeys() {
        QVERIFY(BoardSizeKeyAccepted('5', false, 0, false));
        QVERIFY(BoardSizeKeyAccepted('0', false, 1, false));
        QVERIFY(!BoardSizeKeyAccepted('1', false, 2, false));    // "40" and a third digit
        QVERIFY(BoardSizeKeyAccepted('1', false, 2, true));      // typing over a selection
        QVERIFY(BoardSizeKeyAccepted(QChar(), true, 2, false));  // Backspace
        QVERIFY(!BoardSizeKeyAccepted('a', false, 0, false));
        QVERIFY(!BoardSizeKeyAccepted('-', false, 0, true));
        QVERIFY(!BoardSizeKeyAccepted(' ', false, 0, false));
    }

    void boardSizeOnLeave() {
        QCOMPARE(BoardSizeOnLeave("5"), QString("5"));
        QCOMPARE(BoardSizeOnLeave("3"), QString("4"));
        QCOMPARE(BoardSizeOnLeave("0"), QString("4"));
        QCOMPARE(BoardSizeOnLeave("99"), QString("40"));
        QCOMPARE(BoardSizeOnLeave("41"), QString("40"));
        QCOMPARE(BoardSizeOnLeave("40"), QString("40"));
        QCOMPARE(BoardSizeOnLeave("4"), QString("4"));
        QCOMPARE(BoardSizeOnLeave(""), QString("8"));
        QCOMPARE(BoardSizeOnLeave("abc"), QString("8"));  // pasted
        QCOMPARE(BoardSizeOnLeave("1e3"), QString("8"));
        QCOMPARE(BoardSizeOnLeave("-5"), QString("4"));  // the nearest size allowed
        QCOMPARE(BoardSizeOnLeave("12.5"), QString("8"));
        QCOMPARE(BoardSizeOnLeave("123456789012345678901"), QString("40"));
    }

    void layoutAtTheDefaultSizeMatchesTheDesign() {
        const ConfigLayout c = ComputeConfigLayout(9550, 6750, 315);
        auto near = [](double a, double b) { return std::abs(a - b) < 2; };
        QVERIFY(near(c.Label8.top, 1320));
        QVERIFY(near(c.Frame1.top, 1560));
        // The sixth type box's row moves "All Graphics" down; OK and Cancel stay.
        QVERIFY(near(c.TypeBox[5].top, 2040));
        QVERIFY(near(c.All_Check.top, 3960));
        QVERIFY(near(c.Command1.top, 4920));
        QVERIFY(near(c.Command6.left, 1320));
        QVERIFY(near(c.Shape1.left, 2640));
        QVERIFY(near(c.Label2.top, 360));
        QVERIFY(near(c.Drive1.top, 600));
        QVERIFY(near(c.Label3.top, 1080));
        QVERIFY(near(c.Label6.top, 1320));
        QVERIFY(near(c.Dir1.top, 1560));
        QVERIFY(near(c.Label4.top, 3360));
        QVERIFY(near(c.File1.top, 3600));
        QVERIFY(near(c.List3.left, 6120));
        QVERIFY(near(c.Label12.top, 840));
        QVERIFY(near(c.Label1.top, 1080));
        QVERIFY(near(c.Label11.top, 1320));
        QVERIFY(near(c.Label13.left, 5040));
        QVERIFY(near(c.Label13.top, 1680));
        QVERIFY(near(c.Label14.top, 2160));
        QVERIFY(near(c.Label9.top, c.Shape2.bottom() + 105));
        QVERIFY(near(c.File1.width, 9550.0 / 9440 * 2430));
        QVERIFY(near(c.Shape2.left, c.File1.right() + 225));
        QCOMPARE(c.Combo1.width, 615.0);
    }

    void layoutScalesSizesAndKeepsGaps() {
        const ConfigLayout c = ComputeConfigLayout(19100, 13505, 315);
        QCOMPARE(c.Frame2.width, 2414.0 * 2);
        QCOMPARE(c.Combo1.width, 615.0);
        QCOMPARE(c.Drive1.height, 315.0);
        QCOMPARE(c.List3.left - c.Dir1.right(), 1065.0);
        QCOMPARE(c.Shape1.left - c.Frame2.right(), 105.0);
        QCOMPARE(c.Command1.top - c.All_Check.bottom(), 465.0);
        QCOMPARE(c.Label3.top - c.Drive1.bottom(), 165.0);
        QCOMPARE(c.Label4.top - c.Dir1.bottom(), 135.0);
        QCOMPARE(c.File1.width, 19100.0 / 9440 * 2430);
        QCOMPARE(c.File1.height, 13505.0 / 6750 * 1815);
        // Nothing leaves the browsing frame.
        QVERIFY(c.File1.bottom() <= c.Shape1.bottom());
        QVERIFY(c.List3.right() <= c.Shape1.right());
        QVERIFY(c.View.bottom() <= c.Shape1.bottom());
    }
};
TAVIMO_TEST(ConfigTextTest);

#include "tst_PictureScan.moc"
