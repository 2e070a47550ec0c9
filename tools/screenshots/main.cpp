// Opens every window in typical states and saves PNGs into the folder given
// as the argument (build/screenshots by default). It then runs itself once
// more with QT_SCALE_FACTOR=2 for the board, the splash and the high-score
// window, saved with "@2x" in their names, to set beside the ordinary ones.
// The windows speak the desktop's language: `LANGUAGE=de make screenshots`.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>
#include <cstdio>

#include "TestSupport.h"
#include "app/Forms.h"
#include "app/GamePaths.h"
#include "app/Language.h"
#include "app/Module1.h"
#include "app/Preferences.h"
#include "app/SettingsFile.h"
#include "board/Form2.h"
#include "board/frmSplash.h"
#include "config/Form1.h"
#include "platform/FileSystem.h"
#include "platform/Keys.h"
#include "play/Form6.h"
#include "play/Form8.h"
#include "scores/Form4.h"
#include "scores/Form7.h"
#include "viewer/Form3.h"

namespace {
QString outDir;
// "@2x" in the second, high-density run.
QString suffix;
void Save(QWidget& w, const QString& name) {
    w.show();
    QApplication::processEvents();
    const QString path = outDir + "/" + name + suffix + ".png";
    if (!w.grab().save(path))
        std::fprintf(stderr, "screenshots: cannot write %s\n", qPrintable(path));
}

void FlushDeletesNow() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

// A picture with a frame, a grid and a diagonal, so position and scale show.
QString TestPicture(const ProgramFolder& folder, const QString& name, int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, QColor(40, 90, 160));
    g.setColorAt(1, QColor(230, 170, 60));
    QPainter p(&img);
    p.fillRect(img.rect(), g);
    p.setPen(QPen(Qt::white, 1));
    for (int x = 0; x < w; x += 50) p.drawLine(x, 0, x, h);
    for (int y = 0; y < h; y += 50) p.drawLine(0, y, w, y);
    p.setPen(QPen(Qt::red, 4));
    p.drawRect(2, 2, w - 4, h - 4);
    p.drawLine(0, 0, w, h);
    p.end();
    const QString path = folder.File(name);
    img.save(path);
    return path;
}

