// The WMF pictures of the Graphics folder, written with the game's own
// metafile writer: plain shapes only, on a 100 x 100 grid.
#include <QtMath>

#include "Assets.h"
#include "WmfWriter.h"

namespace gen {
namespace {

// 36 logical units per grid step: 3600 units at 1440 per inch is 2.5 inches,
// 240 pixels on a screen of 96 pixels per inch.
constexpr int Unit = 36;

class Sketch {
public:
    Sketch() : w_(100 * Unit, 100 * Unit) {}
    void Pen(QColor c, double width) { w_.SetPen(c, int(width * Unit)); }
    void NoPen() { w_.SetNullPen(); }
    void Brush(QColor c) { w_.SetBrush(c); }
    void NoBrush() { w_.SetNullBrush(); }
    void Rect(double l, double t, double r, double b) { w_.Rectangle(U(l), U(t), U(r), U(b)); }
    void Round(double l, double t, double r, double b, double corner) {
        w_.RoundRect(U(l), U(t), U(r), U(b), U(corner), U(corner));
    }
    void Circle(double x, double y, double rx, double ry) {
        w_.Ellipse(U(x - rx), U(y - ry), U(x + rx), U(y + ry));
    }
    void Poly(std::initializer_list<QPointF> pts) { w_.Polygon(Points(pts)); }
    void Line(std::initializer_list<QPointF> pts) { w_.Polyline(Points(pts)); }
    QByteArray Finish() const { return w_.Finish(); }

private:
    static int U(double v) { return int(v * Unit); }
    static QPolygon Points(std::initializer_list<QPointF> pts) {
        QPolygon poly;
        for (QPointF p : pts) poly << QPoint(U(p.x()), U(p.y()));
        return poly;
    }
    WmfWriter w_;
};

QByteArray Daisy() {
    Sketch s;
    s.NoPen();
    s.Brush(QColor(140, 200, 255));
    s.Rect(0, 0, 100, 100);
    s.Brush(QColor(90, 170, 70));
    s.Rect(0, 86, 100, 100);
    s.Pen(QColor(40, 130, 40), 4);
    s.Line({{50, 52}, {50, 92}});
    s.Pen(QColor(30, 100, 30), 1);
    s.Brush(QColor(60, 170, 60));
    s.Poly({{50, 78}, {64, 64}, {76, 66}, {62, 78}});
    s.Poly({{50, 84}, {36, 70}, {24, 72}, {38, 84}});
    s.Pen(QColor(180, 60, 130), 1);
    s.Brush(QColor(255, 130, 200));
    for (int i = 0; i < 10; ++i) {
        const double a = qDegreesToRadians(i * 36.0);
        s.Circle(50 + 21 * std::cos(a), 38 + 21 * std::sin(a), 10, 10);
    }
    s.Pen(QColor(200, 120, 0), 1);
    s.Brush(QColor(255, 210, 0));
    s.Circle(50, 38, 13, 13);
    return s.Finish();
}

QByteArray TrafficLight() {
    Sketch s;
    s.NoPen();
    s.Brush(QColor(200, 230, 200));
    s.Rect(0, 0, 100, 100);
    s.Brush(QColor(90, 90, 90));
    s.Rect(45, 80, 55, 100);
    s.Pen(QColor(20, 20, 20), 1.5);
    s.Brush(QColor(45, 45, 50));
    s.Round(28, 4, 72, 84, 10);
    const QColor lamps[] = {QColor(240, 30, 30), QColor(255, 200, 0), QColor(30, 200, 70)};
    for (int i = 0; i < 3; ++i) {
        s.Brush(lamps[i]);
        s.Circle(50, 18 + i * 26, 10, 10);
    }
    return s.Finish();
}

QByteArray Robot() {
    Sketch s;
    s.NoPen();
    s.Brush(QColor(255, 170, 60));
    s.Rect(0, 0, 100, 100);
    s.Pen(QColor(60, 60, 70), 1.5);
    s.Line({{50, 8}, {50, 20}});
    s.Brush(QColor(230, 40, 40));
    s.Circle(50, 8, 4, 4);
    s.Brush(QColor(180, 190, 200));
    s.Round(28, 20, 72, 50, 8);
    s.Rect(22, 54, 78, 92);
    s.Rect(10, 58, 20, 84);
    s.Rect(80, 58, 90, 84);
    s.Brush(QColor(40, 220, 255));
    s.Circle(40, 33, 5, 5);
    s.Circle(60, 33, 5, 5);
    s.Brush(QColor(60, 60, 70));
    s.Rect(38, 42, 62, 45);
    s.Brush(QColor(255, 220, 0));
    s.Rect(38, 62, 62, 72);
    s.Brush(QColor(230, 40, 40));
    s.Circle(44, 82, 3, 3);
    s.Brush(QColor(40, 180, 70));
    s.Circle(56, 82, 3, 3);
    return s.Finish();
}

QByteArray Fish() {
    Sketch s;
    s.NoPen();
    s.Brush(QColor(0, 90, 170));
    s.Rect(0, 0, 100, 100);
    s.Brush(QColor(230, 190, 120));
    s.Rect(0, 88, 100, 100);
    s.Pen(QColor(120, 50, 0), 1);
    s.Brush(QColor(255, 120, 0));
    s.Poly({{64, 50}, {92, 30}, {86, 50}, {92, 70}});
    s.Poly({{36, 32}, {46, 20}, {58, 32}});
    s.Circle(42, 50, 30, 19);
    s.Pen(QColor(150, 60, 0), 1.5);
    s.Line({{34, 35}, {38, 42}, {39, 50}, {38, 58}, {34, 65}});
    s.Pen(QColor(120, 50, 0), 1);
    s.Brush(Qt::white);
    s.Circle(24, 45, 6, 6);
    s.Brush(Qt::black);
    s.Circle(23, 45, 3, 3);
    s.Pen(QColor(200, 235, 255), 1);
    s.NoBrush();
    s.Circle(14, 24, 4, 4);
    s.Circle(20, 12, 3, 3);
    s.Circle(10, 6, 2, 2);
    return s.Finish();
}

QByteArray Snowman() {
    Sketch s;
    s.NoPen();
    s.Brush(QColor(20, 30, 80));
    s.Rect(0, 0, 100, 100);
    s.Brush(QColor(235, 245, 255));
    s.Rect(0, 86, 100, 100);
    s.Pen(QColor(150, 170, 200), 1);
    s.Circle(50, 72, 22, 18);
    s.Circle(50, 42, 16, 14);
    s.Circle(50, 20, 12, 11);
    s.NoPen();
    s.Brush(QColor(20, 20, 20));
    s.Rect(38, 4, 62, 10);
    s.Rect(42, 0, 58, 6);
    s.Circle(45, 18, 1.8, 1.8);
    s.Circle(55, 18, 1.8, 1.8);
    s.Circle(50, 38, 2, 2);
    s.Circle(50, 48, 2, 2);
    s.Brush(QColor(255, 120, 0));
    s.Poly({{50, 21}, {64, 24}, {50, 25}});
    s.Brush(QColor(220, 30, 40));
    s.Rect(38, 29, 62, 33);
    s.Rect(56, 29, 61, 42);
    s.Pen(QColor(110, 70, 30), 1.5);
    s.Line({{35, 42}, {18, 32}, {14, 26}});
    s.Line({{65, 42}, {82, 32}, {86, 26}});
    return s.Finish();
}

QByteArray Pinwheel() {
    Sketch s;
    s.NoPen();
    s.Brush(QColor(255, 240, 130));
    s.Rect(0, 0, 100, 100);
    s.Pen(QColor(120, 80, 40), 3);
    s.Line({{50, 42}, {50, 98}});
    s.Pen(QColor(40, 40, 40), 1);
    const QPointF c(50, 42);
    const QColor blades[] = {QColor(230, 40, 60), QColor(40, 120, 230), QColor(40, 180, 80),
                             QColor(255, 150, 0)};
    for (int i = 0; i < 4; ++i) {
        const double a = qDegreesToRadians(i * 90.0), b = qDegreesToRadians(i * 90.0 + 90);
        s.Brush(blades[i]);
        s.Poly({c, c + 36 * QPointF(std::cos(a), std::sin(a)),
                c + 22 * QPointF(std::cos(a) + std::cos(b), std::sin(a) + std::sin(b))});
    }
    s.Brush(QColor(250, 250, 250));
    s.Circle(50, 42, 4, 4);
    return s.Finish();
}

}  // namespace

bool WriteWmfGraphics(const QString& folder) {
    const std::pair<const char*, QByteArray> files[] = {
        {"daisy.wmf", Daisy()}, {"trafficlight.wmf", TrafficLight()}, {"robot.wmf", Robot()},
        {"fish.wmf", Fish()},   {"snowman.wmf", Snowman()},           {"pinwheel.wmf", Pinwheel()},
    };
    for (const auto& [name, bytes] : files)
        if (!SaveBytes(bytes, Join(folder, name))) return false;
    return true;
}

}  // namespace gen
