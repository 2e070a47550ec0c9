#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <cerrno>

#include "TestSupport.h"
#include "config/DirectoryList.h"

// dirs.txt: format, the loading rules and every recovery path, with the
// folders in a fake file system and the file itself in a real program folder.
class DirectoryListTest : public QObject {
    Q_OBJECT
    Doubles d;
    FakeFileSystem* fs = nullptr;

private slots:
    void init() {
        d = InstallDoubles();
        fs = InstallFakeFileSystem();
    }

    void missingFileGetsTheDefaultGraphicsFolder() {
        ProgramFolder pf;
        fs->AddFile(pf.Path() + "/Graphics", "a.bmp");
        const QList<FolderEntry> list = dirlist::Load(pf.Path());
        QCOMPARE(list, (QList<FolderEntry>{{pf.Path() + "/Graphics", true}}));
        QCOMPARE(pf.Read("dirs.txt"), (pf.Path() + "/Graphics1,\r\n0\r\n").toUtf8());
        QVERIFY(d.dialogs->shown.empty());
    }

    void readingRules() {
        ProgramFolder pf;
        fs->AddFile("/pics/a", "x.jpg");
        fs->AddFile("/pics/b", "y.jpg");
        fs->AddFile("/", "root.gif");
        fs->AddFolder("/pics/empty");
        fs->AddFolder("/pics/onlysub");
        fs->AddFile("/pics/onlysub/inner", "z.jpg");
        fs->AddFile("/pics/hidden", ".secret.jpg");
        // A folder listed twice is taken once with its first flag, flags are
        // kept, an unflagged line loses its last character, empty, gone and
        // hidden-only folders drop out, LF works as well as CR LF, and
        // everything after the "0" line is ignored.
        pf.Write("dirs.txt",
                 "/pics/a1,\r\n/pics/b0,\r\n/pics/a0,\r\n/1,\r\n/pics/b,\r\n/pics/empty1,\n"
                 "/pics/onlysub1,\r\n/pics/hidden1,\r\n/pics/gone1,\r\n0\r\n/pics/b1,\r\n");
        const QList<FolderEntry> list = dirlist::Load(pf.Path());
        QCOMPARE(list, (QList<FolderEntry>{{"/pics/a", true}, {"/pics/b", false}, {"/", true}}));
        QVERIFY(d.dialogs->shown.empty());
    }

    void fileWithoutClosingZeroLoadsEverything() {
        ProgramFolder pf;
        fs->AddFile("/p", "x.jpg");
        fs->AddFile("/q", "y.jpg");
        pf.Write("dirs.txt", "/p1,\r\n/q0,");
        QCOMPARE(dirlist::Load(pf.Path()), (QList<FolderEntry>{{"/p", true}, {"/q", false}}));
        QVERIFY(d.dialogs->shown.empty());
    }

    void pathsThisSystemCannotNameAreSkipped() {
        ProgramFolder pf;
        fs->AddFile("/p", "x.jpg");
        pf.Write("dirs.txt", "C:\\Pics1,\r\n/p1,\r\n0\r\n");
        QCOMPARE(dirlist::Load(pf.Path()), (QList<FolderEntry>{{"/p", true}}));
        QVERIFY(d.dialogs->shown.empty());
    }

    void commaSplitsAStoredPathAndLosesIt() {
        ProgramFolder pf;
        fs->AddFile("/a,b", "x.jpg");
        pf.Write("dirs.txt", "/a,b1,\r\n0\r\n");
        QVERIFY(dirlist::Load(pf.Path()).isEmpty());
        QVERIFY(!dirlist::Storable("/a,b"));
        QVERIFY(dirlist::Storable("/a b/c"));
    }

    void unavailableDeviceKeepsTheListAndItsEntry() {
        // One device that is not ready no longer costs the player the whole list.
        ProgramFolder pf;
        fs->AddFile(pf.Path() + "/Graphics", "a.bmp");
        fs->AddFile("/p", "x.jpg");
        fs->AddFolder("/media/card");
        fs->SetError("/media/card", FsError::DeviceUnavailable);
        const QByteArray stored = "/p1,\r\n/media/card1,\r\n0\r\n";
        pf.Write("dirs.txt", stored);
        const QList<FolderEntry> list = dirlist::Load(pf.Path());
        QCOMPARE(list, (QList<FolderEntry>{{"/p", true}, {"/media/card", true, false}}));
        QVERIFY(d.dialogs->shown.empty());
        QCOMPARE(pf.Read("dirs.txt"), stored);
    }

