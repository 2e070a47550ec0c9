// Card faces on the dealt board: pictures with transparent parts are seen
// on a white ground, not on the board's colour.
#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QTest>

#include "TestSupport.h"
#include "WindowSupport.h"
#include "WmfWriter.h"
#include "app/Module1.h"
#include "board/CardWidget.h"
#include "board/Form2.h"

namespace {
// Black line art on nothing: a square outline 1500 units (100 pixels) wide.
QByteArray LineArt() {
    WmfWriter w(1500, 1500);
    w.SetPen(Qt::black, 90);
    w.SetNullBrush();
    w.Rectangle(150, 150, 1350, 1350);
    return w.Finish();
}

// An icon, transparent but for a black dot in the middle.
QByteArray DotIcon() {
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter(&icon).fillRect(12, 12, 8, 8, Qt::black);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "ico").write(icon);
    return bytes;
}

bool IsWhite(const QColor& c) {
    return c.red() > 245 && c.green() > 245 && c.blue() > 245;
}
bool IsDark(const QColor& c) {
    return c.red() < 80 && c.green() < 80 && c.blue() < 80;
}
}  // namespace

class CardFacesTest : public QObject {
    Q_OBJECT
private slots:
    void transparentPicturesShowOnWhiteWhenTurned() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        folder.Write("art.wmf", LineArt());
        folder.Write("dot.ico", DotIcon());
        QStringList chosen{folder.File("art.wmf"), folder.File("dot.ico")};
        chosen += GeneratedPictures(folder, 2);
        Form2& game = DealByHand(chosen, 4);
        QCOMPARE(game.PairCount, 4);
        QVERIFY(game.isVisible());

        for (const QString name : {"art.wmf", "dot.ico"}) {
            int card = -1;
            for (int k = 0; k < game.CardCount && card < 0; ++k)
                if (game.Image1[k]->File() == folder.File(name)) card = k;
            QVERIFY2(card >= 0, qPrintable(name));
            QTest::mouseClick(game.Image2[card], Qt::LeftButton);
            CardWidget* face = game.Image1[card];
            QVERIFY2(face->isVisible(), qPrintable(name));
            const QImage shown = face->grab().toImage();
            const QRect inside = face->contentsRect();
            const QPoint middle = inside.center();
            // Between the frame and the drawing, and in the middle: the ground.
            QVERIFY2(IsWhite(shown.pixelColor(inside.left() + 2, middle.y())), qPrintable(name));
            if (name == QString("art.wmf")) {
                QVERIFY(IsWhite(shown.pixelColor(middle)));
                // The outline, a tenth in from the edge, stays black.
                const int x = inside.left() + inside.width() / 10;
                QVERIFY(IsDark(shown.pixelColor(x, middle.y())));
            } else {
                QVERIFY(IsDark(shown.pixelColor(middle)));
            }
            // The picture keeps its transparency for the viewer.
            QCOMPARE(qAlpha(face->Picture().pixel(1, face->Picture().height() / 2)), 0);
            // Backs are left as they are: their ground is the board.
            game.Image1[card]->hide();
            game.Image2[card]->show();
        }
    }

    void aSmallIconGrowsSharpByWholeFactors() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        // A 16 x 16 checkerboard: smoothed it would turn grey where squares meet.
        QImage checker(16, 16, QImage::Format_RGB32);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                checker.setPixelColor(x, y, (x + y) % 2 ? Qt::black : Qt::white);
        QVERIFY(checker.save(folder.File("checker.bmp"), "BMP"));
        QStringList chosen{folder.File("checker.bmp")};
        chosen += GeneratedPictures(folder, 3);
        Form2& game = DealByHand(chosen, 4);
        int card = -1;
        for (int k = 0; k < game.CardCount && card < 0; ++k)
            if (game.Image1[k]->File() == folder.File("checker.bmp")) card = k;
        QVERIFY(card >= 0);
        QTest::mouseClick(game.Image2[card], Qt::LeftButton);
        CardWidget* face = game.Image1[card];
        QVERIFY(face->isVisible());
        const QImage shown = face->grab().toImage();
        const QRect inside = face->contentsRect();
        QVERIFY(inside.width() >= 32);
        const int side = std::min(inside.width(), inside.height()) / 2;
        const QRect middle(inside.center() - QPoint(side / 2, side / 2), QSize(side, side));
        int grey = 0;
        for (int y = middle.top(); y <= middle.bottom(); ++y)
            for (int x = middle.left(); x <= middle.right(); ++x) {
                const QColor c = shown.pixelColor(x, y);
                if (!IsWhite(c) && !IsDark(c)) ++grey;
            }
        QCOMPARE(grey, 0);
    }

    void groundIsOnlyUnderThePicture() {
        QWidget board;
        board.resize(200, 200);
        board.setAutoFillBackground(true);
        QPalette green = board.palette();
        green.setColor(QPalette::Window, QColor(0, 100, 0));
        board.setPalette(green);
        auto* card = new CardWidget(&board);
        card->setGeometry(10, 10, 80, 100);
        QImage clear(40, 50, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        card->SetPicture(clear);
        board.show();
        // Without a ground the board shows through, as for the backs.
        QCOMPARE(board.grab().toImage().pixelColor(50, 60), QColor(0, 100, 0));
        card->SetGround(Qt::white);
        QCOMPARE(board.grab().toImage().pixelColor(50, 60), QColor(Qt::white));
        // Copies made for the rest of the array keep the ground.
        CardWidget* next = card->NewElement();
        next->SetPicture(clear);
        next->move(100, 10);
        next->show();
        QCOMPARE(board.grab().toImage().pixelColor(140, 60), QColor(Qt::white));
        // No picture, nothing drawn.
        card->ClearPicture();
        QCOMPARE(board.grab().toImage().pixelColor(50, 60), QColor(0, 100, 0));
    }
};
TAVIMO_TEST(CardFacesTest);
#include "tst_CardFaces.moc"
