#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTest>
#include <cerrno>

#include "TestSupport.h"
#include "app/GamePaths.h"
#include "app/Module1.h"
#include "config/DirectoryList.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"
#include "scores/HighScoreTable.h"

using Step = FakeFileSystem::Step;
Q_DECLARE_METATYPE(FakeFileSystem::WriteFault)

namespace {
// Everything in the folder but the files a test put there itself.
QStringList Leftovers(const QString& folder, const QStringList& expected) {
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString& e : expected) names.removeAll(e);
    return names;
}

// A small tmpfs over a fresh folder, for as long as the object lives.
class SmallDisk {
public:
    explicit SmallDisk(const QString& where) : path_(where) {
        QDir().mkpath(where);
        mounted_ =
            ::mount("tmpfs", QFile::encodeName(where).constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(QFile::encodeName(path_).constData(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    // Writes a filler file until the disk refuses another byte.
    bool Fill() const {
        const int fd = ::open(QFile::encodeName(path_ + "/filler").constData(),
                              O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) return false;
        const QByteArray chunk(512, 'f');
        int err = 0;
        while (err == 0) err = ::write(fd, chunk.constData(), chunk.size()) < 0 ? errno : 0;
        ::close(fd);
        return err == ENOSPC;
    }

private:
    QString path_;
    bool mounted_ = false;
};
}  // namespace

// Reading with its encodings and bounds, the checked atomic write, and the
// cleanup of what an interrupted save leaves behind.
class TextFileTest : public QObject {
    Q_OBJECT
private slots:
    void init() { InstallDoubles(); }

    void linesAreUtf8OrWindows1252() {
        // Each line on its own: an older line beside a UTF-8 one keeps both.
        QCOMPARE(textfile::Decode("Jos\xe9,8\r\nZo\xc3\xab,9\r\n"),
                 QString::fromUtf8("José,8\r\nZoë,9\r\n"));
        // The 0x80-0x9F block is Windows-1252, not Latin-1 controls.
        QCOMPARE(textfile::DecodeLine("\x80 \x93q\x94 \x9f"), QString::fromUtf8("€ “q” Ÿ"));
        // An overlong or cut UTF-8 sequence is no UTF-8.
        QCOMPARE(textfile::DecodeLine("\xc0\xaf"), QString::fromUtf8("À¯"));
        QCOMPARE(textfile::DecodeLine("caf\xc3"), QString::fromUtf8("cafÃ"));
        QCOMPARE(textfile::Decode(""), QString());

        ProgramFolder folder;
        folder.Write("old.txt", "Jos\xe9\r\n");
        QString text;
        QVERIFY(textfile::Read(folder.File("old.txt"), &text));
        QCOMPARE(text, QString::fromUtf8("José\r\n"));
    }

    void readsUpToTheCapOnly() {
        ProgramFolder folder;
        folder.Write("at.txt", QByteArray(textfile::MaxDataFileBytes, 'x'));
        folder.Write("over.txt", QByteArray(textfile::MaxDataFileBytes + 1, 'x'));
        QString text;
        QCOMPARE(textfile::ReadLimited(folder.File("at.txt"), textfile::MaxDataFileBytes, &text),
                 textfile::ReadResult::Ok);
        QCOMPARE(text.size(), textfile::MaxDataFileBytes);
        QCOMPARE(textfile::ReadLimited(folder.File("over.txt"), textfile::MaxDataFileBytes, &text),
                 textfile::ReadResult::TooLarge);
        QCOMPARE(textfile::ReadLimited(folder.File("none.txt"), 10, &text),
                 textfile::ReadResult::Missing);
    }

    void aFailingStepKeepsTheOldFile_data() {
        QTest::addColumn<FakeFileSystem::WriteFault>("fault");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no room for a new file")
            << FakeFileSystem::WriteFault{Step::CreateNew, ENOSPC} << "disk full";
        QTest::newRow("write refused half-way")
            << FakeFileSystem::WriteFault{Step::Write, ENOSPC, 10} << "disk full";
        // What a buffered writer does on a full disk: it claims every byte.
        QTest::newRow("bytes lost silently")
            << FakeFileSystem::WriteFault{Step::Write, 0, 10, true} << "disk full";
        QTest::newRow("sync fails") << FakeFileSystem::WriteFault{Step::Sync, EIO} << "disk";
        QTest::newRow("size unknown") << FakeFileSystem::WriteFault{Step::SizeOf, EIO} << "disk";
        QTest::newRow("close reports the full disk")
            << FakeFileSystem::WriteFault{Step::Close, ENOSPC} << "disk full";
        QTest::newRow("rename refused")
            << FakeFileSystem::WriteFault{Step::Rename, EACCES} << "permission denied";
    }
    void aFailingStepKeepsTheOldFile() {
        QFETCH(FakeFileSystem::WriteFault, fault);
        QFETCH(QString, reason);
        ProgramFolder folder;
        const QByteArray old = "1,1,Sky.jpg,1,1,0,10,9550,6750,9435,6000\r\n";
        folder.Write("init.txt", old);
        FakeFileSystem* fs = InstallFakeFileSystem();
        fs->writeFault = fault;
        QString error;
        QVERIFY(!textfile::WriteAtomic(folder.File("init.txt"),
                                       "0,0,Forest.jpg,3,1,300,200,12000,9000,1,1\r\n", &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QCOMPARE(folder.Read("init.txt"), old);
        QCOMPARE(Leftovers(folder.Path(), {"init.txt"}), QStringList());

        // The same disk, once it has room again, takes the file.
        fs->writeFault = {};
        QVERIFY(textfile::WriteAtomic(folder.File("init.txt"), "new\r\n", &error));
        QCOMPARE(folder.Read("init.txt"), QByteArray("new\r\n"));
        QCOMPARE(Leftovers(folder.Path(), {"init.txt"}), QStringList());
        QVERIFY(fs->created.last().contains("init.txt.tmp-"));
    }

    // Start-up saves the folder list as read; on a full disk that must not
    // fail, nor nag the player at every start.
    void unchangedContentNeedsNoWrite() {
        ProgramFolder folder;
        folder.Write("dirs.txt", "/p1,\r\n0\r\n");
        FakeFileSystem* fs = InstallFakeFileSystem();
        fs->writeFault = {Step::CreateNew, ENOSPC};
        QString error;
        QVERIFY(textfile::WriteAtomic(folder.File("dirs.txt"), "/p1,\r\n0\r\n", &error));
        QVERIFY(!textfile::WriteAtomic(folder.File("dirs.txt"), "/p0,\r\n0\r\n", &error));
        QCOMPARE(folder.Read("dirs.txt"), QByteArray("/p1,\r\n0\r\n"));
    }

    void aWriteReplacesTheFileALinkNames() {
        ProgramFolder folder;
        folder.Write("real.txt", "old");
        QVERIFY(QFile::link(folder.File("real.txt"), folder.File("best.txt")));
        QVERIFY(textfile::WriteAtomic(folder.File("best.txt"), "new"));
        QVERIFY(QFileInfo(folder.File("best.txt")).isSymLink());
        QCOMPARE(folder.Read("real.txt"), QByteArray("new"));
    }

    // The file replaced is still the player's: same mode, same owner, and a
    // protected file or a link to nowhere is refused, never replaced.
    void aWriteKeepsModeOwnerAndProtection() {
        ProgramFolder folder;
        const auto mode = [&](const QString& name) {
            struct stat st {};
            return ::lstat(QFile::encodeName(folder.File(name)).constData(), &st) == 0
                       ? int(st.st_mode & 07777)
                       : -1;
        };
        folder.Write("dirs.txt", "old");
        QVERIFY(::chmod(QFile::encodeName(folder.File("dirs.txt")).constData(), 0600) == 0);
        QVERIFY(textfile::WriteAtomic(folder.File("dirs.txt"), "new"));
        QCOMPARE(folder.Read("dirs.txt"), QByteArray("new"));
        QCOMPARE(mode("dirs.txt"), 0600);

        // Read-only for everybody: refused even for root, who could write it.
        folder.Write("best.txt", "old");
        QVERIFY(::chmod(QFile::encodeName(folder.File("best.txt")).constData(), 0444) == 0);
        QString error;
        QVERIFY(!textfile::WriteAtomic(folder.File("best.txt"), "new", &error));
        QCOMPARE(error, QString("the file is read-only"));
        QCOMPARE(folder.Read("best.txt"), QByteArray("old"));
        QCOMPARE(mode("best.txt"), 0444);

        // A link to a file that does not exist would make one elsewhere.
        const QString elsewhere = folder.File("elsewhere/init.txt");
        QVERIFY(QDir().mkpath(folder.File("elsewhere")));
        QVERIFY(::symlink(QFile::encodeName(elsewhere).constData(),
                          QFile::encodeName(folder.File("init.txt")).constData()) == 0);
        QVERIFY(!textfile::WriteAtomic(folder.File("init.txt"), "new", &error));
        QCOMPARE(error, QString("it is a link to a file that does not exist"));
        QVERIFY(!QFileInfo::exists(elsewhere));
        QCOMPARE(QFileInfo(folder.File("init.txt")).symLinkTarget(), elsewhere);
        QCOMPARE(Leftovers(folder.Path(), {"dirs.txt", "best.txt", "init.txt"}), QStringList());
        QVERIFY(QDir(folder.File("elsewhere")).isEmpty());

        if (::geteuid() != 0) QSKIP("giving a file to another user needs root");
        const uid_t other = 65534;
        folder.Write("theirs.txt", "old");
        QVERIFY(::chown(QFile::encodeName(folder.File("theirs.txt")).constData(), other, other) ==
                0);
        QVERIFY(textfile::WriteAtomic(folder.File("theirs.txt"), "new"));
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(folder.File("theirs.txt")).constData(), &st) == 0);
        QCOMPARE(st.st_uid, other);
        QCOMPARE(st.st_gid, gid_t(other));
        // A link to another user's file is not followed.
        QVERIFY(QFile::link(folder.File("theirs.txt"), folder.File("mine.txt")));
        QVERIFY(!textfile::WriteAtomic(folder.File("mine.txt"), "again", &error));
        QCOMPARE(folder.Read("theirs.txt"), QByteArray("new"));
    }

    void staleTemporariesOfOurFilesGo() {
        ProgramFolder folder;
        const QStringList ours = {"init.txt.tmp-Ab12Cd", "BEST.TXT.tmp-zzzzzz",
                                  "dirs.txt.tmp-000000"};
        const QStringList theirs = {
            "init.txt",         "best.txt.damaged",     "best.txt.backup",
            "dirs.txt.tmp-abc", "notes.txt.tmp-abcdef", "init.txt.tmp-abcdefg"};
        // A save of another running copy is seconds old and must survive.
        const QStringList running = {"init.txt.tmp-Run123"};
        for (const QString& n : ours + theirs + running) folder.Write(n, "x");
        const QDateTime longAgo = QDateTime::currentDateTime().addSecs(-3600);
        for (const QString& n : ours) {
            QFile f(folder.File(n));
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(longAgo, QFileDevice::FileModificationTime));
        }
        QCOMPARE(
            textfile::RemoveStaleTemporaries(folder.Path(), {"init.txt", "dirs.txt", "best.txt"}),
            3);
        QCOMPARE(Leftovers(folder.Path(), theirs + running), QStringList());
    }

    // A real full disk, for each of the three files. Mounting needs root, as
    // in CI; elsewhere the fault-injecting file system above stands in.
    void aRealFullDiskKeepsAllThreeFiles() {
        ProgramFolder folder;
        if (::geteuid() != 0) QSKIP("mounting a small tmpfs needs root");
        const SmallDisk disk(folder.File("disk"));
        if (!disk.mounted()) QSKIP("this system does not let the test mount a tmpfs");
        const QString where = folder.File("disk");
        Paths() = GamePaths::Portable(where);
        const QByteArray settings = "1,1,Sky.jpg,1,1,0,10,9550,6750,9435,6000\r\n";
        const QByteArray dirs = (where + "/Graphics1,\r\n0\r\n").toUtf8();
        const QByteArray best = "Ann,8,0:01:05,1291" + QByteArray(36, ',') + "0\r\n";
        QVERIFY(textfile::WriteAtomic(where + "/init.txt", QString::fromUtf8(settings)));
        QVERIFY(dirlist::Save(where, {{where + "/Graphics", true}}));
        QVERIFY(textfile::WriteAtomic(where + "/best.txt", QString::fromUtf8(best)));
        QVERIFY(disk.Fill());

        QString error;
        QVERIFY(
            !textfile::WriteAtomic(where + "/init.txt", "0" + QString(settings).mid(1), &error));
        QCOMPARE(error, QString("disk full"));
        error.clear();
        QVERIFY(!dirlist::Save(where, {{"/pics", true}, {where + "/Graphics", true}}, &error));
        QCOMPARE(error, QString("disk full"));
        Module1.HighScoreRank = 1;
        Module1.PlayerName = "Bo";
        Module1.BoardPairs = 9;
        Module1.BoardTime = "0:00:50";
        Module1.TotalScore = 1500;
        error.clear();
        QVERIFY(!highscores::AddScore(Module1, &error));
        QCOMPARE(error, QString("disk full"));

        auto read = [&](const QString& name) {
            QFile f(where + "/" + name);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("missing");
        };
        QCOMPARE(read("init.txt"), settings);
        QCOMPARE(read("dirs.txt"), dirs);
        QCOMPARE(read("best.txt"), best);
        QCOMPARE(Leftovers(where, {"init.txt", "dirs.txt", "best.txt", "filler"}), QStringList());
    }
};
TAVIMO_TEST(TextFileTest);

#include "tst_TextFile.moc"
