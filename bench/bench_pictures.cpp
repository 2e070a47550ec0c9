// Decoding a 24-megapixel photo whole against decoding it straight to card
// size. The photo is drawn once into the build folder and kept there.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRadialGradient>

#include "platform/PictureLoader.h"

namespace {

QString PhotoPath() {
    static const QString path = [] {
        const QString file = QDir(QCoreApplication::applicationDirPath()).filePath("photo_6000x4000.jpg");
        if (QFileInfo::exists(file)) return file;
        // Gradients and shapes, so the encoder has real detail to work with.
        QImage img(6000, 4000, QImage::Format_RGB32);
        QPainter p(&img);
        QLinearGradient sky(0, 0, 0, 4000);
        sky.setColorAt(0, QColor(40, 90, 200));
        sky.setColorAt(1, QColor(250, 220, 150));
        p.fillRect(img.rect(), sky);
        for (int i = 0; i < 400; ++i) {
            const int x = (i * 7919) % 6000, y = (i * 104729) % 4000, r = 40 + (i * 31) % 300;
            QRadialGradient g(x, y, r);
            g.setColorAt(0, QColor::fromHsv((i * 37) % 360, 200, 250));
            g.setColorAt(1, QColor::fromHsv((i * 53) % 360, 255, 90));
            p.setBrush(g);
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPoint(x, y), r, r);
        }
        p.end();
        QImageWriter writer(file, "jpeg");
        writer.setQuality(90);
        if (!writer.write(img)) qFatal("cannot write %s", qPrintable(file));
        return file;
    }();
    return path;
}

void BM_DecodeFull(benchmark::State& state) {
    PictureLoader loader;
    const QString file = PhotoPath();
    for (auto _ : state) {
        auto p = loader.Load(file);
        if (!p) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(BM_DecodeFull)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DecodeScaled384(benchmark::State& state) {
    PictureLoader loader;
    const QString file = PhotoPath();
    for (auto _ : state) {
        auto p = loader.Load(file, QSize(384, 384));
        if (!p || p->image.width() != 384) state.SkipWithError("scaled decode failed");
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(BM_DecodeScaled384)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
