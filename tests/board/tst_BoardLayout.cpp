#include <QTest>
#include <map>
#include <set>

#include "TestSupport.h"
#include "board/BoardLayout.h"
#include "board/KeyFocus.h"
#include "platform/Random.h"
#include "platform/Twips.h"

using namespace board;

namespace {
// Columns x rows per board size in the default board area.
const std::map<int, std::pair<int, int>> ExpectedGrid = {
    {4, {4, 2}},   {5, {5, 2}},   {6, {4, 3}},   {7, {5, 3}},   {8, {4, 4}},   {9, {6, 3}},
    {10, {5, 4}},  {11, {6, 4}},  {12, {6, 4}},  {13, {7, 4}},  {14, {7, 4}},  {15, {6, 5}},
    {16, {8, 4}},  {17, {7, 5}},  {18, {6, 6}},  {19, {8, 5}},  {20, {8, 5}},  {21, {7, 6}},
    {22, {9, 5}},  {23, {8, 6}},  {24, {8, 6}},  {25, {10, 5}}, {26, {9, 6}},  {27, {9, 6}},
    {28, {8, 7}},  {29, {10, 6}}, {30, {10, 6}}, {31, {9, 7}},  {32, {8, 8}},  {33, {11, 6}},
    {34, {10, 7}}, {35, {10, 7}}, {36, {9, 8}},  {37, {11, 7}}, {38, {11, 7}}, {39, {10, 8}},
    {40, {10, 8}},
};

BoardGrid GridFor(int pairs, double w, double h) {
    BoardGrid g;
    ChooseCardSize(g, pairs);
    ComputeGrid(g, 2 * pairs, w, h);
    return g;
}
}  // namespace

class BoardLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void everyBoardSizeGetsTheTablesGrid() {
        for (const auto& [pairs, cr] : ExpectedGrid) {
            const BoardGrid g = GridFor(pairs, 9435, 6000);
            QVERIFY2(
                g.GridColumns == cr.first && g.GridRows == cr.second,
                qPrintable(
                    QString("%1 pairs: %2 x %3").arg(pairs).arg(g.GridColumns).arg(g.GridRows)));
            // Every slot is distinct.
            std::set<std::pair<double, int>> cardSlots;
            for (int j = 0; j < 2 * pairs; ++j) cardSlots.insert({g.SlotX[j], g.SlotY[j]});
            QCOMPARE(int(cardSlots.size()), 2 * pairs);
        }
    }

    void sizeTableDetails() {
        BoardGrid g;
        ChooseCardSize(g, 40);
        QCOMPARE(g.GridLeft, 200.0);
        QCOMPARE(g.SlotSize, 740.0);
        ChooseCardSize(g, 38);
        QCOMPARE(g.GridLeft, 5.0);
        QCOMPARE(g.RowLimit, 9200.0);
        ChooseCardSize(g, 41);  // not in the table: above 10 takes 1460
        QCOMPARE(g.SlotSize, 1460.0);
        QCOMPARE(g.RowLimit, 9500.0);
        ChooseCardSize(g, 3);
        QCOMPARE(g.SlotSize, 2000.0);
    }

    void slotsScaleToTheBoardArea() {
        const BoardGrid g = GridFor(8, 9435, 6000);
        QCOMPARE(g.CardWidth, 1472 * 9435 / 9550.0);
        QCOMPARE(g.CardHeight, 1472 * 6000 / 6130.0);
        QCOMPARE(g.SlotX[1], 5 + g.CardWidth);
        QCOMPARE(g.SlotX[4], 5.0);  // second row starts at GridLeft
        // SlotY is rounded, halves to even: 5 + 1440.78 = 1445.78 -> 1446.
        QCOMPARE(int(g.SlotY[4]), 1446);
        QCOMPARE(g.GridWidth, 4 * g.CardWidth);
        QCOMPARE(g.GridHeight, 4 * g.CardHeight);
    }

    // Centred: even margins left and right, top and bottom; no card outside
    // the board area; for every board size and every fixed screen size.
    void cardsLieCentredInsideTheBoardArea() {
        for (const ScreenSize& s : ScreenSizes) {
            const double w = s.windowWidth - 100, h = s.boardHeight;
            for (int pairs = 4; pairs <= 40; ++pairs) {
                const BoardGrid g = GridFor(pairs, w, h);
                const Offsets o = PlacementOffsets(g, pairs, w, h);
                double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
                for (int j = 0; j < 2 * pairs; ++j) {
                    const TwipRect r = CardImageRect(g, o.left + g.SlotX[j], o.top + g.SlotY[j]);
                    minX = std::min(minX, r.left);
                    maxX = std::max(maxX, r.left + r.width);
                    minY = std::min(minY, r.top);
                    maxY = std::max(maxY, r.top + r.height);
                    QVERIFY(r.width > 0 && r.height > 0);
                }
                const QString where = QString("%1 pairs at %2").arg(pairs).arg(s.caption);
                QVERIFY2(minX > 0 && minY > 0 && maxX < w && maxY < h, qPrintable(where));
                const double shift = (pairs == 5 || pairs == 25) ? 40 : 0;
                // The left and right margins differ only by the 20-twip shift
                // of 5 and 25 pairs (one side loses it, the other gains it).
                QVERIFY2(std::abs((w - maxX) - minX - shift) < 1, qPrintable(where));
                QVERIFY2(std::abs((h - maxY) - minY) < 2, qPrintable(where));
            }
        }
    }

    void fiveAndTwentyFivePairsShiftLeft() {
        for (int pairs : {5, 25}) {
            const BoardGrid g = GridFor(pairs, 9435, 6000);
            const Offsets o = PlacementOffsets(g, pairs, 9435, 6000);
            QCOMPARE(o.left, (9435 - g.GridWidth) / 2 - g.GridLeft - 20);
        }
    }

    void shuffleFillsEverySlotOnceAndRestoresSlotX() {
        ScriptedRandom random(7);
        // The first two draws hit the same slot: the second is redrawn.
        random.script = {0.0, 0.0, 0.5};
        BoardGrid g = GridFor(12, 9435, 6000);
        const auto before = g.SlotX;
        const std::vector<int> cardSlots = ShuffleSlots(24, random);
        QCOMPARE(int(cardSlots.size()), 24);
        QCOMPARE(cardSlots[0], 0);
        QCOMPARE(cardSlots[1], 12);
        QCOMPARE(std::set<int>(cardSlots.begin(), cardSlots.end()).size(), size_t(24));
        for (int s = 0; s < 24; ++s) QVERIFY(g.SlotX[s] > 0);
        QCOMPARE(g.SlotX, before);
    }

    void screenSizeTable() {
        QCOMPARE(int(ScreenSizes.size()), 6);
        QCOMPARE(QString(ScreenSizes[3].caption), QString("1024 by 768"));
        QCOMPARE(ScreenSizes[3].windowWidth, 15277.0);
        QCOMPARE(ScreenSizes[3].boardHeight, 10050.0);
        for (const ScreenSize& s : ScreenSizes) QCOMPARE(s.windowHeight, s.boardHeight + 750);
        // The intermediate pictures cover the largest card of every fixed size.
        double largest = 0;
        for (const ScreenSize& s : ScreenSizes) {
            for (int pairs = 4; pairs <= 40; ++pairs) {
                const BoardGrid g = GridFor(pairs, s.windowWidth - 100, s.boardHeight);
                largest = std::max({largest, g.CardWidth - 12, g.CardHeight - 12});
            }
        }
        QVERIFY(twips::ToPixels(largest) <= IntermediateSize);
    }

    void minusKeyStopsAtTheFloor() {
        const double ar = 9550.0f / 6750.0f;
        // Held at 6500 for 20 repeats (200 twips): exactly 6400 high.
        ManualResize r = ManualResizeFor(189, 9550, 6500, 200, ar);
        QVERIFY(r.apply);
        QCOMPARE(r.step, 100.0);
        QCOMPARE(r.windowHeight, 6400.0);
        QCOMPARE(r.windowWidth, 9550 - 100 * ar);
        QCOMPARE(r.pictureWidth, 9550 - 100 * ar - 100);
        QCOMPARE(r.pictureHeight, 6400.0 - 750);
        // At the floor the minus key does nothing.
        QVERIFY(!ManualResizeFor(189, 9550, 6400, 30, ar).apply);
        // The plus key has no upper limit.
        r = ManualResizeFor(187, 9550, 6400, 50, ar);
        QVERIFY(r.apply);
        QCOMPARE(r.windowHeight, 6450.0);
        QCOMPARE(r.windowWidth, 9550 + 50 * ar);
        QVERIFY(!ManualResizeFor(80, 9550, 6750, 50, ar).apply);
    }

    void boardSizeCaptions() {
        QCOMPARE(SizeMenuCaption("8"), QString(" 8x2"));
        QCOMPARE(SizeMenuCaption("4"), QString(" 4x2"));
        QCOMPARE(SizeMenuCaption("12"), QString("12x2"));
        QCOMPARE(SizeMenuCaption(" 8"), QString(" 8x2"));  // taken from a menu caption
        QCOMPARE(BoardSizeValue("12"), 12);
        QCOMPARE(BoardSizeValue(" 8"), 8);
        QCOMPARE(BoardSizeValue(""), 0);
        QCOMPARE(BoardSizeValue("abc"), 0);
    }
};
TAVIMO_TEST(BoardLayoutTest);

