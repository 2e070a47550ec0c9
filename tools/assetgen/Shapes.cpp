// The BMP, GIF and ICO pictures of the Graphics folder: bold flat motifs
// drawn with QPainter shapes on a 100 x 100 grid, scaled to the file's size.
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include "Assets.h"

namespace gen {
namespace {

const QColor Outline(40, 30, 30);

QPolygonF Star(QPointF c, double outer, double inner, int points, double turn = -90) {
    QPolygonF poly;
    for (int i = 0; i < points * 2; ++i) {
        const double r = i % 2 ? inner : outer;
        const double a = qDegreesToRadians(turn + i * 180.0 / points);
        poly << c + QPointF(r * std::cos(a), r * std::sin(a));
    }
    return poly;
}

void Gradient(QPainter& p, QColor top, QColor bottom, QRectF r = QRectF(0, 0, 100, 100)) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
}

void Pen(QPainter& p, QColor c, double w) {
    p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

// Icons sit on a rounded tile with transparent corners.
void Tile(QPainter& p, QColor top, QColor bottom) {
    QLinearGradient g(0, 0, 0, 100);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2, 2, 96, 96), 16, 16);
}

// ---- BMP ----
void Sun(QPainter& p) {
    Gradient(p, QColor(30, 140, 230), QColor(150, 215, 255));
    Pen(p, QColor(230, 100, 0), 2);
    p.setBrush(QColor(255, 150, 0));
    p.drawPolygon(Star(QPointF(50, 50), 46, 27, 12));
    QRadialGradient g(44, 44, 30);
    g.setColorAt(0, QColor(255, 250, 150));
    g.setColorAt(1, QColor(255, 200, 0));
    p.setBrush(g);
    p.drawEllipse(QPointF(50, 50), 24, 24);
    Pen(p, QColor(150, 70, 0), 2.5);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(39, 42, 22, 18), 200 * 16, 140 * 16);
    p.setBrush(QColor(150, 70, 0));
    p.drawEllipse(QPointF(42, 44), 2, 2.5);
    p.drawEllipse(QPointF(58, 44), 2, 2.5);
}

void Heart(QPainter& p) {
    Gradient(p, QColor(255, 250, 205), QColor(255, 225, 130));
    QPainterPath heart(QPointF(50, 88));
    heart.cubicTo(20, 66, 6, 46, 12, 30);
    heart.cubicTo(18, 13, 42, 10, 50, 29);
    heart.cubicTo(58, 10, 82, 13, 88, 30);
    heart.cubicTo(94, 46, 80, 66, 50, 88);
    QRadialGradient g(38, 36, 50);
    g.setColorAt(0, QColor(255, 90, 100));
    g.setColorAt(1, QColor(190, 0, 30));
    Pen(p, QColor(120, 0, 20), 2.5);
    p.setBrush(g);
    p.drawPath(heart);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QRectF(22, 26, 12, 8));
}

void House(QPainter& p) {
    Gradient(p, QColor(120, 200, 255), QColor(200, 235, 255), QRectF(0, 0, 100, 78));
    Gradient(p, QColor(90, 180, 60), QColor(50, 130, 40), QRectF(0, 78, 100, 22));
    Pen(p, Outline, 2);
    p.setBrush(QColor(120, 70, 50));
    p.drawRect(QRectF(64, 18, 9, 20));
    p.setBrush(QColor(255, 235, 190));
    p.drawRect(QRectF(22, 45, 56, 38));
    p.setBrush(QColor(220, 40, 40));
    p.drawPolygon(QPolygonF({QPointF(14, 48), QPointF(50, 16), QPointF(86, 48)}));
    p.setBrush(QColor(130, 70, 30));
    p.drawRect(QRectF(30, 58, 14, 25));
    p.setBrush(QColor(100, 190, 255));
    p.drawRect(QRectF(54, 56, 16, 14));
    p.drawLine(QPointF(62, 56), QPointF(62, 70));
    p.drawLine(QPointF(54, 63), QPointF(70, 63));
}

void Sailboat(QPainter& p) {
    Gradient(p, QColor(255, 200, 120), QColor(255, 240, 200), QRectF(0, 0, 100, 66));
    Gradient(p, QColor(0, 110, 180), QColor(0, 50, 110), QRectF(0, 66, 100, 34));
    Pen(p, Outline, 2);
    p.drawLine(QPointF(50, 12), QPointF(50, 70));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(52, 12), QPointF(52, 64), QPointF(84, 64)}));
    p.setBrush(QColor(230, 50, 50));
    p.drawPolygon(QPolygonF({QPointF(48, 20), QPointF(48, 64), QPointF(22, 64)}));
    p.setBrush(QColor(110, 60, 30));
    p.drawPolygon(QPolygonF({QPointF(14, 68), QPointF(86, 68), QPointF(76, 82), QPointF(24, 82)}));
    Pen(p, QColor(255, 255, 255, 170), 2);
    p.drawLine(QPointF(8, 90), QPointF(24, 90));
    p.drawLine(QPointF(60, 92), QPointF(82, 92));
}

