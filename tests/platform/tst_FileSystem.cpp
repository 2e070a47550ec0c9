#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTest>

#include "TestSupport.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"

class FileSystemTest : public QObject {
    Q_OBJECT
private slots:
    void patternsMatchWholeNamesWithoutCase() {
        const QString pattern = "*.bmp;*.gif;*.jpg;*.ico;*.wmf";
        QVERIFY(FileSystem::MatchesPattern("a.jpg", pattern));
        QVERIFY(FileSystem::MatchesPattern("PHOTO.JPG", pattern));
        QVERIFY(FileSystem::MatchesPattern("icon.Ico", pattern));
        QVERIFY(!FileSystem::MatchesPattern("photo.jpeg", pattern));
        QVERIFY(!FileSystem::MatchesPattern("a.jpg.txt", pattern));
        QVERIFY(!FileSystem::MatchesPattern("xjpg", pattern));
        QVERIFY(FileSystem::MatchesPattern("x.jpg", " *.jpg ;"));
        QVERIFY(!FileSystem::MatchesPattern("x.jpg", ""));
    }

    void realListingTakesOrdinaryVisibleFilesSorted() {
        ProgramFolder folder;
        for (const char* n : {"b.jpg", "A.JPG", "c.gif", ".hidden.jpg", "notes.txt", "d.jpeg"})
            folder.Write(QString("pics/") + n, "x");
        QDir(folder.Path()).mkpath("pics/sub.jpg");
        RealFileSystem fs;
        FsError err = FsError::Other;
        QCOMPARE(fs.ListFiles(folder.File("pics"), "*.jpg;*.gif", &err),
                 QStringList({"A.JPG", "b.jpg", "c.gif"}));
        QCOMPARE(err, FsError::None);
        QCOMPARE(fs.ListFolders(folder.File("pics")), QStringList({"sub.jpg"}));
        QVERIFY(fs.IsFile(folder.File("pics/b.jpg")));
        QVERIFY(!fs.IsFile(folder.File("pics/sub.jpg")));
        QVERIFY(fs.IsFolder(folder.File("pics/sub.jpg")));
    }

    void namesThatAreNoUtf8KeepTheirBytes() {
        // Latin-1, a cut sequence, an overlong slash, an encoded surrogate, a
        // byte that never starts one, and valid text beside them.
        const QList<QByteArray> names = {"caf\xe9",  "a\xc3",
                                         "\xc0\xaf", "\xed\xa0\x80",
                                         "\xff",     "na\xc3\xafve \xf0\x9f\x98\x80 \xe9t\xe9"};
        for (const QByteArray& bytes : names) {
            const QString name = filenames::Decode(bytes);
            QCOMPARE(filenames::Encode(name), bytes);
            QVERIFY(!filenames::Shown(name).contains(QChar(0xDCE9)));
        }
        QCOMPARE(filenames::Shown(filenames::Decode("caf\xe9")),
                 QString::fromUtf8("caf\xEF\xBF\xBD"));
        QCOMPARE(filenames::Decode("na\xc3\xafve"), QString::fromUtf8("na\xc3\xafve"));
        QVERIFY(!filenames::HasRawBytes(QString::fromUtf8("\xf0\x9f\x98\x80")));

        // Listed, the names lead back to the very files and folders.
        ProgramFolder folder;
        const QByteArray base = QFile::encodeName(folder.Path());
        QVERIFY(::mkdir(base + "/caf\xe9", 0755) == 0);
        QVERIFY(::close(::open(base + "/caf\xe9/caf\xe9.jpg", O_CREAT | O_WRONLY, 0644)) == 0);
        RealFileSystem fs;
        const QStringList folders = fs.ListFolders(folder.Path());
        QCOMPARE(folders.size(), 1);
        const QString inside = FileSystem::Join(folder.Path(), folders[0]);
        QVERIFY(fs.IsFolder(inside));
        const QStringList files = fs.ListFiles(inside, "*.jpg");
        QCOMPARE(files.size(), 1);
        QVERIFY(fs.IsFile(FileSystem::Join(inside, files[0])));
        QCOMPARE(filenames::Encode(FileSystem::Join(inside, files[0])),
                 base + "/caf\xe9/caf\xe9.jpg");
    }

    void realListingReportsMissingFolder() {
        ProgramFolder folder;
        RealFileSystem fs;
        FsError err = FsError::None;
        QVERIFY(fs.ListFiles(folder.File("gone"), "*.jpg", &err).isEmpty());
        QCOMPARE(err, FsError::NotFound);
    }

    void drivesIncludeTheRoot() {
        RealFileSystem fs;
        QVERIFY(fs.Drives().contains("/"));
        QCOMPARE(fs.DriveOf("/"), QString("/"));
    }

    void fakeInjectsErrors() {
        FakeFileSystem fs;
        fs.AddFile("/media/cd", "a.jpg");
        fs.AddFile("/media/cd/sub", "b.jpg");
        FsError err = FsError::None;
        QCOMPARE(fs.ListFiles("/media/cd/", "*.JPG", &err), QStringList({"a.jpg"}));
        QCOMPARE(fs.ListFolders("/media/cd"), QStringList({"sub"}));
        fs.SetError("/media/cd", FsError::DeviceUnavailable);
        QVERIFY(fs.ListFiles("/media/cd", "*.jpg", &err).isEmpty());
        QCOMPARE(err, FsError::DeviceUnavailable);
        QVERIFY(!fs.IsFile("/media/cd/a.jpg"));
        fs.ClearError("/media/cd");
        QVERIFY(fs.IsFile("/media/cd/a.jpg"));
        fs.ListFiles("/nowhere", "*.jpg", &err);
        QCOMPARE(err, FsError::NotFound);
    }

    void joinAddsOneSeparator() {
        QCOMPARE(FileSystem::Join("/a", "b.jpg"), QString("/a/b.jpg"));
        QCOMPARE(FileSystem::Join("/", "b.jpg"), QString("/b.jpg"));
        QCOMPARE(FileSystem::Join("/a/", "b.jpg"), QString("/a/b.jpg"));
    }

    void textFilesAreReplacedWhole() {
        ProgramFolder folder;
        const QString path = folder.File("dirs.txt");
        QVERIFY(textfile::WriteAtomic(path, QString::fromUtf8("/home/zoë/Bilder,1,\r\n0\r\n")));
        QString back;
        QVERIFY(textfile::Read(path, &back));
        QCOMPARE(back, QString::fromUtf8("/home/zoë/Bilder,1,\r\n0\r\n"));
        QVERIFY(!textfile::Read(folder.File("missing.txt"), &back));
        // A target that cannot be replaced fails and reports it.
        QDir(folder.Path()).mkdir("blocked.txt");
        QString error;
        QVERIFY(!textfile::WriteAtomic(folder.File("blocked.txt"), "x", &error));
        QVERIFY(!error.isEmpty());
    }

    void findsNamesWhateverTheirCase() {
        ProgramFolder folder;
        folder.Write("BEST.TXT", "x");
        QDir(folder.Path()).mkdir("backs");
        QCOMPARE(textfile::FindCaseInsensitive(folder.Path(), "best.txt"), folder.File("BEST.TXT"));
        QCOMPARE(textfile::FindCaseInsensitive(folder.Path(), "Backs"), folder.File("backs"));
        QCOMPARE(textfile::FindCaseInsensitive(folder.Path(), "none.txt"), folder.File("none.txt"));
    }
};
TAVIMO_TEST(FileSystemTest);

#include "tst_FileSystem.moc"
