#include "app/GamePaths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "app/AssetPaths.h"
#include "app/Language.h"
#include "app/SettingsFile.h"
#include "platform/DataLock.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"

namespace {

// The files the player's data folder holds.
QStringList DataFiles() {
    return {assets::SettingsFile, assets::FolderListFile, assets::HighScoreFile, assets::BoardFile};
}

// True when `folder` exists or can be made, and a file can be written there.
bool Writable(const QString& folder, QString* reason) {
    std::error_code ec;
    std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), ec);
    if (ec) {
        *reason = QString::fromLocal8Bit(ec.message());
        return false;
    }
    // A real write: a read-only mount or a full disk shows only here.
    QTemporaryFile probe(FileSystem::Join(folder, ".tavimo-XXXXXX"));
    if (!probe.open() || probe.write("\n", 1) != 1 || !probe.flush()) {
        *reason = probe.errorString();
        return false;
    }
    return true;
}

// Opens `path` as a folder of this user's own, never through a link: -1
// when it is anything else.
int OpenOwnFolder(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() ||
        (st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

QString SessionFolder(const QString& runtime) {
    // What an earlier session may have left there: only names the game
    // itself writes go, each removed as a name (a link is removed, never
    // followed), and nothing below a folder.
    QStringList ours = DataFiles();
    ours << settings::DamagedName << "dirs.txt.damaged"
         << "best.txt.damaged"
         << "board.txt.damaged" << DataLock::FileName;
    for (int n = 1; n <= 20; ++n) {
        const QString path =
            FileSystem::Join(runtime, n == 1 ? QStringLiteral("tavimo-unsaved")
                                             : QStringLiteral("tavimo-unsaved.%1").arg(n));
        const QByteArray name = QFile::encodeName(path);
        if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) continue;
        // A link, a file, another user's folder or one others may write into
        // is not ours to empty: the next name is tried.
        const int fd = OpenOwnFolder(path);
        if (fd < 0) continue;
        for (const QString& file : ours) {
            (void)::unlinkat(fd, QFile::encodeName(file).constData(), 0);
            textfile::RemoveStaleTemporaries(path, {file});
        }
        ::close(fd);
        return path;
    }
    return {};
}

GamePaths GamePaths::Portable(const QString& programFolder) {
    GamePaths p;
    p.layout_ = Layout::Portable;
    p.content_ = p.data_ = p.own_ = programFolder;
    return p;
}

GamePaths GamePaths::Installed(const QString& contentFolder, const QString& dataFolder) {
    GamePaths p;
    p.layout_ = Layout::Installed;
    p.content_ = contentFolder;
    p.data_ = p.own_ = dataFolder;
    return p;
}

GamePaths GamePaths::Detect(const QString& programFolder, const QString& userDataFolder) {
    const QDir program(programFolder);
    QStringList shipped = DataFiles();
    shipped << assets::HelpFile << assets::GraphicsFolder << assets::BacksFolder
            << assets::SoundFolder;
    for (const QString& name : shipped)
        if (program.exists(name)) return Portable(programFolder);
    const QString share = QDir::cleanPath(program.absoluteFilePath("../share/tavimo"));
    if (!QFileInfo(share).isDir()) return Portable(programFolder);
    return Installed(share, userDataFolder);
}

QString GamePaths::SettingsFile() const {
    return FileSystem::Join(data_, settings::FileName);
}

QString GamePaths::ContentSubfolder(const QString& name) const {
    const QString own = FileSystem::Join(own_, name);
    if (own_ != content_ && platform().fs->IsFolder(own)) return own;
    return FileSystem::Join(content_, name);
}

QString GamePaths::GraphicsFolder() const {
    return ContentSubfolder(assets::GraphicsFolder);
}

QString GamePaths::BacksFolder() const {
    const QString own = AnyCaseSubfolder(own_, assets::BacksFolder);
    if (own_ != content_ && platform().fs->IsFolder(own)) return own;
    return AnyCaseSubfolder(content_, assets::BacksFolder);
}

QString GamePaths::AnyCaseSubfolder(const QString& parent, const QString& name) {
    FileSystem& fs = *platform().fs;
    const QString usual = FileSystem::Join(parent, name);
    if (fs.IsFolder(usual)) return usual;
    for (const QString& found : fs.ListFolders(parent))
        if (found.compare(name, Qt::CaseInsensitive) == 0) return FileSystem::Join(parent, found);
    return usual;
}

QString GamePaths::SoundFile(const QString& name) const {
    return FileSystem::Join(FileSystem::Join(content_, assets::SoundFolder), name);
}

QString GamePaths::HelpFile() const {
    return FileSystem::Join(content_, language::LocalizedFile(content_, assets::HelpFile));
}

GamePaths& Paths() {
    static GamePaths paths;
    return paths;
}

bool PrepareDataFolder(GamePaths& paths, QString* message) {
    message->clear();
    const QString data = paths.DataFolder();
    QString reason;
    if (Writable(data, &reason)) return true;

    *message = QCoreApplication::translate(
                   "GamePaths",
                   "Tavimo cannot save its settings, folder list and high scores in %1 (%2). "
                   "The game plays on and keeps them until it ends.")
                   .arg(QDir::toNativeSeparators(data), reason);
    // Asked for only now: Qt makes the runtime folder when it is not set.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) return false;
    const QString sessionFolder = SessionFolder(runtime);
    QString ignored;
    if (sessionFolder.isEmpty() || !Writable(sessionFolder, &ignored)) return false;
    for (const QString& name : DataFiles()) {
        const QString from = textfile::FindCaseInsensitive(data, name);
        const QString to = FileSystem::Join(sessionFolder, name);
        // A copy of a read-only file would be read-only too.
        if (QFileInfo(from).isFile() && QFile::copy(from, to))
            QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
    }
    paths.MoveDataTo(sessionFolder);
    return true;
}
