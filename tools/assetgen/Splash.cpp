// The splash's two pictures, the high-score window's trophy and the
// application icon, in the Splash folder.
#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <QtMath>

#include "Assets.h"
#include "app/AssetPaths.h"

namespace gen {
namespace {

// Cards drawn on a 100-unit grid: a sky back or a white face with a motif.
void CardBack(QPainter& p, const QRectF& r) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(25, 95, 200));
    g.setColorAt(1, QColor(140, 200, 250));
    p.setPen(QPen(QColor(30, 40, 70), r.width() * 0.03));
    p.setBrush(g);
    p.drawRoundedRect(r, r.width() * 0.1, r.width() * 0.1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    const double s = r.width() / 100;
    for (QPointF c : {QPointF(0.3, 0.3), QPointF(0.68, 0.55), QPointF(0.35, 0.8)}) {
        const QPointF at(r.left() + c.x() * r.width(), r.top() + c.y() * r.height());
        p.drawEllipse(at, 16 * s, 8 * s);
        p.drawEllipse(at + QPointF(6 * s, -6 * s), 10 * s, 8 * s);
    }
}

QPainterPath HeartPath(const QRectF& r) {
    auto at = [&](double x, double y) {
        return QPointF(r.left() + x * r.width(), r.top() + y * r.height());
    };
    QPainterPath h(at(0.5, 0.88));
    h.cubicTo(at(0.2, 0.66), at(0.06, 0.46), at(0.12, 0.3));
    h.cubicTo(at(0.18, 0.13), at(0.42, 0.1), at(0.5, 0.29));
    h.cubicTo(at(0.58, 0.1), at(0.82, 0.13), at(0.88, 0.3));
    h.cubicTo(at(0.94, 0.46), at(0.8, 0.66), at(0.5, 0.88));
    return h;
}

QPolygonF StarPolygon(QPointF c, double outer, double inner) {
    QPolygonF poly;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 ? inner : outer, a = qDegreesToRadians(-90.0 + i * 36);
        poly << c + QPointF(r * std::cos(a), r * std::sin(a));
    }
    return poly;
}

enum class Face { Heart, Star };

void CardFace(QPainter& p, const QRectF& r, Face face) {
    p.setPen(QPen(QColor(30, 40, 70), r.width() * 0.03));
    p.setBrush(QColor(255, 252, 240));
    p.drawRoundedRect(r, r.width() * 0.1, r.width() * 0.1);
    const QRectF inner =
        r.adjusted(r.width() * 0.14, r.height() * 0.2, -r.width() * 0.14, -r.height() * 0.2);
    p.setPen(QPen(QColor(110, 0, 20), r.width() * 0.025));
    if (face == Face::Heart) {
        p.setBrush(QColor(220, 30, 50));
        p.drawPath(HeartPath(inner));
    } else {
        p.setPen(QPen(QColor(190, 100, 0), r.width() * 0.025));
        p.setBrush(QColor(255, 200, 20));
        p.drawPolygon(StarPolygon(inner.center(), inner.width() * 0.5, inner.width() * 0.21));
    }
}

void Rotated(QPainter& p, QPointF centre, double degrees,
             const std::function<void(const QRectF&)>& draw, QSizeF size) {
    p.save();
    p.translate(centre);
    p.rotate(degrees);
    draw(QRectF(-size.width() / 2, -size.height() / 2, size.width(), size.height()));
    p.restore();
}

// Both splash pictures lie on the same green felt, edge to edge.
void Felt(QPainter& p, int w, int h) {
    QLinearGradient felt(0, 0, 0, h);
    felt.setColorAt(0, QColor(30, 120, 70));
    felt.setColorAt(1, QColor(15, 80, 45));
    p.fillRect(QRectF(0, 0, w, h), felt);
}

// The pictures are drawn on their design grid at `scale` pixels per unit:
// once for ordinary screens, once at twice the size for high-density ones.
void Begin(QPainter& p, QImage& img, int scale) {
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
}

// The logo: a fan of three cards, a back and the two halves of a pair.
QImage Logo(int scale) {
    QImage img = Canvas(160 * scale, 240 * scale);
    QPainter p;
    Begin(p, img, scale);
    Felt(p, 160, 240);
    const QSizeF card(92, 128);
    Rotated(
        p, QPointF(62, 96), -14, [&](const QRectF& r) { CardBack(p, r); }, card);
    Rotated(
        p, QPointF(80, 120), 0, [&](const QRectF& r) { CardFace(p, r, Face::Heart); }, card);
    Rotated(
        p, QPointF(98, 146), 14, [&](const QRectF& r) { CardFace(p, r, Face::Heart); }, card);
    return img;
}

// The second picture: a small board in play, two stars found.
QImage Board(int scale) {
    QImage img = Canvas(160 * scale, 240 * scale);
    QPainter p;
    Begin(p, img, scale);
    Felt(p, 160, 240);
    const int up[] = {1, 4};  // the found pair
    for (int i = 0; i < 6; ++i) {
        const QRectF r(14 + (i % 2) * 70, 14 + (i / 2) * 74, 62, 66);
        if (i == up[0] || i == up[1])
            CardFace(p, r, Face::Star);
        else
            CardBack(p, r);
    }
    return img;
}

