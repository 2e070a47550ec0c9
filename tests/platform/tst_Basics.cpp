#include <QKeyEvent>
#include <QTest>
#include <cmath>
#include <limits>

#include "TestSupport.h"
#include "platform/Keys.h"
#include "platform/Numbers.h"
#include "platform/Twips.h"

class NumbersTest : public QObject {
    Q_OBJECT
private slots:
    void halvesRoundToEven() {
        QCOMPARE(num::RoundHalfEven(0.5), 0LL);
        QCOMPARE(num::RoundHalfEven(1.5), 2LL);
        QCOMPARE(num::RoundHalfEven(2.5), 2LL);
        QCOMPARE(num::RoundHalfEven(-2.5), -2LL);
        QCOMPARE(num::RoundHalfEven(-3.5), -4LL);
        QCOMPARE(num::RoundHalfEven(2.5000001), 3LL);
    }
    void integerDivisionRoundsOperandsFirst() {
        QCOMPARE(num::IntDiv(7.5, 2), 4LL);  // 8 \ 2
        QCOMPARE(num::IntDiv(6.5, 2), 3LL);  // 6 \ 2
        QCOMPARE(num::IntDiv(-7, 2), -3LL);  // truncates toward zero
        QCOMPARE(num::Mod(7.5, 3), 2LL);     // 8 mod 3
        QCOMPARE(num::Mod(-7, 3), -1LL);
        QCOMPARE(num::IntDiv(5, 0.4), 0LL);  // divisor rounds to 0: no crash
    }
    void sixteenBitValuesClamp() {
        QCOMPARE(num::ToInt16Clamped(40000), int16_t(32767));
        QCOMPARE(num::ToInt16Clamped(-40000), int16_t(-32768));
        QCOMPARE(num::ToInt16Clamped(116.5), int16_t(116));
    }
    // Numbers read from damaged files: far beyond any integer, infinite or NaN.
    void valuesBeyondEveryIntegerSaturate() {
        QCOMPARE(num::RoundHalfEven(1e300), std::numeric_limits<long long>::max());
        QCOMPARE(num::RoundHalfEven(-1e300), std::numeric_limits<long long>::min());
        QCOMPARE(num::RoundHalfEven(std::numeric_limits<double>::infinity()),
                 std::numeric_limits<long long>::max());
        QCOMPARE(num::RoundHalfEven(std::nan("")), 0LL);
        QCOMPARE(num::ToInt16Clamped(3.3e87), int16_t(32767));
        QCOMPARE(num::IntDiv(1e300, 1e300), 1LL);
    }
    void textIsShortestPlainDecimal() {
        QCOMPARE(num::Text(9550), QString("9550"));
        QCOMPARE(num::Text(-120), QString("-120"));
        QCOMPARE(num::Text(0), QString("0"));
        QCOMPARE(num::Text(11885.5), QString("11885.5"));
        QCOMPARE(num::Text(0.5), QString("0.5"));
        QCOMPARE(num::Text(1.0 / 3.0), QString("0.3333333"));
        QCOMPARE(num::Text(1e-7), QString("0.0000001"));
    }
    void parseAcceptsOnlyNumbers() {
        double v = -1;
        QVERIFY(num::Parse(" 12000 ", &v));
        QCOMPARE(v, 12000.0);
        QVERIFY(num::Parse("-1.5", &v));
        QCOMPARE(v, -1.5);
        QVERIFY(!num::Parse("abc", &v));
        QVERIFY(!num::Parse("", &v));
        QVERIFY(!num::Parse("12x", &v));
    }
    void twipsToPixels() {
        QCOMPARE(twips::ToPixels(9550), 637);  // 636.67
        QCOMPARE(twips::ToPixels(22.5), 2);    // 1.5 -> 2
        QCOMPARE(twips::ToPixels(37.5), 2);    // 2.5 -> 2
        QCOMPARE(twips::FromPixels(10), 150.0);
    }
};
TAVIMO_TEST(NumbersTest);

class KeysTest : public QObject {
    Q_OBJECT
private:
    static int Code(int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                    const QString& text = {}) {
        QKeyEvent e(QEvent::KeyPress, key, mods, text);
        return vk::FromEvent(&e);
    }
private slots:
    void mapsQtKeysToVirtualKeys() {
        QCOMPARE(Code(Qt::Key_P), 80);
        QCOMPARE(Code(Qt::Key_F1), 112);
        QCOMPARE(Code(Qt::Key_F7), 118);
        QCOMPARE(Code(Qt::Key_Equal), 187);
        QCOMPARE(Code(Qt::Key_Plus, Qt::ShiftModifier), 187);
        QCOMPARE(Code(Qt::Key_Minus), 189);
        QCOMPARE(Code(Qt::Key_Underscore, Qt::ShiftModifier), 189);
        // The keypad's plus and minus are other keys.
        QCOMPARE(Code(Qt::Key_Plus, Qt::KeypadModifier), 107);
        QCOMPARE(Code(Qt::Key_Minus, Qt::KeypadModifier), 109);
    }
    void heldKeyGivesRepeatedDownsAndOneUp() {
        KeyRepeatFilter f;
        QList<int> downs, ups;
        f.OnDown = [&](int k) { downs << k; };
        f.OnUp = [&](int k) { ups << k; };
        // Marked auto-repeat pairs.
        f.Press(vk::Minus, false);
        QVERIFY(!f.Release(vk::Minus, true));
        f.Press(vk::Minus, true);
        QVERIFY(!f.Release(vk::Minus, true));
        f.Press(vk::Minus, true);
        QVERIFY(f.Release(vk::Minus, false));
        f.Flush();
        QCOMPARE(downs, QList<int>({vk::Minus, vk::Minus, vk::Minus}));
        QCOMPARE(ups, QList<int>({vk::Minus}));
    }
    void unmarkedRepeatIsRecognised() {
        KeyRepeatFilter f;
        QList<int> downs, ups;
        f.OnDown = [&](int k) { downs << k; };
        f.OnUp = [&](int k) { ups << k; };
        f.Press(vk::Plus, false);
        f.Release(vk::Plus, false);
        f.Press(vk::Plus, false);  // came at once: still held
        f.Release(vk::Plus, false);
        f.Flush();  // really let go
        QCOMPARE(downs.size(), 2);
        QCOMPARE(ups, QList<int>({vk::Plus}));
    }
    void anotherKeyEndsThePendingOne() {
        KeyRepeatFilter f;
        QStringList events;
        f.OnDown = [&](int k) { events << QString("down %1").arg(k); };
        f.OnUp = [&](int k) { events << QString("up %1").arg(k); };
        f.Press(vk::Plus, false);
        f.Release(vk::Plus, false);
        f.Press(vk::P, false);
        QCOMPARE(events, QStringList({"down 187", "up 187", "down 80"}));
    }
};
TAVIMO_TEST(KeysTest);

#include "tst_Basics.moc"