    void foldersOnAbsentVolumesAreKeptOthersDropped() {
        ProgramFolder pf;
        fs->drives = {"/", "/run", "/media/card", "/home"};
        fs->mountPoints = {"/srv/share", "/home", "/mnt/backup"};
        fs->AddFile("/p", "x.jpg");
        pf.Write("dirs.txt",
                 "/media/stick/pics1,\r\n/media/card/gone1,\r\n/run/media/ann/CAM/dcim0,\r\n"
                 "/srv/share1,\r\n/srv/share/photos1,\r\n/home/ann/gone1,\r\n/mnt/backup/x1,\r\n"
                 "/opt/gone1,\r\n/p1,\r\n0\r\n");
        QCOMPARE(dirlist::Load(pf.Path()),
                 (QList<FolderEntry>{{"/media/stick/pics", true, false},
                                     {"/run/media/ann/CAM/dcim", false, false},
                                     {"/srv/share", true, false},
                                     {"/srv/share/photos", true, false},
                                     {"/mnt/backup/x", true, false},
                                     {"/p", true}}));
        QVERIFY(d.dialogs->shown.empty());
        // The rule by itself: a volume mounted where the path lies means the folder is gone.
        QVERIFY(dirlist::OnAbsentVolume("/mnt/stick/a", *fs));
        QVERIFY(!dirlist::OnAbsentVolume("/media/card/a", *fs));
        QVERIFY(!dirlist::OnAbsentVolume("/media", *fs));
        QVERIFY(!dirlist::OnAbsentVolume("/mediax/a", *fs));
        QVERIFY(!dirlist::OnAbsentVolume("/home/ann", *fs));
        fs->drives.append("/srv/share");
        QVERIFY(!dirlist::OnAbsentVolume("/srv/share/photos", *fs));

        // The stick is back: its folder is in use again, with its own flag.
        fs->drives.append("/media/stick");
        fs->AddFile("/media/stick/pics", "y.jpg");
        pf.Write("dirs.txt", "/media/stick/pics1,\r\n0\r\n");
        QCOMPARE(dirlist::Load(pf.Path()), (QList<FolderEntry>{{"/media/stick/pics", true}}));
    }

    void unreadableFolderIsKeptQuietlyAsNotAvailable() {
        ProgramFolder pf;
        fs->AddFile("/p", "x.jpg");
        fs->AddFolder("/locked");
        fs->SetError("/locked", FsError::Other);
        pf.Write("dirs.txt", "/locked1,\r\n/p1,\r\n0\r\n");
        QCOMPARE(dirlist::Load(pf.Path()),
                 (QList<FolderEntry>{{"/locked", true, false}, {"/p", true}}));
        QVERIFY(d.dialogs->shown.empty());
    }

    void unwritableFolderEndsWithTheDefaultFromMemory() {
        ProgramFolder pf;
        fs->AddFile(pf.Path() + "/Graphics", "a.bmp");
        // A folder where the file should be: the write fails for every user,
        // the superuser too, as a folder without write rights does for others.
        QVERIFY(QDir(pf.Path()).mkdir("dirs.txt"));
        const QList<FolderEntry> list = dirlist::Load(pf.Path());
        QVERIFY(!QFileInfo(pf.File("dirs.txt")).isFile());
        QCOMPARE(list, (QList<FolderEntry>{{pf.Path() + "/Graphics", true}}));
        QCOMPARE(d.dialogs->shown.size(), size_t(1));  // one message, no loop
        // The number and description as ever, then the file and the reason.
        const QString text = d.dialogs->shown[0].text;
        QVERIFY2(text.startsWith("75Path/File access error\n" + pf.File("dirs.txt") + ": "),
                 qPrintable(text));
        QVERIFY2(!text.contains("unknown error") && text.size() > text.indexOf(": ") + 3,
                 qPrintable(text));
    }

    void saveWritesOrderFlagsAndUtf8() {
        ProgramFolder pf;
        QString error;
        QVERIFY(dirlist::Save(
            pf.Path(), {{"/home/anna/Bilder/Sommerferien Ærø", true}, {"/", false}}, &error));
        QCOMPARE(pf.Read("dirs.txt"),
                 QString("/home/anna/Bilder/Sommerferien Ærø1,\r\n/0,\r\n0\r\n").toUtf8());
        // What is saved reads back the same.
        fs->AddFile("/home/anna/Bilder/Sommerferien Ærø", "x.jpg");
        fs->AddFile("/", "y.jpg");
        QCOMPARE(dirlist::Load(pf.Path()),
                 (QList<FolderEntry>{{"/home/anna/Bilder/Sommerferien Ærø", true}, {"/", false}}));
        QCOMPARE(dirlist::Format({}), QString("0\r\n"));
    }