void PineTree(QPainter& p) {
    Gradient(p, QColor(225, 240, 255), QColor(185, 210, 240));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(-10, 80, 120, 40));
    Pen(p, QColor(20, 70, 20), 2);
    p.setBrush(QColor(110, 60, 20));
    p.drawRect(QRectF(44, 76, 12, 16));
    const QColor greens[] = {QColor(30, 130, 50), QColor(40, 150, 60), QColor(60, 170, 70)};
    for (int i = 0; i < 3; ++i) {
        const double top = 10 + i * 18, half = 20 + i * 8;
        p.setBrush(greens[i]);
        p.drawPolygon(QPolygonF(
            {QPointF(50, top), QPointF(50 + half, top + 34), QPointF(50 - half, top + 34)}));
    }
    Pen(p, QColor(200, 120, 0), 1.5);
    p.setBrush(QColor(255, 210, 0));
    p.drawPolygon(Star(QPointF(50, 10), 9, 4, 5));
}

void Checkers(QPainter& p) {
    p.setPen(Qt::NoPen);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            p.setBrush((x + y) % 2 ? QColor(30, 30, 30) : QColor(230, 40, 40));
            p.drawRect(QRectF(x * 20, y * 20, 20, 20));
        }
    auto piece = [&](QPointF c, QColor fill, QColor rim) {
        Pen(p, rim, 2);
        p.setBrush(fill.darker(130));
        p.drawEllipse(c + QPointF(0, 3), 15, 13);
        p.setBrush(fill);
        p.drawEllipse(c, 15, 13);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 9, 7.5);
    };
    piece(QPointF(30, 50), QColor(250, 245, 230), QColor(90, 80, 60));
    piece(QPointF(70, 50), QColor(255, 200, 40), QColor(120, 80, 0));
}

// ---- GIF ----
void BigStar(QPainter& p) {
    Gradient(p, QColor(90, 30, 140), QColor(40, 10, 80));
    Pen(p, QColor(200, 90, 0), 3);
    QRadialGradient g(45, 42, 45);
    g.setColorAt(0, QColor(255, 250, 160));
    g.setColorAt(1, QColor(255, 190, 0));
    p.setBrush(g);
    p.drawPolygon(Star(QPointF(50, 54), 44, 19, 5));
}

void Moon(QPainter& p) {
    Gradient(p, QColor(10, 20, 70), QColor(30, 60, 130));
    QPainterPath moon;
    moon.addEllipse(QPointF(46, 50), 34, 34);
    QPainterPath bite;
    bite.addEllipse(QPointF(64, 40), 30, 30);
    Pen(p, QColor(200, 170, 40), 2);
    p.setBrush(QColor(255, 235, 120));
    p.drawPath(moon.subtracted(bite));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 220));
    p.drawPolygon(Star(QPointF(76, 70), 7, 3, 5));
    p.drawPolygon(Star(QPointF(84, 20), 5, 2, 5));
    p.drawPolygon(Star(QPointF(62, 86), 4, 1.6, 5));
}

void Rainbow(QPainter& p) {
    Gradient(p, QColor(150, 210, 255), QColor(230, 245, 255));
    const QColor bands[] = {QColor(230, 30, 30), QColor(255, 140, 0),  QColor(255, 220, 0),
                            QColor(40, 180, 60), QColor(30, 110, 230), QColor(120, 50, 180)};
    for (int i = 0; i < 6; ++i) {
        const double r = 44 - i * 6;
        p.setPen(QPen(bands[i], 6.5, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(50 - r, 74 - r, 2 * r, 2 * r), 0, 180 * 16);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (double x : {12.0, 88.0}) {
        p.drawEllipse(QPointF(x - 8, 78), 9, 8);
        p.drawEllipse(QPointF(x + 6, 78), 10, 9);
        p.drawEllipse(QPointF(x, 72), 9, 9);
    }
}

void Umbrella(QPainter& p) {
    Gradient(p, QColor(110, 130, 150), QColor(170, 190, 210));
    Pen(p, QColor(200, 230, 255), 1.5);
    for (int i = 0; i < 14; ++i) {
        const double x = (i * 37) % 100, y = (i * 53) % 100;
        p.drawLine(QPointF(x, y), QPointF(x - 2, y + 6));
    }
    // Canopy: a dome with a scalloped hem, red and white gores.
    QPainterPath canopy(QPointF(8, 52));
    canopy.cubicTo(8, 10, 92, 10, 92, 52);
    for (int i = 3; i >= 0; --i) {
        const double x1 = 8 + i * 21;
        canopy.quadTo(x1 + 10.5, 44, x1, 52);
    }
    canopy.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 30, 60));
    p.drawPath(canopy);
    p.save();
    p.setClipPath(canopy);
    p.setBrush(QColor(255, 240, 240));
    for (int i : {1, 3}) {
        const double x0 = 8 + i * 21;
        p.drawPolygon(QPolygonF({QPointF(50, 18), QPointF(x0, 56), QPointF(x0 + 21, 56)}));
    }
    p.restore();
    Pen(p, Outline, 2);
    p.setBrush(Qt::NoBrush);
    p.drawPath(canopy);
    Pen(p, QColor(60, 40, 30), 4);
    p.drawLine(QPointF(50, 52), QPointF(50, 80));
    p.drawLine(QPointF(50, 12), QPointF(50, 18));
    p.drawArc(QRectF(50, 74, 14, 14), 180 * 16, 180 * 16);
}

