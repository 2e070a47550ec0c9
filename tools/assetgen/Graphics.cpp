// The JPEG pictures of the Graphics folder: colour emoji on soft, varied
// backgrounds, and three larger photo-like scenes.
#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include "Assets.h"

namespace gen {
namespace {

enum class Pattern { Plain, Dots, Stripes, Rays, Rings };

struct EmojiPicture {
    const char* file;
    const char* emoji;  // UTF-8
    QRgb background;
    Pattern pattern;
    int width, height;
};

// Backgrounds are chosen against each motif's own colour, and the hues are
// spread so that no two cards look alike from across the table.
const EmojiPicture Pictures[] = {
    {"octopus.jpg", "\U0001F419", 0x2a9d8f, Pattern::Rings, 280, 280},
    {"fox.jpg", "\U0001F98A", 0x558b2f, Pattern::Dots, 280, 280},
    {"watermelon.jpg", "\U0001F349", 0xb2ebf2, Pattern::Stripes, 300, 240},
    {"bicycle.jpg", "\U0001F6B2", 0xd81b60, Pattern::Rays, 320, 240},
    {"cat.jpg", "\U0001F431", 0x7e57c2, Pattern::Dots, 280, 280},
    {"dog.jpg", "\U0001F436", 0x9ccc65, Pattern::Plain, 280, 280},
    {"frog.jpg", "\U0001F438", 0xf48fb1, Pattern::Rings, 280, 280},
    {"penguin.jpg", "\U0001F427", 0x4dd0e1, Pattern::Stripes, 260, 300},
    {"owl.jpg", "\U0001F989", 0x1b5e20, Pattern::Dots, 260, 300},
    {"turtle.jpg", "\U0001F422", 0xffb74d, Pattern::Rays, 300, 240},
    {"butterfly.jpg", "\U0001F98B", 0xfff176, Pattern::Rings, 280, 280},
    {"ladybug.jpg", "\U0001F41E", 0x66bb6a, Pattern::Dots, 280, 280},
    {"bee.jpg", "\U0001F41D", 0x81d4fa, Pattern::Stripes, 280, 280},
    {"snail.jpg", "\U0001F40C", 0xce93d8, Pattern::Plain, 300, 240},
    {"elephant.jpg", "\U0001F418", 0xff8a65, Pattern::Rays, 300, 260},
    {"lion.jpg", "\U0001F981", 0x1565c0, Pattern::Rays, 280, 280},
    {"panda.jpg", "\U0001F43C", 0xaed581, Pattern::Stripes, 280, 280},
    {"unicorn.jpg", "\U0001F984", 0xf06292, Pattern::Dots, 280, 280},
    {"parrot.jpg", "\U0001F99C", 0xffe082, Pattern::Rings, 260, 300},
    {"crab.jpg", "\U0001F980", 0x26c6da, Pattern::Dots, 300, 240},
    {"pineapple.jpg", "\U0001F34D", 0xab47bc, Pattern::Stripes, 240, 300},
    {"strawberry.jpg", "\U0001F353", 0x80cbc4, Pattern::Dots, 280, 280},
    {"cherries.jpg", "\U0001F352", 0xfff59d, Pattern::Rings, 280, 280},
    {"grapes.jpg", "\U0001F347", 0xc5e1a5, Pattern::Plain, 260, 300},
    {"banana.jpg", "\U0001F34C", 0x3949ab, Pattern::Stripes, 280, 280},
    {"carrot.jpg", "\U0001F955", 0x5e35b1, Pattern::Dots, 280, 280},
    {"pizza.jpg", "\U0001F355", 0x00897b, Pattern::Rays, 280, 280},
    {"icecream.jpg", "\U0001F366", 0xe53935, Pattern::Dots, 260, 300},
    {"doughnut.jpg", "\U0001F369", 0x8c9eff, Pattern::Rings, 280, 280},
    {"car.jpg", "\U0001F697", 0x00bfa5, Pattern::Stripes, 320, 240},
    {"guitar.jpg", "\U0001F3B8", 0x4db6ac, Pattern::Rays, 260, 300},
    {"football.jpg", "\U000026BD", 0x43a047, Pattern::Stripes, 280, 280},
    {"globe.jpg", "\U0001F30D", 0x1a237e, Pattern::Dots, 280, 280},
    {"sunflower.jpg", "\U0001F33B", 0x37474f, Pattern::Plain, 260, 300},
    {"teddybear.jpg", "\U0001F9F8", 0xf8bbd0, Pattern::Rings, 280, 280},
    {"mushroom.jpg", "\U0001F344", 0x6d4c41, Pattern::Dots, 280, 280},
    {"pig.jpg", "\U0001F437", 0x00acc1, Pattern::Rays, 280, 280},
    {"dinosaur.jpg", "\U0001F995", 0xe0e0e0, Pattern::Stripes, 320, 240},
    {"pumpkin.jpg", "\U0001F383", 0x311b92, Pattern::Rings, 280, 280},
    {"trumpet.jpg", "\U0001F3BA", 0x880e4f, Pattern::Rays, 300, 240},
};

void DrawPattern(QPainter& p, Pattern pattern, int w, int h, QColor ink) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    switch (pattern) {
        case Pattern::Plain:
            break;
        case Pattern::Dots:
            for (int y = 0; y < h + 30; y += 30)
                for (int x = (y / 30) % 2 * 15; x < w + 30; x += 30)
                    p.drawEllipse(QPointF(x, y), 5, 5);
            break;
        case Pattern::Stripes:
            p.setPen(QPen(ink, 12));
            for (int x = -h; x < w; x += 36) p.drawLine(x, h, x + h, 0);
            break;
        case Pattern::Rays: {
            const QPointF c(w / 2.0, h / 2.0);
            const double r = std::max(w, h);
            for (int i = 0; i < 16; i += 2) {
                const double a0 = i * M_PI / 8, a1 = (i + 1) * M_PI / 8;
                QPolygonF ray;
                ray << c << c + QPointF(r * std::cos(a0), r * std::sin(a0))
                    << c + QPointF(r * std::cos(a1), r * std::sin(a1));
                p.drawPolygon(ray);
            }
            break;
        }
        case Pattern::Rings:
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(ink, 10));
            for (int r = 30; r < std::max(w, h); r += 34)
                p.drawEllipse(QPointF(w / 2.0, h / 2.0), r, r);
            break;
    }
    p.restore();
}

