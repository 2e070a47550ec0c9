#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "TestSupport.h"
#include "app/Module1.h"
#include "app/SettingsFile.h"
#include "board/Form2.h"
#include "config/Form1.h"
#include "platform/TextFile.h"
#include "platform/Twips.h"
#include "start/StartUp.h"

class SettingsFileTest : public QObject {
    Q_OBJECT
private slots:
    void readsElevenFieldsAndDerivesBoard() {
        ProgramFolder folder;
        folder.Write("init.txt", "1,0,Forest.jpg,3,1,300,200,12000,9000,1,1\r\n");
        Module1Record m;
        QVERIFY(settings::Read(folder.File("init.txt"), m));
        QCOMPARE(m.SaveOnExit, 1);
        QCOMPARE(m.SoundOn, 0);
        QCOMPARE(m.BackFile, QString("Forest.jpg"));
        QCOMPARE(m.SpeedSetting, 3.0);
        QCOMPARE(m.WindowTop, 300.0);
        QCOMPARE(m.WindowLeft, 200.0);
        QCOMPARE(m.WindowWidth, 12000.0);
        QCOMPARE(m.WindowHeight, 9000.0);
        // Fields 10 and 11 never size anything: the board follows from the window.
        QCOMPARE(m.BoardWidth, 11885.0);
        QCOMPARE(m.BoardHeight, 8250.0);
        QCOMPARE(m.StartBoardWidth, QString("1"));
        QCOMPARE(m.StartBoardHeight, QString("1"));
        QCOMPARE(m.StartSoundOn, QString("0"));
        QCOMPARE(m.StartBackFile, QString("Forest.jpg"));
    }

    void refusesUnusableFiles_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("ten fields") << QByteArray("1,1,Sky.jpg,1,1,0,10,9550,6750,9435\r\n");
        QTest::newRow("word as width") << QByteArray("1,1,Sky.jpg,1,1,0,10,abc,6750,9435,6000\r\n");
        QTest::newRow("word as height") << QByteArray("1,1,Sky.jpg,1,1,0,10,9550,x,9435,6000\r\n");
        QTest::newRow("word as view")
            << QByteArray("1,1,Sky.jpg,1,yes,0,10,9550,6750,9435,6000\r\n");
    }
    void refusesUnusableFiles() {
        QFETCH(QByteArray, content);
        ProgramFolder folder;
        folder.Write("init.txt", content);
        Module1Record m;
        m.BackFile = "untouched";
        QVERIFY(!settings::Read(folder.File("init.txt"), m));
        QCOMPARE(m.BackFile, QString("untouched"));
    }

    void missingFileIsRefused() {
        ProgramFolder folder;
        Module1Record m;
        QVERIFY(!settings::Read(folder.File("init.txt"), m));
    }

    void acceptsLfAndExtraFields() {
        ProgramFolder folder;
        folder.Write("init.txt", "0,1,Sky.jpg,2,0,0,10,9550,6750,9435,6000,extra\nsecond line\n");
        Module1Record m;
        QVERIFY(settings::Read(folder.File("init.txt"), m));
        QCOMPARE(m.SaveOnExit, 0);
        QCOMPARE(m.SpeedSetting, 2.0);
        QCOMPARE(m.StartBoardHeight, QString("6000"));
    }

    void exitLineWithSavingOn() {
        Module1Record m;
        QVERIFY(settings::Read(WriteTemp("1,1,Sky.jpg,1,0,0,10,9550,6750,9435,6000"), m));
        m.BackFile = "Forest.jpg";
        m.SpeedSetting = 2;
        m.WindowTop = -120;
        m.WindowLeft = 45;
        m.WindowWidth = 12000;
        m.WindowHeight = 9000;
        m.BoardWidth = 11885.5;
        m.BoardHeight = 8250;
        QCOMPARE(settings::ExitLine(m, true, false, 1),
                 QString("1,0,Forest.jpg,2,1,-120,45,12000,9000,11885.5,8250\r\n"));
        QCOMPARE(m.SoundOn, 0);
    }

    void exitLineWithSavingOffKeepsFieldsAsRead() {
        Module1Record m;
        QVERIFY(settings::Read(WriteTemp("1,0,Forest.jpg,3,0,300,200,12000,9000,1,1"), m));
        m.BackFile = "Sky.jpg";
        m.SpeedSetting = 1;
        m.WindowLeft = 999;
        m.WindowWidth = 9550;
        QCOMPARE(settings::ExitLine(m, false, true, 1),
                 QString("0,0,Forest.jpg,3,0,300,200,12000,9000,1,1\r\n"));
        QCOMPARE(m.SaveOnExit, 0);
    }

    void anOlderBackNameSurvivesAndIsWrittenAsUtf8() {
        ProgramFolder folder;
        folder.Write("init.txt", "1,1,Jos\xe9.jpg,1,1,0,10,9550,6750,9435,6000\r\n");
        Module1Record m;
        QVERIFY(settings::Read(folder.File("init.txt"), m));
        QCOMPARE(m.BackFile, QString::fromUtf8("José.jpg"));
        QVERIFY(
            textfile::WriteAtomic(folder.File("init.txt"), settings::ExitLine(m, false, true, 1)));
        QCOMPARE(folder.Read("init.txt"),
                 QByteArray("0,1,Jos\xc3\xa9.jpg,1,1,0,10,9550,6750,9435,6000\r\n"));
    }

    void defaultFileIsTheDefaultLine() {
        ProgramFolder folder;
        QVERIFY(settings::WriteDefault(folder.File("init.txt")));
        QCOMPARE(folder.Read("init.txt"),
                 QByteArray("1,1,Sky.jpg,1,1,0,10,9550,6750,9435,6000\r\n"));
    }

