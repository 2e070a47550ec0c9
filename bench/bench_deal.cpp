// Dealing a board is the one heavy step a player waits for, and decoding is
// its cost. This measures a deal of 40 pairs from 48 photo-sized JPEGs the
// way the game does it (scaled decoding on worker threads, one intermediate
// per picture) beside the naive way (full decode, then scale) in the same
// run, with the peak memory of each; the same deal again once the
// thumbnail cache holds its pictures, and what writing them costs; and a
// relayout of 80 cards at two of the fixed screen sizes. The same deal from
// HEIC copies of the pictures (with a 512-pixel thumbnail, as phones write
// them, and without), AVIF and WebP copies, beside the JPEG deal without the
// cache.
//
// The first deal is timed beside the decode floor in the same run: djpeg at
// 1/8 scale over the same 40 files, two processes at a time (and
// vipsthumbnail when it is installed), as a ratio, since the machine is
// shared and only figures taken together compare.
//
// The thumbnail cache lives in the build folder (bench-cache/), never the
// user's.
// The pictures are generated once into the build folder (bench-pictures/).
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "PhotoWriter.h"
#include "RecordingSoundDevice.h"
#include "ScriptedDialogs.h"
#include "app/Forms.h"
#include "app/GamePaths.h"
#include "app/Module1.h"
#include "board/BoardLayout.h"
#include "board/Form2.h"
#include "config/Form1.h"
#include "pictures/PictureLoader.h"
#include "platform/Platform.h"
#include "start/RealPlatform.h"

namespace {

struct Spec {
    int count, width, height;
    bool progressive;
};
// 28 of 4000 x 3000, 16 of 6000 x 4000, 4 progressive 5472 x 3648.
constexpr Spec Specs[] = {{28, 4000, 3000, false}, {16, 6000, 4000, false}, {4, 5472, 3648, true}};

QString CacheFolder() {
    return QCoreApplication::applicationDirPath() + "/bench-cache";
}
void EmptyCache() {
    QDir(CacheFolder()).removeRecursively();
}

QString PictureFolder() {
    return QCoreApplication::applicationDirPath() + "/bench-pictures";
}

// Smooth colour fields with fine grain, so the encoder and decoder see
// something like a photograph rather than flat colour.
QImage PhotoLike(int w, int h, quint32 seed) {
    QRandomGenerator rng(seed);
    QImage coarse(32, 24, QImage::Format_RGB32);
    for (int y = 0; y < coarse.height(); ++y)
        for (int x = 0; x < coarse.width(); ++x)
            coarse.setPixel(x, y, qRgb(rng.bounded(256), rng.bounded(256), rng.bounded(256)));
    QImage img = coarse.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                     .convertToFormat(QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 12; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(rng.bounded(256), rng.bounded(256), rng.bounded(256), 140));
        p.drawEllipse(QPointF(rng.bounded(w), rng.bounded(h)), rng.bounded(w / 4) + 50.0,
                      rng.bounded(h / 4) + 50.0);
    }
    p.end();
    quint32 state = seed * 2654435761u + 1;
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            state = state * 1664525u + 1013904223u;
            const int n = int(state >> 27) - 16;  // grain of +-16
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + n, 255), qBound(0, qGreen(c) + n, 255),
                           qBound(0, qBlue(c) + n, 255));
        }
    }
    return img;
}

QStringList EnsurePictures() {
    const QString dir = PictureFolder();
    QDir().mkpath(dir);
    QStringList paths;
    int n = 0;
    for (const Spec& s : Specs) {
        for (int i = 0; i < s.count; ++i, ++n) {
            const QString path = QString("%1/photo%2.jpg").arg(dir).arg(n, 2, 10, QChar('0'));
            paths << path;
            if (QFile::exists(path)) continue;
            std::fprintf(stderr, "generating %s (%dx%d%s)\n", qPrintable(path), s.width, s.height,
                         s.progressive ? ", progressive" : "");
            QImageWriter writer(path + ".part", "jpeg");
            writer.setQuality(88);
            writer.setProgressiveScanWrite(s.progressive);
            if (!writer.write(PhotoLike(s.width, s.height, 1000 + n)) ||
                !QFile::rename(path + ".part", path)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                std::exit(1);
            }
        }
    }
    return paths;
}