// The emoji with a soft shadow, centred in `area`.
bool DrawMotif(QPainter& p, const QString& emoji, const QRectF& area, int size) {
    const QImage glyph = EmojiGlyph(emoji, size);
    if (glyph.isNull()) return Fail("no glyph for a motif in the emoji font");
    const QImage shadow = Shadow(glyph, 6, QColor(0, 0, 0, 110));
    const QPointF at(area.center().x() - size / 2.0, area.center().y() - size / 2.0);
    p.drawImage(at + QPointF(size * 0.035, size * 0.05), shadow);
    p.drawImage(at, glyph);
    return true;
}

bool DrawEmojiPicture(const EmojiPicture& pic, const QString& path) {
    QImage img = Canvas(pic.width, pic.height);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QColor bg = QColor::fromRgb(pic.background);
    SoftBackground(p, pic.width, pic.height, bg.lighter(135), bg.darker(115));
    QColor ink = bg.lighter(115);
    ink.setAlpha(120);
    DrawPattern(p, pic.pattern, pic.width, pic.height, ink);
    const int size = int(std::min(pic.width, pic.height) * 0.74);
    if (!DrawMotif(p, QString::fromUtf8(pic.emoji), QRectF(0, 0, pic.width, pic.height), size))
        return false;
    p.end();
    return SaveJpeg(img, path);
}

// ---- Scenes: larger pictures, closer to a photograph ----

constexpr int SceneW = 640, SceneH = 480;