private:
    QTemporaryDir tmp_;
    QString WriteTemp(const QByteArray& line) {
        const QString path = tmp_.filePath("init.txt");
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(line + "\r\n");
        return path;
    }
};
TAVIMO_TEST(SettingsFileTest);

class StartUpTest : public QObject {
    Q_OBJECT
private slots:
    void missingFileIsCreatedWithDefaults() {
        ProgramFolder folder(ProgramFolder::All);
        QVERIFY(StartUp());
        QCOMPARE(folder.Read("init.txt"),
                 QByteArray("1,1,Sky.jpg,1,1,0,10,9550,6750,9435,6000\r\n"));
        QCOMPARE(Module1.SoundOn, 1);
        QCOMPARE(Module1.BackFile, QString("Sky.jpg"));
        QCOMPARE(Module1.WindowWidth, 9550.0);
        QCOMPARE(Module1.WindowLeft, 10.0);
        QCOMPARE(Module1.BoardWidth, 9435.0);
        QCOMPARE(Module1.BoardHeight, 6000.0);
        QCOMPARE(Module1.MatchSound, QString("Match.wav"));
        QCOMPARE(Module1.BestSound, QString("Best.wav"));
        QCOMPARE(Module1.AspectRatio, double(9550.0f / 6750.0f));
        QCOMPARE(QDir::currentPath(), QDir(folder.Path()).canonicalPath());
    }

    void shortFileIsReplaced() {
        ProgramFolder folder(ProgramFolder::All);
        folder.Write("init.txt", "0,0,Forest.jpg,3,1,300,200,12000,9000,1\r\n");
        QVERIFY(StartUp());
        QCOMPARE(folder.Read("init.txt"),
                 QByteArray("1,1,Sky.jpg,1,1,0,10,9550,6750,9435,6000\r\n"));
        QCOMPARE(Module1.SaveOnExit, 1);
    }

    void validFileIsNotRewritten() {
        ProgramFolder folder(ProgramFolder::All);
        const QByteArray line = "1,0,Forest.jpg,3,0,300,200,12000,9000,1,1\n";
        folder.Write("init.txt", line);
        QVERIFY(StartUp());
        QCOMPARE(folder.Read("init.txt"), line);
        QCOMPARE(Module1.BoardWidth, 11885.0);
        QCOMPARE(Module1.SpeedSetting, 3.0);
    }

    void viewBoxIsOnWhateverFieldFiveSays_data() {
        QTest::addColumn<QByteArray>("view");
        QTest::addColumn<QString>("kept");  // the field as it goes back to the file
        QTest::newRow("0") << QByteArray("0") << "0";
        QTest::newRow("1") << QByteArray("1") << "1";
        // Hand-edited values are one switch, on unless 0.
        QTest::newRow("2") << QByteArray("2") << "1";
        QTest::newRow("-1") << QByteArray("-1") << "1";
        QTest::newRow("0.0") << QByteArray("0.0") << "0";
    }
    void viewBoxIsOnWhateverFieldFiveSays() {
        QFETCH(QByteArray, view);
        QFETCH(QString, kept);
        ProgramFolder folder(ProgramFolder::All);
        folder.Write("init.txt", "1,1,Sky.jpg,1," + view + ",0,10,9550,6750,9435,6000\r\n");
        QVERIFY(StartUp());
        Form1& config = Forms::Get<Form1>();
        QVERIFY(config.View->isChecked());
        QVERIFY(config.All_Check->isChecked());
        QVERIFY(config.Check8->isChecked());
        QVERIFY(config.isHidden() || !config.isVisible());
        // Exactly one run of the View box's click step: the preview is on.
        QCOMPARE(config.PreviewState, -1);
        QCOMPARE(Module1.ViewOption, kept);
        // Unticking turns the preview off, ticking on again.
        config.View->click();
        QCOMPARE(config.PreviewState, 1);
        config.View->click();
        QCOMPARE(config.PreviewState, -1);
        // With saving off the field is written back as read, as 0 or 1.
        QCOMPARE(settings::SplitFields(settings::ExitLine(Module1, false, true, 1))[4], kept);
    }