namespace {
// Ten slots in rows of four (the last row holds two), 1000 twips apart.
board::BoardGrid TenInRowsOfFour() {
    board::BoardGrid g;
    for (int s = 0; s < 10; ++s) {
        g.SlotX[s] = 5 + 1000 * (s % 4);
        g.SlotY[s] = static_cast<int16_t>(5 + 1000 * (s / 4));
    }
    return g;
}
}  // namespace

class KeyFocusTest : public QObject {
    Q_OBJECT
private slots:
    void aShortLastRowIsReachedAndLeft() {
        using board::FocusMove;
        const board::BoardGrid g = TenInRowsOfFour();
        QCOMPARE(board::MoveFocus(g, 10, 7, FocusMove::Right), 8);  // row end: next row
        QCOMPARE(board::MoveFocus(g, 10, 9, FocusMove::Right), 0);  // last: first
        QCOMPARE(board::MoveFocus(g, 10, 0, FocusMove::Left), 9);
        // Down from a column the short row lacks: its nearest card.
        QCOMPARE(board::MoveFocus(g, 10, 7, FocusMove::Down), 9);
        QCOMPARE(board::MoveFocus(g, 10, 9, FocusMove::Down), 1);  // bottom: top
        QCOMPARE(board::MoveFocus(g, 10, 3, FocusMove::Up), 9);
        QCOMPARE(board::MoveFocus(g, 10, 8, FocusMove::Up), 4);
        // No focus yet, or one left from a larger board: the first card.
        QCOMPARE(board::MoveFocus(g, 10, -1, FocusMove::Down), 0);
        QCOMPARE(board::MoveFocus(g, 10, 12, FocusMove::Left), 0);
        QCOMPARE(board::MoveFocus(g, 0, 3, FocusMove::Left), -1);
    }

    // One row: Up and Down have nowhere else to go.
    void aSingleRowKeepsTheFocusOnUpAndDown() {
        const board::BoardGrid g = TenInRowsOfFour();
        QCOMPARE(board::MoveFocus(g, 4, 2, board::FocusMove::Down), 2);
        QCOMPARE(board::MoveFocus(g, 4, 2, board::FocusMove::Up), 2);
        QCOMPARE(board::MoveFocus(g, 4, 3, board::FocusMove::Right), 0);
    }
};
TAVIMO_TEST(KeyFocusTest);

#include "tst_BoardLayout.moc"
