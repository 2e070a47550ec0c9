// Card backs: JPEGs in the Backs folder, shaped like the cards of the
// default window (square: the board area there has the proportions its slot
// table was drawn for) and large enough for the biggest card on a
// high-density screen. Sky.jpg is the default back of a fresh settings file.
#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include "Assets.h"

namespace gen {
namespace {

// Drawn on a 300-unit square, written at twice that: at two device pixels
// per logical one, the largest card of the fixed screen sizes is about 560
// pixels wide.
constexpr int BackPixels = 600;
constexpr int BackW = 300, BackH = 300;
constexpr int Scale = BackPixels / BackW;
static_assert(BackPixels % BackW == 0);

// A canvas of the written size whose painter works in design units.
QImage BackCanvas(QColor fill = Qt::transparent) {
    return Canvas(BackPixels, BackPixels, fill);
}
void DesignUnits(QPainter& p) {
    p.scale(Scale, Scale);
}

// A card-like rim: a rounded frame line inset from the edge.
void Rim(QPainter& p, QColor colour) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 5));
    p.drawRoundedRect(QRectF(10, 10, BackW - 20, BackH - 20), 14, 14);
}

void Cloud(QPainter& p, QPointF at, double s) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 225, 240, 200));
    p.drawEllipse(at + QPointF(0, 4 * s), 26 * s, 12 * s);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawEllipse(at + QPointF(-14 * s, 0), 14 * s, 10 * s);
    p.drawEllipse(at + QPointF(2 * s, -6 * s), 16 * s, 14 * s);
    p.drawEllipse(at + QPointF(16 * s, 0), 13 * s, 10 * s);
}

QImage Sky() {
    QImage img = BackCanvas();
    QPainter p(&img);
    DesignUnits(p);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, BackH);
    g.setColorAt(0, QColor(25, 95, 200));
    g.setColorAt(1, QColor(140, 200, 250));
    p.fillRect(QRectF(0, 0, BackW, BackH), g);
    Lcg rnd(3);
    for (int row = 0; row < 6; ++row)
        for (int i = 0; i < 3; ++i)
            Cloud(p, QPointF(rnd.Range(20, BackW - 20), 30 + row * 48 + rnd.Range(-8, 8)),
                  rnd.Range(0.7, 1.2));
    Rim(p, QColor(255, 255, 255, 220));
    return img;
}

QImage Forest() {
    QImage img = BackCanvas();
    QPainter p(&img);
    DesignUnits(p);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, BackH);
    g.setColorAt(0, QColor(20, 70, 40));
    g.setColorAt(1, QColor(10, 40, 25));
    p.fillRect(QRectF(0, 0, BackW, BackH), g);
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 8; ++row) {
        const double y = row * 40 + 10;
        for (int i = -1; i < 9; ++i) {
            const double x = i * 40 + (row % 2) * 20 + 20;
            p.setBrush(row % 2 ? QColor(60, 140, 70) : QColor(40, 115, 60));
            p.drawPolygon(
                QPolygonF({QPointF(x, y), QPointF(x + 15, y + 24), QPointF(x - 15, y + 24)}));
            p.drawPolygon(
                QPolygonF({QPointF(x, y + 10), QPointF(x + 18, y + 34), QPointF(x - 18, y + 34)}));
            p.setBrush(QColor(100, 60, 30));
            p.drawRect(QRectF(x - 3, y + 34, 6, 5));
        }
    }
    Rim(p, QColor(230, 200, 110));
    return img;
}

QImage Ocean() {
    QImage img = BackCanvas();
    QPainter p(&img);
    DesignUnits(p);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, BackH);
    g.setColorAt(0, QColor(0, 150, 190));
    g.setColorAt(1, QColor(0, 60, 120));
    p.fillRect(QRectF(0, 0, BackW, BackH), g);
    p.setBrush(Qt::NoBrush);
    for (int row = 0; row < 16; ++row) {
        const double y = row * 20 + 8;
        p.setPen(QPen(QColor(255, 255, 255, 70 + (row % 3) * 30), 3, Qt::SolidLine, Qt::RoundCap));
        for (int i = -1; i < 11; ++i) {
            const double x = i * 30 + (row % 2) * 15;
            QPainterPath wave(QPointF(x, y));
            wave.cubicTo(x + 8, y - 9, x + 22, y - 9, x + 30, y);
            p.drawPath(wave);
        }
    }
    Rim(p, QColor(255, 255, 255, 220));
    return img;
}

QImage Checks() {
    QImage img = BackCanvas(QColor(250, 248, 240));
    QPainter p(&img);
    DesignUnits(p);
    p.setPen(Qt::NoPen);
    const QColor band(200, 30, 40, 120);
    for (int i = 0; i < BackW; i += 24) p.fillRect(QRectF(i, 0, 12, BackH), band);
    for (int i = 0; i < BackH; i += 24) p.fillRect(QRectF(0, i, BackW, 12), band);
    p.setRenderHint(QPainter::Antialiasing);
    Rim(p, QColor(30, 40, 110));
    return img;
}

QImage Stars() {
    QImage img = BackCanvas();
    QPainter p(&img);
    DesignUnits(p);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(BackW / 2.0, BackH / 2.0, BackH * 0.7);
    g.setColorAt(0, QColor(40, 40, 120));
    g.setColorAt(1, QColor(10, 10, 50));
    p.fillRect(QRectF(0, 0, BackW, BackH), g);
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 8; ++row)
        for (int i = 0; i < 8; ++i) {
            const QPointF c(i * 40 + (row % 2) * 20 + 10, row * 38 + 20);
            p.setBrush(row % 2 ? QColor(255, 215, 80) : QColor(255, 245, 190));
            QPolygonF star;
            for (int k = 0; k < 10; ++k) {
                const double r = k % 2 ? 3.5 : 9, a = qDegreesToRadians(-90.0 + k * 36);
                star << c + QPointF(r * std::cos(a), r * std::sin(a));
            }
            p.drawPolygon(star);
        }
    Rim(p, QColor(255, 215, 80));
    return img;
}

}  // namespace

bool WriteBacks(const QString& out) {
    const QString folder = Join(out, "Backs");
    if (!QDir().mkpath(folder)) return Fail("cannot create " + folder);
    return SaveJpeg(Sky(), Join(folder, "Sky.jpg"), 90) &&
           SaveJpeg(Forest(), Join(folder, "Forest.jpg"), 90) &&
           SaveJpeg(Ocean(), Join(folder, "Ocean.jpg"), 90) &&
           SaveJpeg(Checks(), Join(folder, "Checks.jpg"), 90) &&
           SaveJpeg(Stars(), Join(folder, "Stars.jpg"), 90);
}

}  // namespace gen
