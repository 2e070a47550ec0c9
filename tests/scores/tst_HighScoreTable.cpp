#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QSysInfo>
#include <QTest>
#include <atomic>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "app/GamePaths.h"
#include "app/Module1.h"
#include "platform/DataLock.h"
#include "play/Scoring.h"
#include "scores/HighScoreTable.h"

using namespace highscores;

namespace {
const QByteArray Empty = QByteArray(39, ',') + "\r\n";
const QByteArray FirstWinner =
    "Winner,8,0:01:05,1291,,,,0,,,,0,,,,0,,,,0,,,,0,,,,0,,,,0,,,,0,,,,0\r\n";

// A full table: row i is "P<i>", board 4+i, time 0:0<i>:00, score 1000 - 100 i.
QByteArray FullTable() {
    QStringList f;
    for (int i = 0; i < 10; ++i)
        f << QString("P%1").arg(i) << QString::number(4 + i) << QString("0:0%1:00").arg(i)
          << QString::number(1000 - 100 * i);
    return (f.join(',') + "\r\n").toUtf8();
}

void Finish(int rank, const QString& name, int pairs, const QString& time, double total) {
    Module1.HighScoreRank = rank;
    Module1.PlayerName = name;
    Module1.BoardPairs = pairs;
    Module1.BoardTime = time;
    Module1.TotalScore = total;
}
}  // namespace

class HighScoreFileTest : public QObject {
    Q_OBJECT
private slots:
    void init() { InstallDoubles(); }