bool WhaleScene(const QString& path) {
    QImage img = Canvas(SceneW, SceneH);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 210);
    sky.setColorAt(0, QColor(120, 190, 250));
    sky.setColorAt(1, QColor(215, 240, 255));
    p.fillRect(0, 0, SceneW, 210, sky);
    QLinearGradient sea(0, 200, 0, SceneH);
    sea.setColorAt(0, QColor(20, 120, 190));
    sea.setColorAt(1, QColor(5, 40, 100));
    p.fillRect(0, 200, SceneW, SceneH - 200, sea);
    p.setPen(QPen(QColor(255, 255, 255, 90), 3));
    Lcg rnd(7);
    for (int row = 0; row < 9; ++row) {
        const double y = 225 + row * 28;
        for (int i = 0; i < 7; ++i) {
            const double x = rnd.Range(-40, SceneW);
            QPainterPath wave(QPointF(x, y));
            wave.cubicTo(x + 15, y - 8, x + 30, y - 8, x + 45, y);
            p.drawPath(wave);
        }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawEllipse(QRectF(60, 50, 120, 40));
    p.drawEllipse(QRectF(100, 30, 90, 50));
    p.drawEllipse(QRectF(430, 70, 140, 36));
    return DrawMotif(p, QString::fromUtf8("\U0001F433"), QRectF(120, 90, 400, 330), 330) &&
           (p.end(), SaveJpeg(img, path));
}

bool RocketScene(const QString& path) {
    QImage img = Canvas(SceneW, SceneH);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient night(0, 0, 0, SceneH);
    night.setColorAt(0, QColor(8, 10, 40));
    night.setColorAt(1, QColor(60, 30, 110));
    p.fillRect(img.rect(), night);
    Lcg rnd(11);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 160; ++i) {
        const int a = 120 + int(rnd.Range(0, 135));
        p.setBrush(QColor(255, 255, 230, a));
        const double r = rnd.Range(0.6, 2.2);
        p.drawEllipse(QPointF(rnd.Range(0, SceneW), rnd.Range(0, SceneH)), r, r);
    }
    QRadialGradient planet(520, 390, 150, 470, 340);
    planet.setColorAt(0, QColor(255, 170, 90));
    planet.setColorAt(1, QColor(150, 50, 40));
    p.setBrush(planet);
    p.drawEllipse(QPointF(520, 400), 140, 140);
    return DrawMotif(p, QString::fromUtf8("\U0001F680"), QRectF(80, 60, 400, 360), 330) &&
           (p.end(), SaveJpeg(img, path));
}

bool CactusScene(const QString& path) {
    QImage img = Canvas(SceneW, SceneH);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, QColor(250, 120, 60));
    sky.setColorAt(1, QColor(255, 220, 130));
    p.fillRect(img.rect(), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 245, 200));
    p.drawEllipse(QPointF(470, 150), 70, 70);
    QPainterPath far(QPointF(0, 330));
    far.cubicTo(160, 270, 330, 350, SceneW, 300);
    far.lineTo(SceneW, SceneH);
    far.lineTo(0, SceneH);
    p.setBrush(QColor(220, 140, 70));
    p.drawPath(far);
    QPainterPath near(QPointF(0, 400));
    near.cubicTo(200, 350, 420, 430, SceneW, 380);
    near.lineTo(SceneW, SceneH);
    near.lineTo(0, SceneH);
    p.setBrush(QColor(190, 100, 50));
    p.drawPath(near);
    return DrawMotif(p, QString::fromUtf8("\U0001F335"), QRectF(70, 60, 360, 380), 340) &&
           (p.end(), SaveJpeg(img, path));
}

}  // namespace

bool WriteGraphics(const QString& out) {
    const QString folder = Join(out, "Graphics");
    if (!QDir().mkpath(folder)) return Fail("cannot create " + folder);
    // An earlier generator drew numbered swatches; they are not ours any more.
    QDir dir(folder);
    for (const QString& old : dir.entryList({"picture[0-9][0-9].jpg"}, QDir::Files))
        dir.remove(old);
    if (!LoadEmojiFont()) return false;
    for (const EmojiPicture& pic : Pictures)
        if (!DrawEmojiPicture(pic, Join(folder, pic.file))) return false;
    return WhaleScene(Join(folder, "whale.jpg")) && RocketScene(Join(folder, "rocket.jpg")) &&
           CactusScene(Join(folder, "cactus.jpg")) && WriteShapeGraphics(folder) &&
           WriteWmfGraphics(folder);
}

}  // namespace gen