void Snowflake(QPainter& p) {
    Gradient(p, QColor(0, 60, 160), QColor(0, 120, 200));
    Pen(p, Qt::white, 4.5);
    const QPointF c(50, 50);
    for (int i = 0; i < 6; ++i) {
        const double a = qDegreesToRadians(90.0 + i * 60);
        const QPointF dir(std::cos(a), std::sin(a));
        p.drawLine(c, c + 40 * dir);
        for (double d : {18.0, 30.0}) {
            const QPointF base = c + d * dir;
            for (int s : {-1, 1}) {
                const double b = a + s * qDegreesToRadians(45.0);
                p.drawLine(base, base + (d < 20 ? 11 : 8) * QPointF(std::cos(b), std::sin(b)));
            }
        }
    }
    p.setBrush(QColor(180, 230, 255));
    p.drawEllipse(c, 6, 6);
}

void Lightning(QPainter& p) {
    Gradient(p, QColor(50, 50, 60), QColor(110, 110, 130));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 150, 165));
    p.drawEllipse(QRectF(2, 2, 40, 26));
    p.drawEllipse(QRectF(26, -6, 48, 34));
    p.drawEllipse(QRectF(60, 4, 40, 24));
    Pen(p, QColor(180, 90, 0), 2.5);
    p.setBrush(QColor(255, 220, 0));
    p.drawPolygon(QPolygonF({QPointF(56, 14), QPointF(28, 56), QPointF(48, 56), QPointF(36, 94),
                             QPointF(74, 44), QPointF(54, 44), QPointF(68, 14)}));
}

// ---- ICO ----
void Key(QPainter& p) {
    Tile(p, QColor(0, 150, 136), QColor(0, 105, 92));
    Pen(p, QColor(130, 80, 0), 3);
    p.setBrush(QColor(255, 200, 40));
    QPainterPath key;
    key.addEllipse(QPointF(30, 40), 19, 19);
    key.addRect(QRectF(44, 35, 44, 10));
    key.addRect(QRectF(70, 45, 7, 13));
    key.addRect(QRectF(80, 45, 7, 18));
    key = key.simplified();
    QPainterPath hole;
    hole.addEllipse(QPointF(27, 40), 7, 7);
    p.drawPath(key.subtracted(hole));
}

void Bell(QPainter& p) {
    Tile(p, QColor(220, 30, 30), QColor(150, 0, 20));
    Pen(p, QColor(120, 70, 0), 3);
    p.setBrush(QColor(170, 110, 20));
    p.drawEllipse(QPointF(50, 78), 8, 8);
    QPainterPath bell(QPointF(18, 72));
    bell.cubicTo(30, 62, 26, 24, 50, 20);
    bell.cubicTo(74, 24, 70, 62, 82, 72);
    bell.closeSubpath();
    QLinearGradient g(20, 0, 80, 0);
    g.setColorAt(0, QColor(255, 220, 80));
    g.setColorAt(1, QColor(220, 150, 0));
    p.setBrush(g);
    p.drawPath(bell);
    p.drawEllipse(QPointF(50, 17), 5, 5);
    p.drawLine(QPointF(22, 68), QPointF(78, 68));
}