    // A damaged file is kept for the player before the default replaces it.
    void damagedFilesAreKeptAside_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        static const char binary[] =
            "/p1,\r\n\x7f"
            "ELF\x02\x01\x01\0\0,\r\n0\r\n";
        QTest::newRow("binary") << QByteArray(binary, sizeof binary - 1) << "no text";
        QTest::newRow("long line")
            << "/p1,\r\n/" + QByteArray(dirlist::MaxLineBytes - 2, 'x') + "1,\r\n0\r\n"
            << "longer than 4096 bytes";
        QByteArray many;
        for (int i = 0; i <= dirlist::MaxEntries; ++i)
            many += "/p" + QByteArray::number(i) + "1,\r\n";
        QTest::newRow("1001 folders") << many + "0\r\n"
                                      << "more than 1000 folders";
    }
    void damagedFilesAreKeptAside() {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        ProgramFolder pf;
        fs->AddFile(pf.Path() + "/Graphics", "a.bmp");
        fs->AddFile("/p", "x.jpg");
        pf.Write("dirs.txt", content);
        QCOMPARE(dirlist::Load(pf.Path()), (QList<FolderEntry>{{pf.Path() + "/Graphics", true}}));
        QCOMPARE(pf.Read("dirs.txt.damaged"), content);
        QCOMPARE(pf.Read("dirs.txt"), (pf.Path() + "/Graphics1,\r\n0\r\n").toUtf8());
        QCOMPARE(d.dialogs->shown.size(), size_t(1));
        QVERIFY2(d.dialogs->shown[0].text.contains(reason), qPrintable(d.dialogs->shown[0].text));
        QVERIFY(d.dialogs->shown[0].text.contains("dirs.txt.damaged"));
    }

    // The bounds themselves are allowed, and a folder listed again and again
    // counts once: it is neither refused nor listed thousands of times.
    void boundsAreInclusiveAndRepeatsCountOnce() {
        ProgramFolder pf;
        const QString longPath = "/" + QString(dirlist::MaxLineBytes - 3, 'x');
        fs->AddFile(longPath, "x.jpg");
        QByteArray content = (longPath + "1,\r\n").toUtf8();
        QCOMPARE(content.size(), dirlist::MaxLineBytes + 2);
        for (int i = 1; i < dirlist::MaxEntries; ++i) {
            fs->AddFile("/p" + QString::number(i), "x.jpg");
            content += "/p" + QByteArray::number(i) + "1,\r\n";
        }
        for (int i = 0; i < 5000; ++i) content += "/p1" + QByteArray(i % 2 ? "0" : "1") + ",\r\n";
        pf.Write("dirs.txt", content + "0\r\n");
        const int before = fs->listCalls;
        const QList<FolderEntry> list = dirlist::Load(pf.Path());
        QCOMPARE(list.size(), dirlist::MaxEntries);
        QCOMPARE(list.first().path, longPath);
        QCOMPARE(list.count({"/p1", true}), 1);
        QCOMPARE(fs->listCalls - before, dirlist::MaxEntries);
        QVERIFY(d.dialogs->shown.empty());
        QVERIFY(!QFile::exists(pf.File("dirs.txt.damaged")));
    }

    void anOlderSingleBytePathSurvivesAndIsWrittenAsUtf8() {
        ProgramFolder pf;
        fs->AddFile(QString::fromUtf8("/home/josé/Bilder"), "x.jpg");
        fs->AddFile(QString::fromUtf8("/home/zoë"), "y.jpg");
        pf.Write("dirs.txt",
                 "/home/jos\xe9/Bilder1,\r\n/home/zo\xc3\xab"
                 "0,\r\n0\r\n");
        const QList<FolderEntry> list = dirlist::Load(pf.Path());
        QCOMPARE(list, (QList<FolderEntry>{{QString::fromUtf8("/home/josé/Bilder"), true},
                                           {QString::fromUtf8("/home/zoë"), false}}));
        QVERIFY(dirlist::Save(pf.Path(), list));
        QCOMPARE(pf.Read("dirs.txt"), QByteArray("/home/jos\xc3\xa9/Bilder1,\r\n/home/zo\xc3\xab"
                                                 "0,\r\n0\r\n"));
    }

    void aFullDiskKeepsTheSavedList() {
        ProgramFolder pf;
        pf.Write("dirs.txt", "/p1,\r\n0\r\n");
        fs->writeFault = {FakeFileSystem::Step::Write, ENOSPC, 3};
        QString error;
        QVERIFY(!dirlist::Save(pf.Path(), {{"/q", true}, {"/p", true}}, &error));
        QCOMPARE(error, QString("disk full"));
        QCOMPARE(pf.Read("dirs.txt"), QByteArray("/p1,\r\n0\r\n"));
        QCOMPARE(QDir(pf.Path()).entryList(QDir::Files), QStringList{"dirs.txt"});
    }

    void saveReportsAFolderThatCannotBeWritten() {
        QString error;
        QVERIFY(!dirlist::Save("/nonexistent-folder-for-tavimo", {{"/p", true}}, &error));
        QVERIFY(!error.isEmpty());
    }
};
TAVIMO_TEST(DirectoryListTest);

#include "tst_DirectoryList.moc"
