// SPDX-License-Identifier: GPL-3.0-or-later
// The high-score faces keep their designed widths with whatever fonts the
// machine has: the suite runs this once more with only DejaVu installed
// (test `faces_without_liberation`).
#include <QFontInfo>
#include <QFontMetricsF>
#include <QTest>

#include "TestSupport.h"
#include "platform/Twips.h"
#include "scores/Faces.h"

using namespace highscores;

class FacesTest : public QObject {
    Q_OBJECT
private slots:
    void facesKeepTheDesignedWidths() {
        for (const bool serif : {false, true})
            for (const bool bold : {false, true}) {
                QFont probe = Face(serif, 12, bold);
                probe.setPixelSize(1000);
                const double ems = QFontMetricsF(probe).horizontalAdvance(WidthSample) / 1000;
                const QString what = QString("%1 %2 in %3")
                                         .arg(serif ? "serif" : "sans", bold ? "bold" : "regular",
                                              QFontInfo(probe).family());
                QVERIFY2(ems <= DesignedSampleEms(serif, bold) * 1.02, qPrintable(what));
                // Not narrowed to a sliver either.
                QVERIFY2(ems >= DesignedSampleEms(serif, bold) * 0.85, qPrintable(what));
            }
        // The winner's prompt fits its label (2175 twips wide).
        const QFont prompt = Face(true, 11.25, false);
        QVERIFY2(QFontMetricsF(prompt).horizontalAdvance("Please enter your name.") <=
                     twips::ToPixels(2175),
                 qPrintable(QFontInfo(prompt).family()));
    }
};
TAVIMO_TEST(FacesTest);

#include "tst_Faces.moc"
