#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "TestSupport.h"
#include "app/Forms.h"
#include "app/Module1.h"
#include "board/Form2.h"
#include "config/Form1.h"
#include "platform/Twips.h"
#include "scores/Form4.h"
#include "scores/Form7.h"
#include "scores/HighScoreTable.h"
#include "scores/NameText.h"

namespace {
// The board of the examples: 8 pairs, score 1175 plus bonus 116, place `rank`.
void Finished(int rank) {
    Module1Record& m = Module1;
    m.HighSound = "High.wav";
    m.BestSound = "Best.wav";
    m.WindowLeft = 1200;
    m.WindowTop = 900;
    m.WindowWidth = 9550;
    m.WindowHeight = 6750;
    m.BoardPairs = 8;
    m.BoardTime = "0:01:05";
    m.Bonus = 116;
    m.TotalScore = 1291;
    m.HighScoreRank = rank;
}
const QByteArray FirstWinner =
    "Winner,8,0:01:05,1291,,,,0,,,,0,,,,0,,,,0,,,,0,,,,0,,,,0,,,,0,,,,0\r\n";
}  // namespace

class Form7Test : public QObject {
    Q_OBJECT
private slots:
    void showsTheBoardAndAnEmptyNameBox() {
        Doubles d = InstallDoubles();
        ProgramFolder folder;
        Finished(1);
        Form7& f = Forms::Get<Form7>();
        QCOMPARE(f.windowTitle(), QString("Congratulations your a winner"));
        QCOMPARE(f.Label1->text(), QString("RANK   BOARD   SCORE   TIME    BONUS   TOTAL"));
        QCOMPARE(f.Label2->text(), QString("1"));
        QCOMPARE(f.Label3->text(), QString("8"));
        QCOMPARE(f.Label7->text(), QString("1175"));
        QCOMPARE(f.Label4->text(), QString("0:01:05"));
        QCOMPARE(f.Label8->text(), QString("116"));
        QCOMPARE(f.Label5->text(), QString("1291"));
        QCOMPARE(f.Text1->text(), QString());
        QVERIFY(f.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(f.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(f.Timer1->isActive());
        QCOMPARE(f.Timer1->interval(), 400);
        // Centred on the game window's size: (9550 - 6030) / 2, (6750 - 3195) / 2.
        QCOMPARE(f.pos(), QPoint(twips::ToPixels(1760), twips::ToPixels(1777.5)));
        // Frame centred in the window, the name box and OK centred in the frame.
        QCOMPARE(f.Frame1->pos(), QPoint(twips::ToPixels(187.5), twips::ToPixels(330)));
        QCOMPARE(f.Text1->x(), twips::ToPixels(2040));
        QCOMPARE(f.OK->x(), twips::ToPixels(2400));
        QCOMPARE(*d.sounds, QStringList{"Open " + folder.File("Sound/Best.wav")});
    }

    void theSecondWinnerFindsTheLastNameSelected() {
        InstallDoubles();
        ProgramFolder folder;
        Finished(2);
        Module1.PlayerName = "Ann";
        Form7& f = Forms::Get<Form7>();
        QCOMPARE(f.Text1->text(), QString("Ann"));
        QCOMPARE(f.Text1->selectedText(), QString("Ann"));
        QCOMPARE(f.Text1->selectionStart(), 0);
        QTest::keyClicks(f.Text1, "Bo");
        QCOMPARE(f.Text1->text(), QString("Bo"));
    }

    void theNameBoxRefusesWhatTheFileCannotHold() {
        InstallDoubles();
        ProgramFolder folder;
        Finished(1);
        Form7& f = Forms::Get<Form7>();
        QTest::keyClicks(f.Text1, "Al,i\"ce");
        QCOMPARE(f.Text1->text(), QString("Alice"));
        f.Text1->insert("x,y");  // a paste of several characters loses only the comma
        QCOMPARE(f.Text1->text(), QString("Alicexy"));
        for (const QChar c : {QChar(7), QChar(0x2028)}) {
            f.Text1->insert(QString(c));
            QCOMPARE(f.Text1->text(), QString("Alicexy"));
        }
        QTest::keyClicks(f.Text1, "abcdefghijklmnopqrstuvwxyz");
        QCOMPARE(f.Text1->text(), QString("Alicexyabcdefghijkl"));  // 19 characters
    }

    void aPasteLosesOnlyTheRefusedCharacters() {
        InstallDoubles();
        ProgramFolder folder;
        Finished(1);
        Form7& f = Forms::Get<Form7>();
        f.show();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        f.Text1->setFocus();
        QApplication::clipboard()->setText("Smith, John");
        QTest::keyClick(f.Text1, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.Text1->text(), QString("Smith John"));
        QCOMPARE(f.Text1->cursorPosition(), 10);
        // Into the middle, with quotes, a tab and a line break.
        f.Text1->setCursorPosition(5);
        QApplication::clipboard()->setText("\"-\tSr\r\n\"");
        QTest::keyClick(f.Text1, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.Text1->text(), QString("Smith-Sr John"));
        QCOMPARE(f.Text1->cursorPosition(), 8);
        // A paste longer than the room keeps what fits, and the rest of the name.
        f.Text1->setCursorPosition(0);
        QApplication::clipboard()->setText("1234567890");
        QTest::keyClick(f.Text1, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.Text1->text(), QString("123456Smith-Sr John"));
        f.OK_Click();
        QVERIFY(folder.Read("best.txt").startsWith("123456Smith-Sr John,8,"));
    }

    void combiningMarksTypedOrPastedStayWithinTheCapInTheFile() {
        InstallDoubles();
        ProgramFolder folder;
        Finished(1);
        Form7& f = Forms::Get<Form7>();
        f.show();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        f.Text1->setFocus();
        const QChar acute(0x301);
        QApplication::clipboard()->setText("Bo" + QString(1000, acute));
        QTest::keyClick(f.Text1, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(f.Text1->text().size() <= highscores::NameMaxUnits);
        // One mark a key, on and on.
        for (int i = 0; i < 300; ++i)
            QTest::sendKeyEvent(QTest::Click, f.Text1, Qt::Key_unknown, QString(acute),
                                Qt::NoModifier);
        QVERIFY(f.Text1->text().size() <= highscores::NameMaxUnits);
        f.OK_Click();
        const QByteArray line = folder.Read("best.txt");
        const QString name = QString::fromUtf8(line.left(line.indexOf(',')));
        QVERIFY(name.size() <= highscores::NameMaxUnits);
        // The letters stay; only the marks past a character's room went.
        QCOMPARE(name, "Bo" + QString(highscores::CharMaxUnits - 1, acute));
    }

    void theLimitCountsTheCharactersThePlayerSees() {
        InstallDoubles();
        ProgramFolder folder;
        Finished(1);
        Form7& f = Forms::Get<Form7>();
        f.show();
        f.Text1->setFocus();
        // Each emoji arrives as one key event carrying both of its UTF-16 units.
        const QString grin = QString::fromUtf8("\xF0\x9F\x98\x80");
        for (int i = 0; i < 12; ++i)
            QTest::sendKeyEvent(QTest::Click, f.Text1, Qt::Key_unknown, grin, Qt::NoModifier);
        QCOMPARE(f.Text1->text(), grin.repeated(12));
        for (int i = 0; i < 10; ++i)
            QTest::sendKeyEvent(QTest::Click, f.Text1, Qt::Key_unknown, grin, Qt::NoModifier);
        QCOMPARE(f.Text1->text(), grin.repeated(19));
        f.OK_Click();
        QVERIFY(folder.Read("best.txt").startsWith(grin.repeated(19).toUtf8() + ",8,"));

        // Letters with a combining accent are one character each, and a paste
        // that does not fit is never cut inside one.
        const QString e = QString("e") + QChar(0x301);
        QCOMPARE(highscores::GraphemeCount(e.repeated(19)), 19);
        QString text = e.repeated(18) + "x" + e + e;
        int cursor = static_cast<int>(text.size());
        highscores::FitName(text, cursor);
        QCOMPARE(text, e.repeated(18) + "x");
        QCOMPARE(cursor, static_cast<int>(text.size()));
        // An endless run of accents on one letter is held to a sane size.
        text = "a" + QString(5000, QChar(0x301));
        cursor = static_cast<int>(text.size());
        highscores::FitName(text, cursor);
        QVERIFY(text.size() <= highscores::NameMaxUnits);
        QVERIFY(cursor <= text.size());
    }

    void placeOnePlaysTheBestSoundOthersTheHighSound() {
        for (int rank : {1, 2, 10}) {
            Doubles d = InstallDoubles();
            ProgramFolder folder;
            Finished(rank);
            Module1.SoundOn = 1;
            Form7& f = Forms::Get<Form7>();
            f.Timer1_Timer();
            QVERIFY(!f.Timer1->isActive());
            const QString file = folder.File(rank == 1 ? "Sound/Best.wav" : "Sound/High.wav");
            QCOMPARE(*d.sounds, (QStringList{"Open " + file, "Play " + file}));
            f.OK_Click();
            QCOMPARE(d.sounds->last(), "Close " + file);
        }
    }

    void withSoundOffTheDeviceOpensAndClosesSilently() {
        Doubles d = InstallDoubles();
        ProgramFolder folder;
        Finished(1);
        Module1.SoundOn = 0;
        Form7& f = Forms::Get<Form7>();
        f.Timer1_Timer();
        f.OK_Click();
        const QString file = folder.File("Sound/Best.wav");
        QCOMPARE(*d.sounds, (QStringList{"Open " + file, "Close " + file}));
    }

    void theTickGivesTheNameBoxTheFocus() {
        InstallDoubles();
        ProgramFolder folder;
        Finished(1);
        Form7& f = Forms::Get<Form7>();
        f.show();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        f.OK->setFocus();
        f.Timer1_Timer();
        QVERIFY(f.Text1->hasFocus());
    }

    void enterStoresTheEntryAndShowsTheTable() {
        InstallDoubles();
        ProgramFolder folder;
        Finished(1);
        Form7& f = Forms::Get<Form7>();
        f.show();
        QTest::keyClicks(f.Text1, "Winner");
        QTest::keyClick(f.Text1, Qt::Key_Return);
        QVERIFY(!Forms::IfLoaded<Form7>());
        QCOMPARE(Module1.PlayerName, QString("Winner"));
        QCOMPARE(folder.Read("best.txt"), FirstWinner);
        Form4* scores = Forms::IfLoaded<Form4>();
        QVERIFY(scores && scores->isVisible());
        QVERIFY(scores->Label4->text().startsWith("Winner\n"));
        QCOMPARE(scores->Layout.OK.top, 5700.0);  // laid out for the game window
    }

    // Away from the name box Return still stores the name; Escape is no
    // Cancel here, so the entry stays open with what was typed.
    void returnOnTheButtonStoresAndEscapeKeepsTheWindow() {
        InstallDoubles();
        ProgramFolder folder;
        Finished(1);
        Form7& f = Forms::Get<Form7>();
        f.show();
        QTest::keyClicks(f.Text1, "Winner");
        QTest::keyClick(f.Text1, Qt::Key_Escape);
        QTest::keyClick(f.OK, Qt::Key_Escape);
        QVERIFY(Forms::IfLoaded<Form7>());
        QCOMPARE(f.Text1->text(), QString("Winner"));
        QTest::keyClick(f.OK, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(!Forms::IfLoaded<Form7>());
        QCOMPARE(folder.Read("best.txt"), FirstWinner);
        QVERIFY(Forms::IfLoaded<Form4>());
    }

    void theCloseBoxStoresTheEntryExactlyOnce() {
        InstallDoubles();
        ProgramFolder folder;
        Finished(1);
        Form7& f = Forms::Get<Form7>();
        f.show();
        QTest::keyClicks(f.Text1, "Winner");
        f.close();
        QVERIFY(!Forms::IfLoaded<Form7>());
        f.close();
        f.OK_Click();
        FlushDeletes();
        QCOMPARE(folder.Read("best.txt"), FirstWinner);
    }

    void anEmptyNameIsStoredEmpty() {
        InstallDoubles();
        ProgramFolder folder;
        Finished(1);
        Module1.PlayerName = "Ann";
        Form7& f = Forms::Get<Form7>();
        f.Text1->clear();
        f.OK_Click();
        QCOMPARE(Module1.PlayerName, QString());
        QVERIFY(folder.Read("best.txt").startsWith(",8,0:01:05,1291,"));
    }

    void theGameWindowTakesClicksAgainOnceTheTableCloses() {
        InstallDoubles();
        ProgramFolder folder;
        Finished(1);
        Form2& game = Forms::Get<Form1>().Game();
        game.show();
        game.setEnabled(false);  // as the end of the board leaves it
        // Opened as the game window opens it, handing itself over.
        Forms::Get<Form7>(gamewindow::Link(&game)).OK_Click();
        QVERIFY(!game.isEnabled());
        QVERIFY(game.isVisible());
        Forms::IfLoaded<Form4>()->OK_Click();
        QVERIFY(game.isEnabled());
        QVERIFY(game.isVisible());
    }
};
TAVIMO_TEST(Form7Test);

#include "tst_Form7.moc"