// The trophy for the high-score window: greyscale and low in contrast, so
// the black, blue and white columns of the table stay readable over it.
QImage Trophy(int scale) {
    constexpr int W = 630, H = 460;
    QImage img = Canvas(W * scale, H * scale);
    QPainter p;
    Begin(p, img, scale);
    QRadialGradient bg(W / 2.0, H * 0.45, W * 0.6);
    bg.setColorAt(0, QColor(178, 178, 178));
    bg.setColorAt(1, QColor(140, 140, 140));
    p.fillRect(QRectF(0, 0, W, H), bg);

    // Laurel branches curving up on either side of the cup.
    for (int side : {-1, 1}) {
        const QPointF p0(W / 2.0 + side * 90, 425), p1(W / 2.0 + side * 265, 390),
            p2(W / 2.0 + side * 200, 90);
        p.setPen(QPen(QColor(135, 135, 135), 5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath stem(p0);
        stem.quadTo(p1, p2);
        p.drawPath(stem);
        p.setPen(QPen(QColor(135, 135, 135), 2));
        p.setBrush(QColor(155, 155, 155));
        for (int i = 1; i <= 10; ++i) {
            const double t = i / 10.5;
            const QPointF at = (1 - t) * (1 - t) * p0 + 2 * (1 - t) * t * p1 + t * t * p2;
            const QPointF tangent = 2 * (1 - t) * (p1 - p0) + 2 * t * (p2 - p1);
            const double angle = qRadiansToDegrees(std::atan2(tangent.y(), tangent.x()));
            for (int leaf : {-1, 1}) {
                p.save();
                p.translate(at);
                p.rotate(angle + leaf * 40);
                p.drawEllipse(QPointF(16, 0), 16, 7);
                p.restore();
            }
        }
    }

    // The cup: bowl, handles, stem and a stepped base.
    QLinearGradient metal(170, 0, 460, 0);
    metal.setColorAt(0, QColor(128, 128, 128));
    metal.setColorAt(0.35, QColor(196, 196, 196));
    metal.setColorAt(0.6, QColor(150, 150, 150));
    metal.setColorAt(1, QColor(120, 120, 120));
    const QPen rim(QColor(112, 112, 112), 4);
    p.setPen(QPen(QColor(125, 125, 125), 16, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(150, 80, 110, 130), 90 * 16, 180 * 16);
    p.drawArc(QRectF(370, 80, 110, 130), -90 * 16, 180 * 16);
    QPainterPath bowl(QPointF(190, 60));
    bowl.lineTo(440, 60);
    bowl.cubicTo(440, 210, 380, 270, 315, 280);
    bowl.cubicTo(250, 270, 190, 210, 190, 60);
    p.setPen(rim);
    p.setBrush(metal);
    p.drawPath(bowl);
    p.drawEllipse(QRectF(190, 46, 250, 28));
    p.drawRect(QRectF(300, 280, 30, 60));
    p.drawRoundedRect(QRectF(250, 336, 130, 26), 6, 6);
    p.drawRoundedRect(QRectF(220, 360, 190, 50), 8, 8);
    // A faint star on the bowl, without an outline: the board column of the
    // table runs over it.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(205, 205, 205, 110));
    p.drawPolygon(StarPolygon(QPointF(315, 160), 46, 19));
    p.end();
    return img.convertToFormat(QImage::Format_Grayscale8);
}

// The application icon: a card back and a face with a heart.
void Icon(QPainter& p) {
    Rotated(
        p, QPointF(38, 50), -12, [&](const QRectF& r) { CardBack(p, r); }, QSizeF(52, 72));
    Rotated(
        p, QPointF(62, 52), 10, [&](const QRectF& r) { CardFace(p, r, Face::Heart); },
        QSizeF(52, 72));
}

}  // namespace

bool WriteSplash(const QString& out) {
    const QString folder = Join(out, "Splash");
    if (!QDir().mkpath(folder)) return Fail("cannot create " + folder);
    // The folder holds nothing but what is drawn here; earlier names go.
    QDir dir(folder);
    for (const QString& old : dir.entryList(QDir::Files)) dir.remove(old);
    for (const int scale : {1, 2}) {
        const auto name = [&](const char* art) {
            return Join(out, assets::AtScale(QString::fromLatin1(art), scale));
        };
        if (!SaveJpeg(Logo(scale), name(assets::SplashLogo), 92) ||
            !SaveJpeg(Board(scale), name(assets::SplashPicture), 92) ||
            !SaveJpeg(Trophy(scale), name(assets::Trophy), 90))
            return false;
    }
    return SaveIco(DrawShape(Icon, 256), Join(out, assets::Icon)) &&
           SaveIco(DrawShape(Icon, 64), Join(out, assets::IconSmall)) && WriteThemeIcons(out);
}

bool WriteThemeIcons(const QString& out) {
    for (int size : assets::ThemeIconSizes) {
        const QString path = Join(out, assets::ThemeIcon(size));
        if (!DrawShape(Icon, size).save(path, "PNG")) return Fail("cannot write " + path);
    }
    // The same drawing as vectors, on its 100-unit grid.
    const QString path = Join(out, assets::ThemeIconScalable);
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(100, 100));
    svg.setViewBox(QRect(0, 0, 100, 100));
    svg.setTitle("Tavimo");
    QPainter p;
    if (!p.begin(&svg)) return Fail("cannot write " + path);
    p.setRenderHint(QPainter::Antialiasing);
    Icon(p);
    if (!p.end()) return Fail("cannot write " + path);
    return true;
}

}  // namespace gen
