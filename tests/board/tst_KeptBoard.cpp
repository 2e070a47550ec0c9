// The board in progress kept in board.txt, through the player's own events:
// mouse clicks on the cards, SIGTERM to a running game, Return and Escape
// on the start-up question.
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <csignal>

#include "TestSupport.h"
#include "WindowSupport.h"
#include "app/Module1.h"
#include "board/Form2.h"
#include "board/SavedBoard.h"
#include "platform/RealDialogs.h"
#include "start/StartUp.h"

namespace {

std::optional<board::BoardState> KeptIn(const ProgramFolder& folder) {
    return savedboard::Parse(folder.Read("board.txt"));
}

void Click(Form2& game, int card) {
    QTest::mouseClick(game.Image2[card], Qt::LeftButton);
}

// Answers the next message box with a key, as the player would.
void AnswerWith(Qt::Key key) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, key] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        poll->deleteLater();
        poll->stop();
        QTest::keyClick(box, key);
    });
    poll->start(20);
}

bool FaceUp(const Form2& game, int k) {
    return game.Image1[k]->isVisibleTo(game.Picture1) &&
           !game.Image2[k]->isVisibleTo(game.Picture1);
}

}  // namespace

class KeptBoardTest : public QObject {
    Q_OBJECT
private slots:
    void everyTurnIsKeptButNotTheHalfTurn() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Doubles d = InstallDoubles();
        d.clock->AdvanceTo(1000);
        const QStringList chosen = GeneratedPictures(folder, 8);
        Form2& game = DealByHand(chosen, 8);
        Module1.FlipDelay = 1;
        QVERIFY(game.BoardDealt);
        QVERIFY(!QFile::exists(folder.File("board.txt")));  // never started
        Click(game, 0);
        QVERIFY(!QFile::exists(folder.File("board.txt")));  // a turn half played
        d.clock->Advance(4);
        Click(game, 8);
        auto kept = KeptIn(folder);
        QVERIFY(kept);
        QCOMPARE(kept->cards[0], board::Card::Matched);
        QCOMPARE(kept->score, 200.0);
        QCOMPARE(kept->elapsed, 4.0);
        QCOMPARE(kept->pictures, chosen);
        QCOMPARE(kept->cardSlots, game.CardSlot);
        // A miss is kept once its cards are down again.
        Click(game, 1);
        Click(game, 2);
        QCOMPARE(KeptIn(folder)->misses, 0);
        d.clock->Advance(1.1);
        game.Timer2_Timer();
        kept = KeptIn(folder);
        QCOMPARE(kept->misses, 1);
        QCOMPARE(kept->score, 175.0);
        // A pause keeps it too; a restart leaves nothing.
        QFile::remove(folder.File("board.txt"));
        QTest::keyClick(&game, Qt::Key_P);
        QVERIFY(KeptIn(folder));
        game.mnuRstrt_Click();
        QVERIFY(!QFile::exists(folder.File("board.txt")));
        // A finished board leaves nothing either.
        for (int k = 0; k < 8; ++k) {
            Click(game, k);
            Click(game, k + 8);
            QCOMPARE(QFile::exists(folder.File("board.txt")), k < 7);
        }
    }

    // Killed while a board is half played: the game ends the normal way,
    // keeps the board with its time, and the next start offers it.
    void aBoardEndedBySigtermComesBackOnReturn() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        QTemporaryDir cache;
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CACHE_HOME", cache.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        child.setProcessEnvironment(env);
        child.start(TAVIMO_BOARD_KEEPER_CHILD, {folder.Path()});
        QVERIFY(child.waitForStarted());
        QByteArray said;
        while (said.count('\n') < 3 && child.waitForReadyRead(60000)) said += child.readAll();
        const QList<QByteArray> lines = said.split('\n');
        QVERIFY2(lines.size() >= 3 && lines[0] == "played", said.constData());
        const QString map = QString::fromUtf8(lines[1]);
        const QString caption = QString::fromUtf8(lines[2]);
        QVERIFY2(caption.startsWith("Tavimo    Score: 300       Time 0:00:0"), qPrintable(caption));
        QVERIFY(::kill(pid_t(child.processId()), SIGTERM) == 0);
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        const auto kept = KeptIn(folder);
        QVERIFY(kept);
        // The way out saved the time run on since the last turn.
        QVERIFY2(kept->elapsed >= 2, qPrintable(QString::number(kept->elapsed)));
        QCOMPARE(kept->score, 300.0);

        // The next start, answered with Return.
        Doubles d = InstallDoubles();
        platform().dialogs = std::make_unique<RealDialogs>();
        AnswerWith(Qt::Key_Return);
        OfferKeptBoard();
        Form2& game = DealByHand(GeneratedPictures(folder, 12), 12);
        QCOMPARE(BoardMap(game), map);
        QCOMPARE(game.PairCount, kept->Pairs());
        QCOMPARE(game.windowTitle(),
                 "Tavimo    Score: 300       Time " + gameclock::FromElapsed(kept->elapsed).Text());
        const int n = game.PairCount;
        for (int k = 0; k < 2 * n; ++k) QCOMPARE(FaceUp(game, k), k % n < 2);
        QCOMPARE(game.Score, 300.0);
        QVERIFY(KeptIn(folder));

        // Once more, answered with Escape: the file goes, a new board comes.
        Forms::DiscardAll();
        AnswerWith(Qt::Key_Escape);
        OfferKeptBoard();
        QVERIFY(!QFile::exists(folder.File("board.txt")));
        Form2& fresh = DealByHand(GeneratedPictures(folder, 8), 8);
        QCOMPARE(fresh.PairCount, 8);
        QCOMPARE(fresh.Score, 100.0);
        for (int k = 0; k < 16; ++k) QVERIFY(!FaceUp(fresh, k));
        QVERIFY(!QFile::exists(folder.File("board.txt")));
    }

    void aGoneOrDamagedBoardDealsANewOne() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Doubles d = InstallDoubles();
        const QStringList chosen = GeneratedPictures(folder, 8);
        board::BoardState kept;
        kept.pictures = chosen.mid(0, 4);
        kept.pictures[2] = folder.File("Graphics/gone.jpg");
        kept.cardSlots = {0, 1, 2, 3, 4, 5, 6, 7};
        kept.cards.assign(8, board::Card::Down);
        QVERIFY(savedboard::Save(folder.Path(), kept));
        d.dialogs->answers = {Dialogs::Answer::Yes};
        OfferKeptBoard();
        Form2& game = DealByHand(chosen, 8);
        QCOMPARE(d.dialogs->shown.size(), size_t(2));
        QVERIFY2(d.dialogs->shown[1].text.contains("gone.jpg"),
                 qPrintable(d.dialogs->shown[1].text));
        QCOMPARE(game.PairCount, 8);
        QCOMPARE(game.Play.Pictures(), chosen);
        QVERIFY(!QFile::exists(folder.File("board.txt")));

        // Cut short: kept aside, said once, nothing asked.
        Forms::DiscardAll();
        const QByteArray text = savedboard::Text(kept);
        folder.Write("board.txt", text.first(text.size() - 3));
        d.dialogs->shown.clear();
        OfferKeptBoard();
        QCOMPARE(d.dialogs->shown.size(), size_t(1));
        QCOMPARE(d.dialogs->shown[0].buttons, Dialogs::Buttons::Ok);
        QVERIFY2(d.dialogs->shown[0].text.contains("board.txt.damaged"),
                 qPrintable(d.dialogs->shown[0].text));
        QCOMPARE(folder.Read("board.txt.damaged"), text.first(text.size() - 3));
        QVERIFY(!savedboard::TakeOffered());
    }
};
TAVIMO_TEST(KeptBoardTest);

#include "tst_KeptBoard.moc"
