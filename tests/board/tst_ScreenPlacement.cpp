// Stored window geometry made sane, and the conversions it rests on.
#include <QTest>
#include <cmath>
#include <limits>
#include <set>

#include "TestSupport.h"
#include "app/Module1.h"
#include "board/BoardLayout.h"
#include "board/ScreenPlacement.h"
#include "platform/Random.h"
#include "platform/Twips.h"

using screenplacement::Rect;

namespace {
// A 1280 x 1024 screen with a 30-px panel at the top, and a second screen
// to its right.
const Rect Primary{0, 450, 19200, 14910};
const Rect Second{19200, 0, 28800, 16200};
const std::vector<Rect> Screens{Primary, Second};
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Keeps drawing the same slot.
class StuckRandom final : public Random {
public:
    double Next() override { return 0.25; }
    void Reseed() override {}
};
}  // namespace

class ScreenPlacementTest : public QObject {
    Q_OBJECT
private slots:
    void sizesBetweenTheFloorAndTheScreen() {
        auto size = [](double w, double h) {
            const Rect r = screenplacement::Sane({10, 450, w, h}, Screens);
            return QSizeF(r.width, r.height);
        };
        QCOMPARE(size(100, 100), QSizeF(6400, 6400));
        QCOMPARE(size(0, -500), QSizeF(6400, 6400));
        QCOMPARE(size(9550, 6750), QSizeF(9550, 6750));
        QCOMPARE(size(99999999, 1000000), QSizeF(19200, 14910 - 450));
        QCOMPARE(size(1e300, Inf), QSizeF(19200, 14910 - 450));
        QCOMPARE(size(-Inf, NaN), QSizeF(6400, 6750));
        // On the second screen, that screen's size is the limit.
        const Rect wide = screenplacement::Sane({20000, 100, 1e9, 1e9}, Screens);
        QCOMPARE(QSizeF(wide.width, wide.height), QSizeF(28800, 16200 - 450));
    }

    void titleBarOutOfReachGoesBackToThePrimaryScreen() {
        auto place = [](double left, double top) {
            const Rect r = screenplacement::Sane({left, top, 9550, 6750}, Screens);
            return QPointF(r.left, r.top);
        };
        // Reachable places stay, on either screen, even partly off it.
        QCOMPARE(place(10, 450), QPointF(10, 450));
        QCOMPARE(place(-8000, 600), QPointF(-8000, 600));
        QCOMPARE(place(25000, 9000), QPointF(25000, 9000));
        // Far off, above the screen, under the panel, or a title bar that
        // shows only a sliver: back on the primary screen, near where it was.
        QCOMPARE(place(-100000, -100000), QPointF(0, 450));
        QCOMPARE(place(300, -15), QPointF(300, 450));
        QCOMPARE(place(300, 0), QPointF(300, 450));
        QCOMPARE(place(-9500, 600), QPointF(0, 600));
        QCOMPARE(place(100000, 30000), QPointF(19200 - 9550, 15360 - 6750));
        QCOMPARE(place(NaN, Inf), QPointF(0, 450));
        QVERIFY(!screenplacement::TitleBarOnScreen({0, 15000, 9550, 6750}, Screens));
    }

    void recordGetsTheBoardSizeOfItsWindow() {
        Module1Record m;
        m.WindowLeft = 10;
        m.WindowTop = 450;
        m.WindowWidth = 100;
        m.WindowHeight = 100;
        m.BoardWidth = -15;
        m.BoardHeight = -650;
        QVERIFY(screenplacement::SanitizeRecord(m, Screens));
        QCOMPARE(m.WindowWidth, 6400.0);
        QCOMPARE(m.BoardWidth, 6400.0 - 115);
        QCOMPARE(m.BoardHeight, 6400.0 - 750);
        // A sane record is left alone, board size included.
        m.BoardWidth = 6000;
        QVERIFY(!screenplacement::SanitizeRecord(m, Screens));
        QCOMPARE(m.BoardWidth, 6000.0);
    }

    void pixelConversionSaturates() {
        QCOMPARE(twips::ToPixels(1e300), twips::MaxPixels);
        QCOMPARE(twips::ToPixels(Inf), twips::MaxPixels);
        QCOMPARE(twips::ToPixels(-1e300), -twips::MaxPixels);
        QCOMPARE(twips::ToPixels(NaN), 0);
        QCOMPARE(twips::ToPixels(150000000), 10000000);
        QCOMPARE(num::RoundHalfEven(1e300), std::numeric_limits<long long>::max());
        QCOMPARE(num::RoundHalfEven(-1e300), std::numeric_limits<long long>::min());
        QCOMPARE(num::RoundHalfEven(NaN), 0LL);
        QCOMPARE(num::ToInt16Clamped(1e300), int16_t(32767));
        // Rects built from huge values stay valid: right and bottom do not wrap.
        const QRect r = twips::ToPixelRect(1e300, 1e300, 1e300, 1e300);
        QVERIFY(r.right() > r.left() && r.bottom() > r.top());
    }

    // The shuffle must end whatever the generator and whatever the slots'
    // positions: a board area too small for its cards gives slots at x <= 0.
    void shuffleAlwaysEnds() {
        StuckRandom stuck;
        const std::vector<int> cardSlots = board::ShuffleSlots(80, stuck);
        QCOMPARE(std::set<int>(cardSlots.begin(), cardSlots.end()).size(), size_t(80));
        QCOMPARE(cardSlots[0], 20);
        QCOMPARE(cardSlots[1], 21);  // the draws ran out: the next free slot

        // A window 100 twips wide: a board area of -15.
        ScriptedRandom random(3);
        board::BoardGrid g;
        board::ChooseCardSize(g, 4);
        board::ComputeGrid(g, 8, -15, -650);
        QVERIFY(g.SlotX[2] <= 0);
        const std::vector<int> tiny = board::ShuffleSlots(8, random);
        QCOMPARE(std::set<int>(tiny.begin(), tiny.end()).size(), size_t(8));
    }
};
TAVIMO_TEST(ScreenPlacementTest);

#include "tst_ScreenPlacement.moc"