    void missingFileIsCreatedEmpty() {
        ProgramFolder folder;
        QCOMPARE(LoadBest(Module1), LoadResult::Reset);
        QCOMPARE(folder.Read("best.txt"), Empty);
        QVERIFY(!QFile::exists(folder.File(DamagedName)));
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(Module1.BestNames[i], QString());
            QCOMPARE(Module1.BestBoards[i], QString());
            QCOMPARE(Module1.BestTimes[i], QString());
            QCOMPARE(Module1.BestScores[i], int16_t(0));
        }
        const Columns c = ColumnTexts(FromRecord(Module1));
        QCOMPARE(c.Names, QString(9, '\n'));
        QCOMPARE(c.Scores, QString("0\n0\n0\n0\n0\n0\n0\n0\n0\n0"));
        // Read back as it stands the next time.
        QCOMPARE(LoadBest(Module1), LoadResult::Read);
    }

    void damagedFilesAreResetButKept() {
        struct Case {
            const char* what;
            QByteArray content;
        };
        QByteArray big = FullTable();
        big.replace("1000", "40000");
        const Case cases[] = {
            {"38 commas", QByteArray(38, ',') + "\r\n"},
            {"ten fields", "Ann,8,0:00:30,900,Bob,8,0:00:40,800,,\r\n"},
            {"score 40000", big},
            {"score -32769", QByteArray(FullTable()).replace("500", "-32769")},
        };
        for (const Case& c : cases) {
            ProgramFolder folder;
            folder.Write("best.txt", c.content);
            Module1.BestNames[0] = "stale";
            QVERIFY2(LoadBest(Module1) == LoadResult::Reset, c.what);
            QCOMPARE(folder.Read("best.txt"), Empty);
            QCOMPARE(folder.Read(DamagedName), c.content);
            QCOMPARE(Module1.BestNames[0], QString());
            QCOMPARE(Module1.BestScores[0], int16_t(0));
        }
    }

    void anEmptyFileIsResetWithoutACopy() {
        ProgramFolder folder;
        folder.Write("best.txt", "");
        QCOMPARE(LoadBest(Module1), LoadResult::Reset);
        QCOMPARE(folder.Read("best.txt"), Empty);
        QVERIFY(!QFile::exists(folder.File(DamagedName)));
    }

    void anEarlierDamagedCopyIsNotOverwritten() {
        ProgramFolder folder;
        folder.Write(DamagedName, "first");
        folder.Write("best.txt", "second,,\r\n");
        QCOMPARE(LoadBest(Module1), LoadResult::Reset);
        QCOMPARE(folder.Read(DamagedName), QByteArray("first"));
        QCOMPARE(folder.Read(DamagedName + ".2"), QByteArray("second,,\r\n"));
    }

    void textScoreReadsZeroAndKeepsTheRest() {
        ProgramFolder folder;
        QByteArray content = FullTable();
        content.replace(",700,", ",lots,");
        folder.Write("best.txt", content);
        QCOMPARE(LoadBest(Module1), LoadResult::Read);
        QCOMPARE(Module1.BestScores[3], int16_t(0));
        QCOMPARE(Module1.BestNames[3], QString("P3"));
        QCOMPARE(Module1.BestScores[4], int16_t(600));
        QCOMPARE(folder.Read("best.txt"), content);
    }

    void readingRules() {
        // Leading blanks skipped, LF line ends and line ends inside the
        // table end fields too, a numeric board in plain decimal, an empty
        // score 0, a free row's board empty or 0.
        ProgramFolder folder;
        QByteArray content = "  Ann Lee , 08,  0:00:30,  900\nBob,40,12:01:00,\n,0,,0";
        content += QByteArray(28, ',') + "\n";
        folder.Write("best.txt", content);
        QCOMPARE(LoadBest(Module1), LoadResult::Read);
        QCOMPARE(Module1.BestNames[0], QString("Ann Lee "));
        QCOMPARE(Module1.BestBoards[0], QString("8"));
        QCOMPARE(Module1.BestTimes[0], QString("0:00:30"));
        QCOMPARE(Module1.BestScores[0], int16_t(900));
        QCOMPARE(Module1.BestBoards[1], QString("40"));
        QCOMPARE(Module1.BestScores[1], int16_t(0));
        QCOMPARE(Module1.BestNames[2], QString());
        QCOMPARE(Module1.BestBoards[2], QString("0"));
        QCOMPARE(folder.Read("best.txt"), content);
    }

    // Rows the game never writes make the whole file damaged: kept aside,
    // table reset, nothing shown as mojibake.
    void rowsTheGameNeverWritesAreDamage_data() {
        QTest::addColumn<QByteArray>("content");
        const QByteArray row1 = FullTable();
        QByteArray garbage;  // enough separators for forty fields, none of them text
        for (int i = 0; i < 44; ++i) garbage += QByteArray("\x01\xfe\x7f", 3) + char(i) + ',';
        QTest::newRow("binary") << garbage;
        QTest::newRow("board 3") << QByteArray(row1).replace("P0,4,", "P0,3,");
        QTest::newRow("board 41") << QByteArray(row1).replace("P0,4,", "P0,41,");
        QTest::newRow("board as text") << QByteArray(row1).replace("P0,4,", "P0,huge,");
        QTest::newRow("board 4.5") << QByteArray(row1).replace("P0,4,", "P0,4.5,");
        QTest::newRow("time unpadded") << QByteArray(row1).replace("0:00:00", "0:0:0");
        QTest::newRow("time as text") << QByteArray(row1).replace("0:00:00", "soon");
        QTest::newRow("no time") << QByteArray(row1).replace("0:00:00", "");
        QTest::newRow("control in name") << QByteArray(row1).replace("P3",
                                                                     "P\x01"
                                                                     "3");
        QTest::newRow("free row with a name") << "Ann,,,0" + QByteArray(36, ',') + "0\r\n";
        QTest::newRow("free row with a score") << ",,,500" + QByteArray(36, ',') + "0\r\n";
    }
    void rowsTheGameNeverWritesAreDamage() {
        QFETCH(QByteArray, content);
        ProgramFolder folder;
        folder.Write("best.txt", content);
        QCOMPARE(LoadBest(Module1), LoadResult::Reset);
        QCOMPARE(folder.Read("best.txt"), Empty);
        QCOMPARE(folder.Read(DamagedName), content);
        QCOMPARE(Module1.BestNames[0], QString());
    }

    void aFileOverOneMegabyteIsDamaged() {
        ProgramFolder folder;
        // Valid rows, but a tail no table needs.
        const QByteArray content = FullTable() + QByteArray(1024 * 1024, ' ');
        folder.Write("best.txt", content);
        QCOMPARE(LoadBest(Module1), LoadResult::Reset);
        QCOMPARE(folder.Read(DamagedName), content);
        QCOMPARE(folder.Read("best.txt"), Empty);
    }

    void anOlderSingleByteNameSurvivesAndIsWrittenAsUtf8() {
        ProgramFolder folder;
        const QByteArray content =
            "Jos\xe9,8,0:01:05,1291,M\xfcller,10,0:02:00,900" + QByteArray(32, ',') + "0\r\n";
        folder.Write("best.txt", content);
        QCOMPARE(LoadBest(Module1), LoadResult::Read);
        QCOMPARE(Module1.BestNames[0], QString::fromUtf8("José"));
        QCOMPARE(Module1.BestNames[1], QString::fromUtf8("Müller"));
        Finish(3, "Zoë", 4, "0:03:00", 100);
        QVERIFY(AddScore(Module1));
        const QByteArray written =
            "Jos\xc3\xa9,8,0:01:05,1291,M\xc3\xbcller,10,0:02:00,900,Zo\xc3\xab,4,0:03:00,100";
        QCOMPARE(folder.Read("best.txt"), written + QByteArray(",,,,0").repeated(7) + "\r\n");
        QCOMPARE(LoadBest(Module1), LoadResult::Read);
        QCOMPARE(Module1.BestNames[0], QString::fromUtf8("José"));
    }

    // What a buffered save on a full disk did: the table became an empty file.
    void aFullDiskKeepsTheTable() {
        ProgramFolder folder;
        folder.Write("best.txt", FullTable());
        FakeFileSystem* fs = InstallFakeFileSystem();
        fs->writeFault = {FakeFileSystem::Step::Write, 0, 0, true};
        Finish(1, "Top", 8, "0:00:20", 2000);
        QString error;
        QVERIFY(!AddScore(Module1, &error));
        QVERIFY2(error.startsWith("disk full"), qPrintable(error));
        QCOMPARE(folder.Read("best.txt"), FullTable());
        QCOMPARE(QDir(folder.Path()).entryList(QDir::Files), QStringList{"best.txt"});
    }

    void extraFieldsAreIgnoredAndGoneAfterSave() {
        ProgramFolder folder;
        QByteArray content = FullTable();
        content.chop(2);
        content += ",extra,99\r\nsecond line\r\n";
        folder.Write("best.txt", content);
        QCOMPARE(LoadBest(Module1), LoadResult::Read);
        QCOMPARE(Module1.BestScores[9], int16_t(100));
        Finish(10, "Last", 4, "0:02:00", 100);
        QVERIFY(AddScore(Module1));
        QByteArray expected = FullTable();
        expected.replace("P9,13,0:09:00,100", "Last,4,0:02:00,100");
        QCOMPARE(folder.Read("best.txt"), expected);
    }

    void firstInsertionWritesTheExactLine() {
        ProgramFolder folder;
        Finish(1, "Winner", 8, "0:01:05", 1291);
        QVERIFY(AddScore(Module1));
        QCOMPARE(folder.Read("best.txt"), FirstWinner);
        QCOMPARE(Module1.BestNames[0], QString("Winner"));
        QCOMPARE(Module1.BestScores[0], int16_t(1291));
        const Columns c = ColumnTexts(FromRecord(Module1));
        QCOMPARE(c.Names, "Winner" + QString(9, '\n'));
        QCOMPARE(c.Boards, "8" + QString(9, '\n'));
        QCOMPARE(c.Times, "0:01:05" + QString(9, '\n'));
        QCOMPARE(c.Scores, QString("1291\n0\n0\n0\n0\n0\n0\n0\n0\n0"));
    }

    void equalTotalTakesThePlaceAndPushesDown() {
        ProgramFolder folder;
        folder.Write("best.txt", FullTable());
        LoadBest(Module1);
        QCOMPARE(scoring::Rank(Module1.BestScores, 800), 3);  // row 2 holds 800
        QCOMPARE(scoring::Rank(Module1.BestScores, 801), 3);
        QCOMPARE(scoring::Rank(Module1.BestScores, 99), -1);
        QCOMPARE(scoring::Rank(Module1.BestScores, 100), 10);
        Finish(3, "New", 9, "0:00:50", 800);
        QVERIFY(AddScore(Module1));
        QCOMPARE(Module1.BestNames[2], QString("New"));
        QCOMPARE(Module1.BestNames[3], QString("P2"));
        QCOMPARE(Module1.BestScores[3], int16_t(800));
        QCOMPARE(Module1.BestNames[9], QString("P8"));
        QVERIFY(!folder.Read("best.txt").contains("P9"));
    }

    void placeTenReplacesTheLastRowOnly() {
        ProgramFolder folder;
        folder.Write("best.txt", FullTable());
        Finish(10, "Tenth", 5, "0:03:00", 150);
        QVERIFY(AddScore(Module1));
        for (int i = 0; i < 9; ++i) QCOMPARE(Module1.BestNames[i], QString("P%1").arg(i));
        QCOMPARE(Module1.BestNames[9], QString("Tenth"));
        QCOMPARE(Module1.BestScores[9], int16_t(150));
    }

    void rankingAgainstAnEmptyTable() {
        const std::array<int16_t, 10> empty{};
        QCOMPARE(scoring::Rank(empty, 0), 1);
        QCOMPARE(scoring::Rank(empty, 1291), 1);
        QCOMPARE(scoring::Rank(empty, -25), -1);
    }

    void theFileIsFoundWhateverItsCase() {
        ProgramFolder folder;
        folder.Write("BEST.TXT", FullTable());
        QCOMPARE(LoadBest(Module1), LoadResult::Read);
        QCOMPARE(Module1.BestNames[0], QString("P0"));
        Finish(1, "Top", 8, "0:00:20", 2000);
        QVERIFY(AddScore(Module1));
        QCOMPARE(QDir(folder.Path()).entryList(QDir::Files), QStringList{"BEST.TXT"});
        QVERIFY(folder.Read("BEST.TXT").startsWith("Top,8,0:00:20,2000,P0,4,"));
    }

    void anUnwritableFolderLeavesAnEmptyTableInMemory() {
        ProgramFolder folder;
        Paths() = GamePaths::Portable(folder.File("no such folder"));
        Module1.BestNames[0] = "stale";
        Module1.BestScores[0] = 5;
        QCOMPARE(LoadBest(Module1), LoadResult::Unusable);
        QCOMPARE(Module1.BestNames[0], QString());
        QCOMPARE(Module1.BestScores[0], int16_t(0));
        Finish(1, "Lost", 8, "0:00:20", 300);
        QString error;
        QVERIFY(!AddScore(Module1, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(Module1.BestNames[0], QString("Lost"));
    }

    void charactersTheLineCannotHoldAreLeftOut() {
        ProgramFolder folder;
        Finish(1, "a,b\"c\r\nd\te", 8, "0:01:05", 1291);
        QVERIFY(AddScore(Module1));
        QCOMPARE(LoadBest(Module1), LoadResult::Read);
        QCOMPARE(Module1.BestNames[0], QString("abcde"));
        QCOMPARE(Module1.BestScores[0], int16_t(1291));
    }

    // Two copies of the game: each score is ranked against the table as it
    // is on disk when it goes in, never at the place it had when its board
    // ended.
    void aScoreIsRankedAgainstTheTableAsItIsNow() {
        ProgramFolder folder;
        Module1Record mine, theirs;
        const auto finish = [](Module1Record& m, const QString& name, double total) {
            m.HighScoreRank = 1;  // what the end of each board found
            m.PlayerName = name;
            m.BoardPairs = 8;
            m.BoardTime = "0:01:00";
            m.TotalScore = total;
        };
        finish(mine, "Mine", 500);
        finish(theirs, "Theirs", 900);
        QVERIFY(AddScore(theirs));
        QVERIFY(AddScore(mine));
        QCOMPARE(mine.HighScoreRank, 2);
        QVERIFY(folder.Read("best.txt").startsWith("Theirs,8,0:01:00,900,Mine,8,0:01:00,500,,"));

        // Ten better totals saved meanwhile: nothing goes in, and the caller
        // learns it from the rank.
        folder.Write("best.txt", FullTable());
        finish(mine, "Late", 50);
        QVERIFY(AddScore(mine));
        QCOMPARE(mine.HighScoreRank, -1);
        QCOMPARE(folder.Read("best.txt"), FullTable());

        // A table out of order (written by hand) is written back best first.
        QByteArray shuffled = FullTable();
        shuffled.replace("P0,4,0:00:00,1000", "P0,4,0:00:00,150");
        folder.Write("best.txt", shuffled);
        finish(mine, "New", 850);
        QVERIFY(AddScore(mine));
        QCOMPARE(mine.HighScoreRank, 2);
        Table t;
        QCOMPARE(Load(folder.Path(), &t), LoadResult::Read);
        QCOMPARE(t.Names[0], QString("P1"));
        QCOMPARE(t.Names[1], QString("New"));
        QCOMPARE(t.Names[9], QString("P0"));
        for (int i = 1; i < Rows; ++i) QVERIFY(t.Scores[i - 1] >= t.Scores[i]);
    }

    // Copies saving at the same moment: every total that belongs among the
    // ten best is there, in order, whoever wrote last.
    void copiesSavingAtOnceLoseNoScore() {
        ProgramFolder folder;
        constexpr int Copies = 4, Boards = 8;
        std::vector<std::thread> copies;
        std::atomic<int> failed = 0;
        for (int c = 0; c < Copies; ++c) {
            copies.emplace_back([c, &failed] {
                Module1Record m;
                for (int b = 0; b < Boards; ++b) {
                    m.HighScoreRank = 10;
                    m.PlayerName = QString("C%1B%2").arg(c).arg(b);
                    m.BoardPairs = 8;
                    m.BoardTime = "0:01:00";
                    m.TotalScore = 100 + b * Copies + c;
                    if (!AddScore(m)) ++failed;
                }
            });
        }
        for (std::thread& t : copies) t.join();
        QCOMPARE(failed.load(), 0);
        Table t;
        QCOMPARE(Load(folder.Path(), &t), LoadResult::Read);
        const int best = 100 + Boards * Copies - 1;
        for (int i = 0; i < Rows; ++i) QCOMPARE(int(t.Scores[i]), best - i);
    }

    // A copy that died holding the lock does not keep the next one waiting.
    void aLockLeftByADeadCopyIsBroken() {
        ProgramFolder folder;
        const pid_t pid = ::fork();
        if (pid == 0) ::_exit(0);
        QVERIFY(pid > 0 && ::waitpid(pid, nullptr, 0) == pid);
        folder.Write(DataLock::FileName, QByteArray::number(pid) + "\ntavimo\n" +
                                             QSysInfo::machineHostName().toUtf8() + "\n");
        Finish(1, "After", 8, "0:01:00", 700);
        QString error;
        QVERIFY2(AddScore(Module1, &error), qPrintable(error));
        QVERIFY(folder.Read("best.txt").startsWith("After,8,"));
        QVERIFY(!QFileInfo::exists(folder.File(DataLock::FileName)));
    }

    void totalsBeyondSixteenBitsAreClamped() {
        ProgramFolder folder;
        Finish(1, "Huge", 40, "0:00:01", 40000);
        QVERIFY(AddScore(Module1));
        QCOMPARE(LoadBest(Module1), LoadResult::Read);
        QCOMPARE(Module1.BestScores[0], int16_t(32767));
    }
};
TAVIMO_TEST(HighScoreFileTest);

#include "tst_HighScoreTable.moc"
