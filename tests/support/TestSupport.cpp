#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>

#include "app/GamePaths.h"
#include "app/Module1.h"
#include "app/SettingsFile.h"
#include "pictures/PictureLoader.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace testsupport {
std::vector<std::pair<const char*, Factory>>& Registry() {
    static std::vector<std::pair<const char*, Factory>> r;
    return r;
}

namespace {
std::function<void()>& FolderReset() {
    static std::function<void()> reset;
    return reset;
}
}  // namespace

void SetFolderReset(std::function<void()> reset) {
    FolderReset() = std::move(reset);
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
// The generated files below one asset folder (or the one file), read from the
// build folder once per executable. Each program folder gets copies written
// from memory: QFile::copy syncs every file to disk, thousands of times a run.
struct AssetFile {
    QString relative;  // empty for the folder itself
    bool folder = false;
    QByteArray bytes;
};
const std::vector<AssetFile>& GeneratedFiles(const QString& name) {
    static QHash<QString, std::vector<AssetFile>> cache;
    if (const auto known = cache.find(name); known != cache.end()) return *known;
    std::vector<AssetFile> files;
    const QString root = GeneratedAssets() + "/" + name;
    const auto add = [&](const QString& path, const QString& relative) {
        QFile f(path);
        if (QFileInfo(path).isDir())
            files.push_back({relative, true, {}});
        else if (f.open(QIODevice::ReadOnly))
            files.push_back({relative, false, f.readAll()});
    };
    add(root, QString());
    const QDir base(root);
    QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        add(path, base.relativeFilePath(path));
    }
    return *cache.insert(name, std::move(files));
}

void CopyAssets(const QString& name, const QString& to) {
    for (const AssetFile& a : GeneratedFiles(name)) {
        const QString target =
            a.relative.isEmpty() ? to + "/" + name : to + "/" + name + "/" + a.relative;
        if (a.folder) {
            QDir().mkpath(target);
            continue;
        }
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile f(target);
        if (f.open(QIODevice::WriteOnly)) f.write(a.bytes);
    }
}
}  // namespace

ProgramFolder::ProgramFolder(int assets) {
    oldCurrent_ = QDir::currentPath();
    if (assets & Graphics) CopyAssets("Graphics", Path());
    if (assets & Backs) CopyAssets("Backs", Path());
    if (assets & Sound) CopyAssets("Sound", Path());
    if (assets & Help) CopyAssets("help.txt", Path());
    if (assets & Splash) CopyAssets("Splash", Path());
    Module1 = Module1Record{};
    Paths() = GamePaths::Portable(Path());
    QDir::setCurrent(Path());
}

ProgramFolder::~ProgramFolder() {
    if (testsupport::FolderReset()) testsupport::FolderReset()();
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

QStringList PicturePaths(int pairs) {
    QStringList paths;
    for (int k = 0; k < pairs; ++k) paths << QString("/pics/p%1.jpg").arg(k);
    return paths;
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
