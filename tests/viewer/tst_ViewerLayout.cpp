#include <QTest>

#include "TestSupport.h"
#include "viewer/ViewerLayout.h"

using viewer::Fit;

// The default game window: 9550 x 6750, viewport 9180 x 5950 at left 220.
class ViewerLayoutTest : public QObject {
    Q_OBJECT
    static constexpr double WW = 9550, WH = 6750;

private slots:
    void fixedPartsFollowTheWindow() {
        const auto l = viewer::Compute(WW, WH, 3000, 1800);
        QCOMPARE(l.buttonBar.top, 6150.0);
        QCOMPARE(l.buttonBar.left, -80.0);
        QCOMPARE(l.buttonBar.width, 9650.0);
        QCOMPARE(l.okLeft, (9650.0 - 1095) / 2 + 700);
        QCOMPARE(l.toggleLeft, l.okLeft - 1300);
        QCOMPARE(l.vertical.rect.height, 6150.0);
        QCOMPARE(l.horizontal.rect.top, 5920.0);
    }

    void smallPictureIsCentredWithoutBars() {
        const auto l = viewer::Compute(WW, WH, 3000, 1800);
        QCOMPARE(l.fit, Fit::Neither);
        QVERIFY(!l.vertical.visible);
        QVERIFY(!l.horizontal.visible);
        QCOMPARE(l.viewport.left, 0.0);
        QCOMPARE(l.viewport.width, WW);
        QCOMPARE(l.viewport.height, WH);
        // Centred, 300 above the middle.
        QCOMPARE(l.pictureLeft, (WW - 3000) / 2);
        QCOMPARE(l.pictureTop, (WH - 1800) / 2 - 300);
    }

    void bothWaysLargerStartsAtTheCorner() {
        const auto l = viewer::Compute(WW, WH, 12000, 9000);
        QCOMPARE(l.fit, Fit::TallerAndWider);
        QVERIFY(l.vertical.visible && l.horizontal.visible);
        QCOMPARE(l.viewport.left, 220.0);
        QCOMPARE(l.viewport.width, 9180.0);
        QCOMPARE(l.viewport.height, 5950.0);
        QCOMPARE(l.pictureLeft, 25.0);
        QCOMPARE(l.pictureTop, 30.0);
        // 200 past the right and bottom edges.
        QCOMPARE(l.vertical.maximum, 9000 - 5950 + 200);
        QCOMPARE(l.horizontal.maximum, 12000 - 9180 + 200);
        QCOMPARE(l.vertical.unit, 1.0);
        QCOMPARE(l.vertical.largeChange, 450);    // 9000 / 20
        QCOMPARE(l.vertical.smallChange, 45);     // 9000 / 200
        QCOMPARE(l.horizontal.largeChange, 150);  // 12000 / 80
        QCOMPARE(l.horizontal.smallChange, 24);   // 12000 / 500
    }

    void widerOnlyScrollsSidewaysAcrossTheWholeWidth() {
        const auto l = viewer::Compute(WW, WH, 12000, 3000);
        QCOMPARE(l.fit, Fit::WiderOnly);
        QVERIFY(!l.vertical.visible);
        QVERIFY(l.horizontal.visible);
        QCOMPARE(l.horizontal.rect.left, 0.0);
        QCOMPARE(l.horizontal.rect.width, 240.0 + 9180);
        QCOMPARE(l.viewport.left, 0.0);
        QCOMPARE(l.viewport.width, WW);
        QCOMPARE(l.pictureTop, (5950.0 - 3000) / 2);
        QCOMPARE(l.pictureLeft, 25.0);
        QCOMPARE(l.horizontal.maximum, 12000 - 9550 + 200);  // with the widened viewport
    }

    void tallerOnlyScrollsDownWithExtraTravel() {
        const auto l = viewer::Compute(WW, WH, 3000, 9000);
        QCOMPARE(l.fit, Fit::TallerOnly);
        QVERIFY(l.vertical.visible);
        QVERIFY(!l.horizontal.visible);
        QCOMPARE(l.viewport.height, WH);
        QCOMPARE(l.viewport.left, 220.0);
        QCOMPARE(l.pictureLeft, (9180.0 - 3000) / 2);
        QCOMPARE(l.pictureTop, 30.0);
        QCOMPARE(l.vertical.maximum, 9000 - 6750 + 700);
    }

    void fitsAreStrict() {
        // Exactly the viewport's size is not larger.
        QCOMPARE(viewer::Compute(WW, WH, 9180, 5950).fit, Fit::Neither);
        QCOMPARE(viewer::Compute(WW, WH, 9181, 5950).fit, Fit::WiderOnly);
        QCOMPARE(viewer::Compute(WW, WH, 9180, 5951).fit, Fit::TallerOnly);
    }

    void barelyWiderNeverGetsANegativeRange() {
        // Wider than the first viewport, not than the widened one.
        const auto l = viewer::Compute(WW, WH, 9300, 3000);
        QCOMPARE(l.fit, Fit::WiderOnly);
        QCOMPARE(l.horizontal.maximum, 0);
        const auto t = viewer::Compute(WW, WH, 3000, 6000);
        QCOMPARE(t.fit, Fit::TallerOnly);
        QCOMPARE(t.vertical.maximum, 0);
    }