void Crown(QPainter& p) {
    Tile(p, QColor(110, 50, 170), QColor(60, 20, 110));
    Pen(p, QColor(140, 90, 0), 3);
    p.setBrush(QColor(255, 205, 30));
    p.drawPolygon(QPolygonF({QPointF(14, 76), QPointF(12, 30), QPointF(32, 52), QPointF(50, 20),
                             QPointF(68, 52), QPointF(88, 30), QPointF(86, 76)}));
    p.drawRect(QRectF(14, 70, 72, 12));
    p.setBrush(QColor(230, 20, 60));
    p.drawEllipse(QPointF(50, 60), 6, 6);
    p.setBrush(QColor(30, 160, 240));
    p.drawEllipse(QPointF(30, 64), 4.5, 4.5);
    p.drawEllipse(QPointF(70, 64), 4.5, 4.5);
    p.setBrush(Qt::white);
    for (QPointF c : {QPointF(12, 28), QPointF(50, 18), QPointF(88, 28)}) p.drawEllipse(c, 4, 4);
}

void Gem(QPainter& p) {
    Tile(p, QColor(255, 245, 230), QColor(230, 215, 200));
    Pen(p, QColor(0, 60, 120), 2.5);
    const QPointF a(18, 38), b(32, 20), c(68, 20), d(82, 38), e(50, 86), m1(40, 38), m2(60, 38);
    auto facet = [&](std::initializer_list<QPointF> pts, QColor col) {
        p.setBrush(col);
        p.drawPolygon(QPolygonF(QList<QPointF>(pts)));
    };
    facet({a, b, m1}, QColor(120, 210, 255));
    facet({b, c, m2, m1}, QColor(180, 235, 255));
    facet({c, d, m2}, QColor(60, 170, 240));
    facet({a, m1, e}, QColor(30, 130, 220));
    facet({m1, m2, e}, QColor(80, 180, 250));
    facet({m2, d, e}, QColor(10, 90, 190));
}

void Target(QPainter& p) {
    Tile(p, QColor(170, 230, 120), QColor(110, 190, 70));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        p.setBrush(i % 2 ? QColor(255, 255, 255) : QColor(220, 20, 30));
        const double r = 40 - i * 8;
        p.drawEllipse(QPointF(50, 50), r, r);
    }
    Pen(p, QColor(60, 40, 20), 3.5);
    p.drawLine(QPointF(51, 49), QPointF(86, 14));
    p.setBrush(QColor(40, 90, 200));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(86, 14), QPointF(96, 8), QPointF(90, 22)}));
    p.drawPolygon(QPolygonF({QPointF(86, 14), QPointF(92, 4), QPointF(78, 10)}));
}

void Notes(QPainter& p) {
    Tile(p, QColor(255, 160, 40), QColor(240, 110, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(25, 25, 40));
    p.save();
    p.translate(30, 74);
    p.rotate(-20);
    p.drawEllipse(QPointF(0, 0), 11, 8);
    p.restore();
    p.save();
    p.translate(72, 66);
    p.rotate(-20);
    p.drawEllipse(QPointF(0, 0), 11, 8);
    p.restore();
    p.drawRect(QRectF(37, 26, 5, 48));
    p.drawRect(QRectF(79, 18, 5, 48));
    p.drawPolygon(QPolygonF({QPointF(37, 26), QPointF(84, 18), QPointF(84, 30), QPointF(37, 38)}));
}

struct ShapePicture {
    const char* file;
    void (*draw)(QPainter&);
    int size;
};

const ShapePicture Shapes[] = {
    {"sun.bmp", Sun, 256},
    {"heart.bmp", Heart, 240},
    {"house.bmp", House, 256},
    {"sailboat.bmp", Sailboat, 240},
    {"pinetree.bmp", PineTree, 256},
    {"checkers.bmp", Checkers, 240},
    {"star.gif", BigStar, 240},
    {"moon.gif", Moon, 240},
    {"rainbow.gif", Rainbow, 256},
    {"umbrella.gif", Umbrella, 240},
    {"snowflake.gif", Snowflake, 240},
    {"lightning.gif", Lightning, 240},
    {"key.ico", Key, 128},
    {"bell.ico", Bell, 128},
    {"crown.ico", Crown, 128},
    {"gem.ico", Gem, 128},
    {"target.ico", Target, 128},
    {"notes.ico", Notes, 128},
};

}  // namespace

QImage DrawShape(void (*draw)(QPainter&), int size) {
    QImage img = Canvas(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 100.0, size / 100.0);
    draw(p);
    return img;
}

bool WriteShapeGraphics(const QString& folder) {
    for (const ShapePicture& s : Shapes) {
        const QImage img = DrawShape(s.draw, s.size);
        const QString path = Join(folder, s.file);
        const QString ext = path.section('.', -1);
        const bool ok = ext == "bmp"   ? SaveBmp(img, path)
                        : ext == "gif" ? SaveGif(img, path)
                                       : SaveIco(img, path);
        if (!ok) return false;
    }
    return true;
}

}  // namespace gen