// The viewer opened from a finished board's card showing `file`.
Form3& OpenViewer(const QString& file) {
    Form2& game = Forms::Get<Form1>().Game();
    QImage copy(32, 32, QImage::Format_RGB32);
    copy.fill(Qt::gray);
    game.Face(0)->SetPicture(copy, file);
    game.ViewCard(0, file);
    // The shot shows the file at natural size, not the card's copy shown meanwhile.
    Form3& viewer = *Forms::IfLoaded<Form3>();
    while (viewer.Decoding()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return viewer;
}

void ViewerShots(const ProgramFolder& folder) {
    Module1.WindowLeft = 0;
    Module1.WindowTop = 0;
    Module1.WindowWidth = 9550;
    Module1.WindowHeight = 6750;
    const struct {
        const char* shot;
        int w, h;
    } cases[] = {{"viewer-both-bars", 900, 700},
                 {"viewer-wider-only", 900, 250},
                 {"viewer-taller-only", 300, 700},
                 {"viewer-neither", 300, 200}};
    for (const auto& c : cases) {
        Form3& v = OpenViewer(TestPicture(folder, QString(c.shot) + ".bmp", c.w, c.h));
        Save(v, c.shot);
        if (QString(c.shot) == "viewer-both-bars") {
            v.VScroll1->setValue(v.VScroll1->maximum());
            v.HScroll1->setValue(v.HScroll1->maximum());
            Save(v, "viewer-both-bars-scrolled-to-end");
        }
        Forms::Unload(&v);
        FlushDeletesNow();
    }
    for (const auto& [shot, w, h] : {std::tuple{"viewer-fit-landscape", 900, 500},
                                     std::tuple{"viewer-fit-portrait", 300, 700}}) {
        Form3& v = OpenViewer(TestPicture(folder, QString(shot) + ".bmp", w, h));
        v.Command2_Click();
        Save(v, shot);
        Forms::Unload(&v);
        FlushDeletesNow();
    }
    Forms::Discard<Form2>();
    FlushDeletesNow();
}

void AboutShot() {
    Form8& about = Forms::Get<Form8>();
    Save(about, "about");
    Forms::Unload(&about);
    FlushDeletesNow();
}

// The game window's default geometry, where the high-score windows take their size.
void DefaultGameWindow() {
    Module1.WindowLeft = 0;
    Module1.WindowTop = 0;
    Module1.WindowWidth = 9550;
    Module1.WindowHeight = 6750;
}

// The high-score table with a few entries, one name longer than its column.
void HighScoreShot() {
    DefaultGameWindow();
    QFile f(FileSystem::Join(Paths().DataFolder(), "best.txt"));
    if (f.open(QIODevice::WriteOnly))
        f.write(
            "Winner,8,0:01:05,1291,Ann Lee,12,0:02:40,1140,Bartholomew Jenkins,40,0:14:03,975,"
            "Kim,4,0:00:19,430,Zoe,6,0:00:58,300,,,,0,,,,0,,,,0,,,,0,,,,0\r\n");
    f.close();
    Form4& w = Forms::Get<Form4>();
    w.Resize();
    Save(w, "highscores");
    w.hide();
}

// A second winner of the run: place 2, the last name selected in the box.
// The window is left hidden: closing it would store the entry.
void WinnerShot() {
    DefaultGameWindow();
    Module1.HighScoreRank = 2;
    Module1.BoardPairs = 8;
    Module1.BoardTime = "0:01:05";
    Module1.Bonus = 116;
    Module1.TotalScore = 1291;
    Module1.PlayerName = "Winner";
    Form7& w = Forms::Get<Form7>();
    Save(w, "winner");
    w.Timer1->stop();
    w.hide();
}

// The default settings, as a fresh program folder gets them.
void DefaultSettings() {
    const QString path = Paths().SettingsFile();
    settings::WriteDefault(path);
    settings::Read(path, Module1);
    Module1.AspectRatio = 9550.0f / 6750.0f;
}

// A dealt board of `pairs` pairs from the generated pictures, optionally at
// one of the fixed screen sizes, a few cards face up.
void ShotBoard(int pairs, int screen, const QString& name) {
    ProgramFolder folder(ProgramFolder::All);
    DefaultSettings();
    Form1& config = Forms::Get<Form1>();
    config.Combo1->setEditText(QString::number(pairs));
    const QString graphics = FileSystem::Join(folder.Path(), "Graphics");
    config.ChosenPictures.clear();
    for (const QString& f : platform().fs->ListFiles(graphics, "*.jpg;*.gif;*.bmp;*.wmf;*.ico"))
        if (config.ChosenPictures.size() < pairs + 8)
            config.ChosenPictures.append(FileSystem::Join(graphics, f));
    Form2& game = Forms::Get<Form1>().Game();
    // Dealt here, not by the first tick, which would deal again while the
    // shot is taken.
    game.Timer1->stop();
    game.Play.TakeDeal();
    game.DealBoard();
    if (screen >= 0) game.mnuScreen_Click(screen);
    for (int k : {0, game.PairCount, 3}) {
        if (k < game.CardCount) {
            game.Image1[k]->show();
            game.Image2[k]->hide();
        }
    }
    Save(game, name);
}

// The card-back menu open, and an 8-pair board under each generated back.
void BackShots() {
    ProgramFolder folder(ProgramFolder::All);
    DefaultSettings();
    Form1& config = Forms::Get<Form1>();
    config.Combo1->setEditText("8");
    const QString graphics = FileSystem::Join(folder.Path(), "Graphics");
    config.ChosenPictures.clear();
    for (const QString& f : platform().fs->ListFiles(graphics, "*.jpg;*.gif;*.bmp;*.wmf;*.ico"))
        if (config.ChosenPictures.size() < 16)
            config.ChosenPictures.append(FileSystem::Join(graphics, f));
    Form2& game = Forms::Get<Form1>().Game();
    game.DealBoard();
    game.show();
    game.mnuPref->popup(game.mapToGlobal(QPoint(0, 0)));
    game.mnuCard->popup(game.mapToGlobal(QPoint(120, 20)));
    QApplication::processEvents();
    game.mnuCard->grab().save(outDir + "/backs-menu.png");
    game.mnuCard->hide();
    game.mnuPref->hide();
    for (int i = 0; i < game.File1.size(); ++i) {
        game.mnuBack_Click(i);
        Save(game, "board-back-" + game.mnuBack[i]->text());
    }
    Forms::Discard<Form2>();
    FlushDeletesNow();
}

void ShotSplash(bool large1280 = true) {
    ProgramFolder folder(ProgramFolder::All);
    DefaultSettings();
    frmSplash& splash = Forms::Get<frmSplash>();
    splash.SetProgressRange(0, 8);
    splash.SetProgress(5);
    splash.SetMessage("Loading Pictures:  5");
    Save(splash, "splash-loading");
    Forms::Unload<frmSplash>();
    FlushDeletesNow();
    if (!large1280) return;
    Module1.WindowWidth = 19100;
    Module1.WindowHeight = 13505;
    frmSplash& large = Forms::Get<frmSplash>();
    Save(large, "splash-1280x1024");
}

// The configuration window as start-up leaves it, with a folder added, a
// picture previewed; at the default size and at 1280 by 1024.
void ConfigWindow(const ProgramFolder& folder) {
    Form1& f = Forms::Get<Form1>();
    Form1::SetValue(f.All_Check, 1);
    Form1::SetValue(f.Check8, 1);
    Form1::SetValue(f.View, 1);
    QDir().mkpath(folder.File("Pictures/Family/Summer holiday at the lake"));
    QFile::copy(folder.File("Graphics/picture00.jpg"),
                folder.File("Pictures/Family/Summer holiday at the lake/beach.jpg"));
    f.PointDir1(folder.File("Pictures/Family/Summer holiday at the lake"));
    f.Label13_Click();
    f.List3->setCurrentRow(1);  // the Graphics folder
    if (f.File1->count() > 0) f.File1->setCurrentRow(0);
    for (const auto& [name, width, height] :
         {std::tuple{"config-default", 9550.0, 6750.0}, std::tuple{"config-small", 7200.0, 5100.0},
          std::tuple{"config-800x600", 12000.0, 9000.0},
          std::tuple{"config-1280x1024", 19100.0, 13505.0}}) {
        Module1.WindowWidth = width;
        Module1.WindowHeight = height;
        f.Resize();
        f.show();
        // Let the folder tree read the folders it shows, up to the browsed one.
        for (int i = 0; i < 300; ++i) {
            QApplication::processEvents();
            const QRect shown = f.Dir1->visualRect(f.Dir1->currentIndex());
            if (i > 20 && shown.isValid() && f.Dir1->viewport()->rect().contains(shown.topLeft()))
                break;
            QThread::msleep(10);
        }
        Save(f, name);
    }
    f.hide();
    Module1.WindowWidth = 9550;
    Module1.WindowHeight = 6750;
}

void ResultWindow() {
    Form6& r = Forms::Get<Form6>();
    r.Label2->setText("8");
    r.Label9->setText("1175");
    r.Label10->setText("0:00:20");
    r.Label11->setText("116");
    r.Label12->setText("1291");
    Save(r, "result-board-completed");
    Forms::Unload<Form6>();
    FlushDeletesNow();
}

// Photos of other shapes than the cards (3:2, 2:3, a panorama and a tall
// strip) among the generated pictures, all face up: stretched as designed,
// then with "Keep Picture Shapes" ticked.
void KeepShapesShots() {
    for (const bool keep : {false, true}) {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        preferences::SetKeepPictureShapes(keep);
        Form1& config = Forms::Get<Form1>();
        config.Combo1->setEditText("8");
        config.ChosenPictures = {TestPicture(folder, "landscape.bmp", 600, 400),
                                 TestPicture(folder, "portrait.bmp", 400, 600),
                                 TestPicture(folder, "panorama.bmp", 800, 200),
                                 TestPicture(folder, "strip.bmp", 150, 600)};
        config.ChosenPictures += GeneratedPictures(folder, 4);
        Form2& game = Forms::Get<Form1>().Game();
        game.Timer1->stop();
        game.Play.TakeDeal();
        game.DealBoard();
        for (int k = 0; k < game.CardCount; ++k) {
            game.Image1[k]->show();
            game.Image2[k]->hide();
        }
        Save(game, keep ? "board-keep-picture-shapes" : "board-stretched-pictures");
        Forms::Discard<Form2>();
        FlushDeletesNow();
    }
    preferences::SetKeepPictureShapes(false);
}

// No Backs folder at all: the plain back on every card.
void PlainBackShot() {
    ProgramFolder folder(ProgramFolder::Graphics | ProgramFolder::Sound | ProgramFolder::Help);
    DefaultSettings();
    Form1& config = Forms::Get<Form1>();
    config.Combo1->setEditText("8");
    config.ChosenPictures = GeneratedPictures(folder, 12);
    Form2& game = Forms::Get<Form1>().Game();
    game.Timer1->stop();
    game.Play.TakeDeal();
    game.DealBoard();
    Save(game, "board-no-backs");
    Forms::Discard<Form2>();
    FlushDeletesNow();
}

// A board in play with a missed pair up, paused with P: the message over the cards.
void PausedBoardShot() {
    ProgramFolder folder(ProgramFolder::All);
    DefaultSettings();
    Form1& config = Forms::Get<Form1>();
    config.Combo1->setEditText("8");
    const QString graphics = FileSystem::Join(folder.Path(), "Graphics");
    config.ChosenPictures.clear();
    for (const QString& f : platform().fs->ListFiles(graphics, "*.jpg;*.gif;*.bmp;*.wmf;*.ico"))
        if (config.ChosenPictures.size() < 16)
            config.ChosenPictures.append(FileSystem::Join(graphics, f));
    Form2& game = Forms::Get<Form1>().Game();
    game.DealBoard();
    game.Timer1->stop();
    game.Timer2->stop();
    game.Image2_Click(0);
    game.Image2_Click(1);
    game.Form_KeyDown(vk::P, 0);
    Save(game, "board-paused");
}
}  // namespace