    void fitToScreenKeepsProportions_data() {
        QTest::addColumn<double>("w");
        QTest::addColumn<double>("h");
        QTest::newRow("landscape") << 3000.0 << 1800.0;
        QTest::newRow("portrait") << 1500.0 << 3000.0;
        QTest::newRow("large landscape") << 90000.0 << 60000.0;
        QTest::newRow("large portrait") << 4000.0 << 30000.0;
        QTest::newRow("wide strip") << 12000.0 << 3000.0;
    }
    void fitToScreenKeepsProportions() {
        QFETCH(double, w);
        QFETCH(double, h);
        const auto l = viewer::Compute(WW, WH, w, h);
        const double W = 9180 + 150, H = 5950 + 150;
        QVERIFY(l.scaled.width <= W + 1e-9);
        QVERIFY(l.scaled.height <= H + 1e-9);
        // One side fills its limit, the proportions stay.
        QVERIFY(qFuzzyCompare(l.scaled.width, W) || qFuzzyCompare(l.scaled.height, H));
        QVERIFY(qFuzzyCompare(l.scaled.width / l.scaled.height, w / h));
        if (h > w) {
            QCOMPARE(l.scaled.height, H);
            QVERIFY(l.scaled.width < 9180);
        }
    }

    void fitToScreenPositions() {
        // Landscape: as wide as the viewport + 150, centred with the 60 shift.
        const auto l = viewer::Compute(WW, WH, 3000, 1800);
        QCOMPARE(l.scaled.width, 9330.0);
        QCOMPARE(l.scaled.height, 9330.0 * 1800 / 3000);
        QCOMPARE(l.scaled.left, 220 + (9180 - 9330) / 2.0 - 60);  // 85
        QCOMPARE(l.scaled.top, (5950 - l.scaled.height) / 2);
        // Portrait: as high as the viewport + 150; the top is raised to 30.
        const auto p = viewer::Compute(WW, WH, 1500, 3000);
        QCOMPARE(p.scaled.height, 6100.0);
        QCOMPARE(p.scaled.width, 3050.0);
        QCOMPARE(p.scaled.top, 30.0);
        QCOMPARE(p.scaled.left, 220 + (9180 - 3050) / 2.0 - 60);
    }

    void hugePicturesStayInRange() {
        // A 24-megapixel photo: 6000 x 4000 pixels.
        const auto l = viewer::Compute(WW, WH, 90000, 60000);
        QCOMPARE(l.fit, Fit::TallerAndWider);
        for (const auto* bar : {&l.vertical, &l.horizontal}) {
            QVERIFY(bar->maximum <= viewer::MaxValue);
            QVERIFY(bar->largeChange <= viewer::MaxValue);
            QVERIFY(bar->smallChange >= 1);
            QVERIFY(bar->unit >= 1);
        }
        QCOMPARE(l.horizontal.unit, 3.0);  // 81020 twips of travel
        QCOMPARE(l.horizontal.maximum, 27007);
        QCOMPARE(l.horizontal.largeChange, 375);
        QCOMPARE(l.vertical.unit, 2.0);  // 54250 twips of travel
        QCOMPARE(l.vertical.maximum, 27125);
        // The whole travel is still reachable, to within one unit.
        QVERIFY(qAbs(l.horizontal.maximum * l.horizontal.unit - 81020) < l.horizontal.unit);
        // Even an absurd size does not leave the range.
        const auto a = viewer::Compute(WW, WH, 4.0e9, 3.0e9);
        QVERIFY(a.horizontal.maximum <= viewer::MaxValue);
        QVERIFY(a.vertical.largeChange <= viewer::MaxValue);
    }

    void tinyPicturesStillStep() {
        const auto bar = viewer::ScrollValues(0, 15.0 / 20, 15.0 / 200);
        QCOMPARE(bar.smallChange, 1);
        QCOMPARE(bar.largeChange, 1);
        QCOMPARE(bar.maximum, 0);
        // Steps round halves to even: 12.5 -> 12.
        QCOMPARE(viewer::ScrollValues(100, 250, 12.5).smallChange, 12);
    }

    void emptyPictureLaysOutWithoutBars() {
        const auto l = viewer::Compute(WW, WH, 0, 0);
        QCOMPARE(l.fit, Fit::Neither);
        QCOMPARE(l.scaled.width, 0.0);
        QCOMPARE(l.scaled.height, 0.0);
    }

    void scrollingMovesThePictureTheOtherWay() {
        QCOMPARE(viewer::PictureShift(0, 1000, 1), -1000.0);
        QCOMPARE(viewer::PictureShift(1000, 0, 1), 1000.0);
        QCOMPARE(viewer::PictureShift(10, 30, 3), -60.0);
    }
};
TAVIMO_TEST(ViewerLayoutTest);

#include "tst_ViewerLayout.moc"
