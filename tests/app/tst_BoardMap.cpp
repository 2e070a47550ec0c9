#include <QTest>
#include <algorithm>
#include <numeric>
#include <vector>

#include "TestSupport.h"
#include "WindowSupport.h"
#include "board/Form2.h"
#include "start/StartUp.h"

// The line tools/sound-check reads to play a board from the keyboard.
class BoardMapTest : public QObject {
    Q_OBJECT
private slots:
    // Following the map with the arrow keys and Space finds every pair, as
    // the script does it, with a match sound for each.
    void theMapLeadsTheKeysToEveryPair() {
        Doubles d = InstallDoubles();
        ProgramFolder folder(ProgramFolder::Graphics | ProgramFolder::Backs | ProgramFolder::Sound);
        DefaultSettings();
        Form2& game = DealByHand(GeneratedPictures(folder, 6), 6);
        const QStringList words = BoardMap(game).split(' ');
        QCOMPARE(words.value(0), QString("board"));
        QCOMPARE(words.value(1), QString("6:"));
        QCOMPARE(words.size(), 2 + 12);
        std::vector<int> place;
        for (int i = 2; i < words.size(); ++i) place.push_back(words[i].toInt());
        std::vector<int> sorted = place;
        std::sort(sorted.begin(), sorted.end());
        std::vector<int> every(12);
        std::iota(every.begin(), every.end(), 0);
        QCOMPARE(sorted, every);

        int here = -1;
        const auto go = [&](int to) {
            if (here < 0) {
                QTest::keyClick(game.Picture1, Qt::Key_Right);
                here = 0;
            }
            for (; here != to; here = (here + 1) % 12)
                QTest::keyClick(game.Picture1, Qt::Key_Right);
        };
        for (int k = 0; k < 6; ++k) {
            go(place[static_cast<size_t>(k)]);
            QTest::keyClick(game.Picture1, Qt::Key_Space);
            go(place[static_cast<size_t>(k + 6)]);
            QTest::keyClick(game.Picture1, Qt::Key_Space);
            QCOMPARE(game.PairsFound, k + 1);
            QVERIFY(game.Image1[k]->isVisibleTo(game.Picture1));
            QVERIFY(game.Image1[k + 6]->isVisibleTo(game.Picture1));
        }
        QCOMPARE(d.sounds->filter(QRegularExpression("^Play .*Match.wav$")).size(), 6);
    }
};
TAVIMO_TEST(BoardMapTest);

#include "tst_BoardMap.moc"