int main(int argc, char* argv[]) {
    // The player's thumbnails and preferences stay out of the pictures.
    QTemporaryDir home;
    if (!home.isValid()) return 1;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath("cache")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
    const bool dense = argc > 2 && QByteArray(argv[2]) == "--dense";
    if (dense) {
        qputenv("QT_SCALE_FACTOR", "2");
        // Offscreen, a screen of twice the pixels of the ordinary run's
        // 800 x 600, so the windows get the same size in logical pixels.
        if (qEnvironmentVariable("QT_QPA_PLATFORM").startsWith("offscreen")) {
            const QString config = home.filePath("screen.json");
            QFile f(config);
            if (!f.open(QIODevice::WriteOnly)) return 1;
            f.write(R"({"screens": [{"name": "dense", "x": 0, "y": 0, "width": 1600,)"
                    R"( "height": 1200, "logicalDpi": 96, "logicalBaseDpi": 96}]})");
            f.close();
            qputenv("QT_QPA_PLATFORM", QFile::encodeName("offscreen:configfile=" + config));
        }
    }
    QApplication app(argc, argv);
    outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath() + "/screenshots";
    QDir().mkpath(outDir);
    InstallDoubles();
    language::InstallSystem(TAVIMO_TRANSLATIONS_DIR);
    if (dense) {
        suffix = "@2x";
        ProgramFolder folder(ProgramFolder::All);
        HighScoreShot();
        Forms::Unload<Form4>();
        FlushDeletesNow();
        ShotSplash(false);
        ShotBoard(8, -1, "board-8-pairs");
        Forms::Discard<Form2>();
        FlushDeletesNow();
        KeepShapesShots();
        PlainBackShot();
        return 0;
    }
    ProgramFolder folder(ProgramFolder::All);
    ConfigWindow(folder);
    ViewerShots(folder);
    AboutShot();
    HighScoreShot();
    WinnerShot();
    ShotSplash();
    BackShots();
    ShotBoard(4, -1, "board-4-pairs");
    ShotBoard(8, -1, "board-8-pairs");
    ShotBoard(20, -1, "board-20-pairs");
    ShotBoard(40, -1, "board-40-pairs");
    ShotBoard(20, 5, "board-20-pairs-1280x1024");
    ShotBoard(40, 5, "board-40-pairs-1280x1024");
    ResultWindow();
    PausedBoardShot();
    Forms::Discard<Form2>();
    FlushDeletesNow();
    KeepShapesShots();
    PlainBackShot();
    // The same windows on a screen of twice the density, in a process of
    // their own: the scale factor is read once, when the application starts.
    QProcess denseRun;
    denseRun.setProcessChannelMode(QProcess::ForwardedChannels);
    denseRun.start(QCoreApplication::applicationFilePath(), {outDir, "--dense"});
    if (!denseRun.waitForFinished(300000) || denseRun.exitStatus() != QProcess::NormalExit ||
        denseRun.exitCode() != 0) {
        std::fprintf(stderr, "screenshots: the high-density run failed\n");
        return 1;
    }
    return 0;
}