    // A file start-up cannot use is kept for the player before the default
    // line replaces it; an empty one holds nothing worth keeping.
    void anUnusableFileIsKeptAside_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("ten fields") << QByteArray("0,0,Forest.jpg,3,1,300,200,12000,9000,1\r\n");
        QTest::newRow("over 1 MB") << "0,0,Forest.jpg,3,1,300,200,12000,9000,1,1\r\n" +
                                          QByteArray(1024 * 1024, 'x') + "\r\n";
    }
    void anUnusableFileIsKeptAside() {
        QFETCH(QByteArray, content);
        ProgramFolder folder(ProgramFolder::All);
        folder.Write("init.txt", content);
        QVERIFY(StartUp());
        QCOMPARE(folder.Read("init.txt"),
                 QByteArray("1,1,Sky.jpg,1,1,0,10,9550,6750,9435,6000\r\n"));
        QCOMPARE(folder.Read("init.txt.damaged"), content);
        QCOMPARE(Module1.BackFile, QString("Sky.jpg"));
    }

    void staleTemporariesAreCleanedUp() {
        ProgramFolder folder(ProgramFolder::All);
        for (const char* name : {"init.txt.tmp-AbCdEf", "dirs.txt.tmp-0a1B2c",
                                 "best.txt.tmp-zzzzzz", "best.txt.backup"}) {
            folder.Write(name, "x");
            // Left by a copy killed an hour ago.
            QFile f(folder.File(name));
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                  QFileDevice::FileModificationTime));
        }
        QVERIFY(StartUp());
        QVERIFY(!QFile::exists(folder.File("init.txt.tmp-AbCdEf")));
        QVERIFY(!QFile::exists(folder.File("dirs.txt.tmp-0a1B2c")));
        QVERIFY(!QFile::exists(folder.File("best.txt.tmp-zzzzzz")));
        QVERIFY(QFile::exists(folder.File("best.txt.backup")));
    }

    // A damaged or foreign window size starts a playable game: a tiny width
    // used to hang the shuffle for ever, a huge one to give a window far
    // beyond the screen, 1e300 no window at all.
    void storedGeometryIsMadeSane_data() {
        QTest::addColumn<QByteArray>("geometry");
        QTest::newRow("tiny") << QByteArray("0,10,100,100");
        QTest::newRow("zero") << QByteArray("0,10,0,0");
        QTest::newRow("negative") << QByteArray("0,10,-500,-500");
        QTest::newRow("huge") << QByteArray("0,10,99999999,99999999");
        QTest::newRow("1e300") << QByteArray("0,10,1e300,1e300");
        QTest::newRow("far off") << QByteArray("-100000,-100000,9550,6750");
    }
    void storedGeometryIsMadeSane() {
        QFETCH(QByteArray, geometry);
        ProgramFolder folder(ProgramFolder::All);
        folder.Write("init.txt", "1,1,Sky.jpg,1,1," + geometry + ",9435,6000\r\n");
        Doubles d = InstallDoubles();
        QVERIFY(StartUp());
        Form2& game = Forms::Get<Form1>().Game();
        game.Timer1->stop();
        game.Timer1_Timer();  // the first tick deals
        QVERIFY(game.isVisible());
        QVERIFY(game.PairCount >= 4);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QSize size = game.size();
        QVERIFY2(size.width() >= twips::ToPixels(6400) && size.height() >= twips::ToPixels(6400),
                 qPrintable(QString("%1x%2").arg(size.width()).arg(size.height())));
        QVERIFY(size.width() <= screen.width() && size.height() <= screen.height());
        QVERIFY(screen.contains(game.pos()));
        // Every card on the board area, none of zero size.
        for (int k = 0; k < game.CardCount; ++k) {
            const QRect r = game.Image2[k]->geometry();
            QVERIFY(!r.isEmpty());
            QVERIFY(game.Picture1->rect().contains(r));
        }
    }

    void unwritableInitEndsWithAMessage() {
        // A folder named init.txt can be neither read as settings nor replaced.
        ProgramFolder folder;
        QDir(folder.Path()).mkdir("init.txt");
        Doubles d = InstallDoubles();
        QVERIFY(!StartUp());
        QCOMPARE(int(d.dialogs->shown.size()), 1);
        QVERIFY(d.dialogs->shown[0].text.contains("init.txt"));
    }
};
TAVIMO_TEST(StartUpTest);

#include "tst_Settings.moc"