// Copies of `jpegs` as `kind` beside them, written once: "heic" with a
// 512-pixel thumbnail as phones write them, "bare.heic" without one (as
// converters and cameras may write them), "avif" (without one) or "webp".
// HEIC and AVIF are encoded once for each size and copied: on a shared
// machine each encode takes a minute, and a decode costs the same for any
// photo of its size.
QStringList Copies(const QStringList& jpegs, const QString& kind) {
    QStringList paths;
    QHash<QString, QByteArray> encoded;  // by size
    for (const QString& jpeg : jpegs) {
        const QString path = jpeg.chopped(3) + kind;
        paths << path;
        if (QFile::exists(path)) continue;
        std::fprintf(stderr, "generating %s\n", qPrintable(path));
        const QSize size = QImageReader(jpeg).size();
        const QString sizeKey = QString("%1x%2").arg(size.width()).arg(size.height());
        QByteArray bytes = kind == "webp" ? QByteArray() : encoded.value(sizeKey);
        if (bytes.isEmpty()) {
            const QImage photo(jpeg);
            if (kind == "heic") {
                bytes = photowriter::Heif(
                    photo, false, 1,
                    photo.scaled(512, 512, Qt::KeepAspectRatio, Qt::SmoothTransformation), 50);
            } else if (kind == "bare.heic" || kind == "avif") {
                bytes = photowriter::Heif(photo, kind == "avif", 1, QImage(), 50);
            } else {
                QBuffer buffer(&bytes);
                buffer.open(QIODevice::WriteOnly);
                QImageWriter writer(&buffer, "webp");
                writer.setQuality(80);
                writer.write(photo);
            }
            encoded.insert(sizeKey, bytes);
        }
        QFile f(path + ".part");
        if (bytes.isEmpty() || !f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() ||
            !f.rename(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
    }
    return paths;
}

// The naive way: every picture decoded at full size, then scaled; one by one.
class NaiveLoader final : public PictureLoader {
public:
    std::optional<Picture> Load(const QString& path, QSize maxSize, int) override {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        QImage full = reader.read();
        if (full.isNull()) return std::nullopt;
        const QSize natural = full.size();
        QImage scaled = maxSize.isValid()
                            ? full.scaled(maxSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                            : full;
        return Picture{scaled, path, natural};
    }
    void LoadMany(const QStringList& paths, QSize maxSize,
                  const std::function<bool(int, std::optional<Picture>)>& consume,
                  const std::function<void(int)>&) override {
        for (int i = 0; i < paths.size(); ++i)
            if (!consume(i, Load(paths[i], maxSize, 0))) return;
    }
};

// The real loader, noting which files each deal asked for: the floor is
// timed over the same ones.
class NotingLoader final : public PictureLoader {
public:
    QStringList asked;
    void LoadMany(const QStringList& paths, QSize maxSize,
                  const std::function<bool(int, std::optional<Picture>)>& consume,
                  const std::function<void(int)>& progress) override {
        asked += paths;
        PictureLoader::LoadMany(paths, maxSize, consume, progress);
    }
};

struct Timing {
    double wall = 0, cpu = 0;
};

double Seconds(const timeval& t) {
    return t.tv_sec + t.tv_usec / 1e6;
}

// Runs `command(file)` for every file, two processes at a time, as a deal's
// two workers decode; the wall time and the children's CPU. Nothing when a
// run fails.
std::optional<Timing> TwoAtATime(const std::function<QStringList(const QString&)>& command,
                                 const QStringList& files) {
    rusage before{}, after{};
    getrusage(RUSAGE_CHILDREN, &before);
    QElapsedTimer timer;
    timer.start();
    int running = 0;
    bool ok = true;
    for (qsizetype next = 0; next < files.size() || running > 0;) {
        if (next < files.size() && running < 2) {
            std::vector<QByteArray> args;
            for (const QString& a : command(files[next++])) args.push_back(QFile::encodeName(a));
            std::vector<char*> argv;
            for (QByteArray& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            pid_t pid = 0;
            if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
                return std::nullopt;
            ++running;
            continue;
        }
        int status = 0;
        if (::wait(&status) < 0) return std::nullopt;
        --running;
        ok = ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    const double wall = timer.nsecsElapsed() / 1e9;
    getrusage(RUSAGE_CHILDREN, &after);
    const double cpu = Seconds(after.ru_utime) + Seconds(after.ru_stime) -
                       Seconds(before.ru_utime) - Seconds(before.ru_stime);
    if (!ok) return std::nullopt;
    return Timing{wall, cpu};
}

// The decode floor: the library's own tool decoding each file at 1/8 scale.
std::optional<Timing> DjpegFloor(const QStringList& files) {
    if (QStandardPaths::findExecutable("djpeg").isEmpty()) return std::nullopt;
    return TwoAtATime(
        [](const QString& f) {
            return QStringList{"djpeg", "-scale", "1/8", "-outfile", "/dev/null", f};
        },
        files);
}

// A dedicated thumbnailing tool making the card's size, when installed.
std::optional<Timing> VipsFloor(const QStringList& files) {
    if (QStandardPaths::findExecutable("vipsthumbnail").isEmpty()) return std::nullopt;
    static QTemporaryDir out;
    const QString size = QString::number(board::IntermediateSize);
    return TwoAtATime(
        [&](const QString& f) {
            return QStringList{"vipsthumbnail", f, "-s", size, "-o", out.path() + "/%s.jpg"};
        },
        files);
}

// Peak resident memory since the last reset, in MB (Linux).
void ResetPeak() {
    std::ofstream f("/proc/self/clear_refs");
    f << "5";
}
double StatusMB(const char* key) {
    std::ifstream f("/proc/self/status");
    std::string line;
    const std::string k = key;
    while (std::getline(f, line))
        if (line.rfind(k, 0) == 0) return std::stod(line.substr(k.size())) / 1024.0;
    return 0;
}
double PeakMB() {
    return StatusMB("VmHWM:");
}
double ResidentMB() {
    return StatusMB("VmRSS:");
}

// CPU seconds of the whole process, worker threads included: on a shared
// machine the wall time says little, the work done says more.
double ProcessCpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

QTemporaryDir* programFolder = nullptr;
QStringList pictures;

void SetUpProgram() {
    Module1 = Module1Record{};
    Paths() = GamePaths::Portable(programFolder->path());
    Module1.SaveOnExit = 1;
    Module1.SoundOn = 0;
    Module1.BackFile = "Sky.jpg";
    Module1.SpeedSetting = 1;
    Module1.WindowWidth = 9550;
    Module1.WindowHeight = 6750;
    Module1.BoardWidth = 9435;
    Module1.BoardHeight = 6000;
    Module1.AspectRatio = 9550.0f / 6750.0f;
    Module1.MatchSound = "Match.wav";
    QDir::setCurrent(programFolder->path());
}

// One deal of 40 pairs from the 48 pictures, as the first clock tick runs it.
Form2& Deal(const QStringList& from = pictures) {
    Form1& config = Forms::Get<Form1>();
    config.Combo1->setEditText("40");
    config.ChosenPictures = from;
    Forms::Discard<Form2>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Form2& game = Forms::Get<Form1>().Game();
    game.Timer1->stop();
    game.Timer2->stop();
    game.Play.TakeDeal();
    game.DealBoard();
    return game;
}

enum class DealKind { Naive, NoCache, First, Repeat };

// The floor over the files the deal used, beside the deal's own time.
struct Floors {
    Timing deal, djpeg, vips;
    bool haveDjpeg = true, haveVips = true;
    int runs = 0;
    void Add(const Timing& dealt, const QStringList& files) {
        deal.wall += dealt.wall;
        deal.cpu += dealt.cpu;
        const auto d = DjpegFloor(files);
        const auto v = VipsFloor(files);
        haveDjpeg = haveDjpeg && d;
        haveVips = haveVips && v;
        if (d) djpeg.wall += d->wall, djpeg.cpu += d->cpu;
        if (v) vips.wall += v->wall, vips.cpu += v->cpu;
        ++runs;
    }
    void Report(benchmark::State& state, int files) const {
        if (runs == 0) return;
        const auto line = [&](const char* name, const Timing& t) {
            std::fprintf(stderr,
                         "%s over the same %d files, two at a time: %.3f s (%.2f s CPU); "
                         "first deal %.3f s (%.2f s CPU): %.2fx its time, %.2fx its CPU\n",
                         name, files, t.wall / runs, t.cpu / runs, deal.wall / runs,
                         deal.cpu / runs, deal.wall / t.wall, deal.cpu / t.cpu);
        };
        if (haveDjpeg) {
            state.counters["floor_s"] = djpeg.wall / runs;
            state.counters["floor_cpu_s"] = djpeg.cpu / runs;
            state.counters["deal_over_floor"] = deal.wall / djpeg.wall;
            state.counters["deal_cpu_over_floor"] = deal.cpu / djpeg.cpu;
            line("djpeg -scale 1/8", djpeg);
        } else {
            std::fprintf(stderr, "djpeg is not installed (libjpeg-turbo-progs): no floor\n");
        }
        if (haveVips) {
            state.counters["deal_over_vips"] = deal.wall / vips.wall;
            line("vipsthumbnail", vips);
        }
    }
};

void RunDeal(benchmark::State& state, DealKind kind, const QStringList& from = pictures) {
    NotingLoader* noting = nullptr;
    if (kind == DealKind::Naive) {
        platform().pictures = std::make_unique<NaiveLoader>();
    } else {
        auto loader = std::make_unique<NotingLoader>();
        noting = loader.get();
        platform().pictures = std::move(loader);
    }
    PictureLoader& loader = *platform().pictures;
    if (kind == DealKind::NoCache) loader.SetThumbnailCache(nullptr);
    EmptyCache();
    double firstWall = 0;
    if (kind == DealKind::Repeat) {  // filled by a first deal
        QElapsedTimer timer;
        timer.start();
        Deal(from);
        firstWall = timer.nsecsElapsed() / 1e9;
        loader.WaitForThumbnails();
    }
    double peak = 0, before = 0, cpu = 0, wall = 0;
    double writeWall = 0, writeCpu = 0, writePeak = 0;
    Floors floors;
    for (auto _ : state) {
        before = ResidentMB();
        ResetPeak();
        if (noting) noting->asked.clear();
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = ProcessCpuSeconds();
        Form2& game = Deal(from);
        const Timing dealt{timer.nsecsElapsed() / 1e9, ProcessCpuSeconds() - cpuStart};
        cpu += dealt.cpu;
        wall += dealt.wall;
        peak = std::max(peak, PeakMB());
        if (game.PairCount != 40) state.SkipWithError("the deal did not reach 40 pairs");
        if (kind == DealKind::First) {
            // The copies are written after the deal, while the player plays:
            // measured apart, from the deal's end until the last is on disk.
            state.PauseTiming();
            QElapsedTimer writeTimer;
            writeTimer.start();
            const double writeStart = ProcessCpuSeconds();
            loader.WaitForThumbnails();
            writeWall += writeTimer.nsecsElapsed() / 1e9;
            writeCpu += ProcessCpuSeconds() - writeStart;
            writePeak = std::max(writePeak, PeakMB());
            EmptyCache();
            floors.Add(dealt, noting->asked);
            state.ResumeTiming();
        }
    }
    const double runs = double(state.iterations());
    state.counters["peak_MB"] = peak;
    state.counters["resident_before_MB"] = before;
    state.counters["process_cpu_s"] = cpu / runs;
    if (kind == DealKind::First) {
        state.counters["write_after_deal_s"] = writeWall / runs;
        state.counters["write_cpu_s"] = writeCpu / runs;
        state.counters["write_cpu_over_deal"] = writeCpu / cpu;
        state.counters["peak_with_write_MB"] = writePeak;
        floors.Report(state, int(noting->asked.size()));
    }
    if (kind == DealKind::Repeat) {
        state.counters["first_over_repeat"] = firstWall / (wall / runs);
        std::fprintf(stderr,
                     "repeat deal %.3f s; the first deal that filled the cache %.3f s: %.1fx\n",
                     wall / runs, firstWall, firstWall / (wall / runs));
    }
    Forms::Discard<Form2>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform().pictures = std::make_unique<PictureLoader>();
}

void BM_Deal40Pairs(benchmark::State& state) {
    RunDeal(state, DealKind::First);
}
void BM_Deal40PairsRepeat(benchmark::State& state) {
    RunDeal(state, DealKind::Repeat);
}
// The deal as it was before the cache: the first deal's yardstick.
void BM_Deal40PairsNoCache(benchmark::State& state) {
    RunDeal(state, DealKind::NoCache);
}
// The photo types, without the cache: beside BM_Deal40PairsNoCache.
void BM_Deal40PairsHeicNoCache(benchmark::State& state) {
    static const QStringList heic = Copies(pictures, "heic");
    RunDeal(state, DealKind::NoCache, heic);
}
void BM_Deal40PairsHeicWithoutThumbnailsNoCache(benchmark::State& state) {
    static const QStringList heic = Copies(pictures, "bare.heic");
    RunDeal(state, DealKind::NoCache, heic);
}
void BM_Deal40PairsAvifNoCache(benchmark::State& state) {
    static const QStringList avif = Copies(pictures, "avif");
    RunDeal(state, DealKind::NoCache, avif);
}
void BM_Deal40PairsWebpNoCache(benchmark::State& state) {
    static const QStringList webp = Copies(pictures, "webp");
    RunDeal(state, DealKind::NoCache, webp);
}
void BM_Deal40PairsNaive(benchmark::State& state) {
    RunDeal(state, DealKind::Naive);
}

// One picture of each kind, decoded scaled to the intermediate size or
// whole: where the time and the memory of a deal go.
void DecodeOne(benchmark::State& state, int index, bool scaled) {
    PictureLoader loader;
    const QSize size = scaled ? QSize(board::IntermediateSize, board::IntermediateSize) : QSize();
    double extra = 0;
    for (auto _ : state) {
        const double before = ResidentMB();
        ResetPeak();
        auto picture = loader.Load(
            QString("%1/photo%2.jpg").arg(PictureFolder()).arg(index, 2, 10, QChar('0')), size,
            1024);
        extra = std::max(extra, PeakMB() - before);
        if (!picture) state.SkipWithError("the picture did not decode");
    }
    state.counters["extra_peak_MB"] = extra;
}
void BM_Decode12MP_Scaled(benchmark::State& s) {
    DecodeOne(s, 0, true);
}
void BM_Decode24MP_Scaled(benchmark::State& s) {
    DecodeOne(s, 28, true);
}
void BM_Decode24MP_Full(benchmark::State& s) {
    DecodeOne(s, 28, false);
}
void BM_Decode20MPProgressive_Scaled(benchmark::State& s) {
    DecodeOne(s, 44, true);
}

// Laying 80 cards out again for a fixed screen size, including the
// repaint that makes their pictures for the new card size.
void Relayout(benchmark::State& state, int screen, int other) {
    Form2& game = Deal();
    game.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        game.mnuScreen_Click(other);
        QCoreApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        game.mnuScreen_Click(screen);
        QCoreApplication::processEvents();
        game.Picture1->repaint();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    Forms::Discard<Form2>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void BM_Relayout80Cards_480by600(benchmark::State& state) {
    Relayout(state, 0, 5);
}
void BM_Relayout80Cards_1280by1024(benchmark::State& state) {
    Relayout(state, 5, 0);
}

}  // namespace

BENCHMARK(BM_Decode12MP_Scaled)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Decode24MP_Scaled)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Decode24MP_Full)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Decode20MPProgressive_Scaled)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Deal40Pairs)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Deal40PairsNoCache)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Deal40PairsHeicNoCache)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
// Whole photos decoded, about a second of CPU each: one deal says enough.
BENCHMARK(BM_Deal40PairsHeicWithoutThumbnailsNoCache)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK(BM_Deal40PairsAvifNoCache)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_Deal40PairsWebpNoCache)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Deal40PairsRepeat)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Deal40PairsNaive)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_Relayout80Cards_480by600)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(30);
BENCHMARK(BM_Relayout80Cards_1280by1024)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(30);

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // Before anything can load a picture.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(CacheFolder()));
    InstallRealPlatform();
    // Nothing here may wait for a player.
    platform().dialogs = std::make_unique<ScriptedDialogs>();
    platform().makeSoundDevice = [] { return std::make_unique<RecordingSoundDevice>(nullptr); };
    pictures = EnsurePictures();
    // In the order a chooser would draw them: the same shuffle every run.
    QRandomGenerator order(42);
    for (qsizetype i = pictures.size() - 1; i > 0; --i)
        pictures.swapItemsAt(i, order.bounded(int(i + 1)));
    QTemporaryDir dir;
    programFolder = &dir;
    SetUpProgram();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Forms::DiscardAll();
    return 0;
}
