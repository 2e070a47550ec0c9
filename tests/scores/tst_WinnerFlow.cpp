// A whole board played to the end in the real windows, from an empty table
// to the winner's name in place 1.
#include <QTest>

#include "TestSupport.h"
#include "WindowSupport.h"
#include "app/Module1.h"
#include "board/Form2.h"
#include "scores/Form4.h"
#include "scores/Form7.h"

class WinnerFlowTest : public QObject {
    Q_OBJECT
private slots:
    void aBoardPlayedToTheEndPutsTheWinnerInPlaceOne() {
        Doubles d = InstallDoubles();
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Module1.HighSound = "High.wav";
        Module1.BestSound = "Best.wav";
        Module1.SoundOn = 1;
        Module1.FlipDelay = 1;

        const QStringList chosen = GeneratedPictures(folder, 4);
        QCOMPARE(chosen.size(), 4);
        d.clock->AdvanceTo(1000);
        Form2& game = DealByHand(chosen, 4);
        QCOMPARE(game.PairCount, 4);

        // Every pair at the first try, one card a second.
        for (int k = 0; k < 4; ++k) {
            d.clock->Advance(1);
            game.Image2_Click(k);
            d.clock->Advance(1);
            game.Image2_Click(k + 4);
            game.Timer1_Timer();
        }
        QCOMPARE(Module1.HighScoreRank, 1);
        QVERIFY(!game.isEnabled());
        d.clock->Advance(1.05);
        game.Timer2_Timer();
        Form7* winner = Forms::IfLoaded<Form7>();
        QVERIFY(winner && winner->isVisible());
        winner->Timer1_Timer();
        QVERIFY(d.sounds->contains("Play " + folder.File("Sound/Best.wav")));

        QTest::keyClicks(winner->Text1, "Winner");
        QTest::keyClick(winner->Text1, Qt::Key_Return);
        QVERIFY(!Forms::IfLoaded<Form7>());

        const QString line =
            QString("Winner,4,%1,%2").arg(Module1.BoardTime).arg(Module1.TotalScore) +
            QString(",,,,0").repeated(9) + "\r\n";
        QCOMPARE(QString::fromUtf8(folder.Read("best.txt")), line);
        Form4* scores = Forms::IfLoaded<Form4>();
        QVERIFY(scores && scores->isVisible());
        QVERIFY(scores->Label4->text().startsWith("Winner\n"));
        QVERIFY(!game.isEnabled());

        scores->OK_Click();
        QVERIFY(game.isEnabled());
        QVERIFY(game.isVisible());
    }
};
TAVIMO_TEST(WinnerFlowTest);

#include "tst_WinnerFlow.moc"
