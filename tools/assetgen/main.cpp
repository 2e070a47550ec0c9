// Draws the default assets into the program folder given as the argument.
// Deterministic: the same bytes on every build.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "platform/TextFile.h"

namespace {
bool SaveJpeg(const QImage& img, const QString& path) { return img.save(path, "JPEG", 90); }
}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: assetgen PROGRAM_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out + "/Graphics");
    QDir().mkpath(out + "/Backs");
    QDir().mkpath(out + "/Sound");
    for (int i = 0; i < 60; ++i) {
        QImage img(160, 160, QImage::Format_RGB32);
        img.fill(QColor::fromHsv((i * 37) % 360, 200, 230));
        QPainter p(&img);
        p.setBrush(QColor::fromHsv((i * 37 + 180) % 360, 255, 160));
        p.drawEllipse(20 + i % 5 * 5, 20, 120 - i % 5 * 10, 120);
        p.end();
        if (!SaveJpeg(img, QString("%1/Graphics/picture%2.jpg").arg(out).arg(i, 2, 10, QChar('0'))))
            return 1;
    }
    QImage sky(300, 400, QImage::Format_RGB32);
    sky.fill(QColor(90, 150, 230));
    if (!SaveJpeg(sky, out + "/Backs/Sky.jpg")) return 1;
    return 0;
}
