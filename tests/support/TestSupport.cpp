#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "app/Forms.h"
#include "app/GamePaths.h"
#include "app/Module1.h"
#include "app/SettingsFile.h"
#include "board/Form2.h"
#include "config/Form1.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace testsupport {
std::vector<std::pair<const char*, Factory>>& Registry() {
    static std::vector<std::pair<const char*, Factory>> r;
    return r;
}
}  // namespace testsupport

Doubles InstallDoubles() {
    Doubles d;
    Platform& p = platform();
    auto clock = std::make_unique<FakeClock>();
    d.clock = clock.get();
    p.clock = std::move(clock);
    auto random = std::make_unique<ScriptedRandom>();
    d.random = random.get();
    p.random = std::move(random);
    auto dialogs = std::make_unique<ScriptedDialogs>();
    d.dialogs = dialogs.get();
    p.dialogs = std::move(dialogs);
    auto desktop = std::make_unique<RecordingDesktop>();
    d.desktop = desktop.get();
    p.desktop = std::move(desktop);
    p.fs = std::make_unique<RealFileSystem>();
    p.pictures = std::make_unique<PictureLoader>();
    d.sounds = std::make_shared<QStringList>();
    auto log = d.sounds;
    p.makeSoundDevice = [log] { return std::make_unique<RecordingSoundDevice>(log); };
    return d;
}

FakeFileSystem* InstallFakeFileSystem() {
    auto fs = std::make_unique<FakeFileSystem>();
    FakeFileSystem* raw = fs.get();
    platform().fs = std::move(fs);
    return raw;
}

QString GeneratedAssets() {
    // The test executables live in <build>/tests, the screenshot tool in
    // <build>/tools/screenshots; the assets beside the program in <build>.
    QDir d(QCoreApplication::applicationDirPath());
    d.cdUp();
    if (!d.exists("Graphics") && d.dirName() == "tools") d.cdUp();
    return d.absolutePath();
}

namespace {
void CopyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        const QString target = to + "/" + it.fileName();
        if (it.fileInfo().isDir())
            CopyTree(it.filePath(), target);
        else
            QFile::copy(it.filePath(), target);
    }
}
}  // namespace

ProgramFolder::ProgramFolder(int assets) {
    oldCurrent_ = QDir::currentPath();
    const QString src = GeneratedAssets();
    if (assets & Graphics) CopyTree(src + "/Graphics", Path() + "/Graphics");
    if (assets & Backs) CopyTree(src + "/Backs", Path() + "/Backs");
    if (assets & Sound) CopyTree(src + "/Sound", Path() + "/Sound");
    if (assets & Help) QFile::copy(src + "/help.txt", Path() + "/help.txt");
    if (assets & Splash) CopyTree(src + "/Splash", Path() + "/Splash");
    Module1 = Module1Record{};
    Paths() = GamePaths::Portable(Path());
    QDir::setCurrent(Path());
}

ProgramFolder::~ProgramFolder() {
    Forms::DiscardAll();
    FlushDeletes();
    Module1 = Module1Record{};
    Paths() = GamePaths();
    QDir::setCurrent(oldCurrent_);
}

QString ProgramFolder::File(const QString& name) const {
    return Path() + "/" + name;
}

void ProgramFolder::Write(const QString& name, const QByteArray& bytes) const {
    const QString path = File(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

QByteArray ProgramFolder::Read(const QString& name) const {
    QFile f(File(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void DefaultSettings() {
    const QString path = Paths().SettingsFile();
    settings::WriteDefault(path);
    settings::Read(path, Module1);
    Module1.AspectRatio = 9550.0f / 6750.0f;
    Module1.MatchSound = "Match.wav";
}

QStringList GeneratedPictures(const ProgramFolder& folder, int count) {
    const QString graphics = FileSystem::Join(folder.Path(), "Graphics");
    const QStringList all = platform().fs->ListFiles(graphics, "*.jpg");
    QStringList out;
    for (int i = 0; i < count && i < all.size(); ++i) out << FileSystem::Join(graphics, all[i]);
    return out;
}

void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

Form2& DealByHand(const QStringList& chosen, int pairs) {
    Form1& config = Forms::Get<Form1>();
    config.Combo1->setEditText(QString::number(pairs));
    config.ChosenPictures = chosen;
    Form2& game = Forms::Get<Form2>();
    game.Timer1->stop();
    game.Timer2->stop();
    game.Play.TakeDeal();
    game.DealBoard();
    return game;
}
