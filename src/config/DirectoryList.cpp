#include "config/DirectoryList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "app/AssetPaths.h"
#include "platform/FileNames.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"

ErrorInfo FolderError(FsError e) {
    switch (e) {
        case FsError::None:
            return {};
        case FsError::NotFound:
            return {76, QCoreApplication::translate("DirectoryList", "Path not found")};
        case FsError::DeviceUnavailable:
            return {68, QCoreApplication::translate("DirectoryList", "Device unavailable")};
        case FsError::Other:
            break;
    }
    return {75, QCoreApplication::translate("DirectoryList", "Path/File access error")};
}

ErrorInfo FileError(FsError e) {
    if (e == FsError::NotFound)
        return {53, QCoreApplication::translate("DirectoryList", "File not found")};
    return FolderError(e);
}

ErrorInfo InvalidPicture() {
    return {481, QCoreApplication::translate("DirectoryList", "Invalid picture")};
}

namespace dirlist {

QString GraphicsFolder(const QString& programFolder) {
    return FileSystem::Join(programFolder, assets::GraphicsFolder);
}

QString DefaultText(const QString& graphicsFolder) {
    return Format({{graphicsFolder, true}});
}

QString Format(const QList<FolderEntry>& entries) {
    QString text;
    for (const FolderEntry& e : entries) text += e.path + (e.included ? "1," : "0,") + "\r\n";
    text += "0\r\n";
    return text;
}

bool ParseField(const QString& field, FolderEntry* entry) {
    if (field.isEmpty() || field == "0") return false;
    const QString path = field.left(field.size() - 1);
    if (path.isEmpty() || path == "0") return false;
    entry->path = path;
    entry->included = field.endsWith('1');
    return true;
}

bool OnAbsentVolume(const QString& path, FileSystem& fs) {
    const auto under = [](const QString& p, const QString& root) {
        return p.startsWith(root.endsWith('/') ? root : root + '/');
    };
    // The deepest mounted volume above the path, found by name: the path
    // itself may no longer exist.
    QString drive = "/";
    for (const QString& d : fs.Drives())
        if ((path == d || under(path, d)) && d.size() > drive.size()) drive = d;
    // Removable volumes are mounted in a folder of their own below these.
    for (const char* place : {"/media", "/mnt", "/run/media"})
        if (under(path, place) && !under(drive, place)) return true;
    for (const QString& point : fs.ConfiguredMountPoints())
        if ((path == point || under(path, point)) && drive != point && !under(drive, point))
            return true;
    return false;
}

bool Storable(const QString& path) {
    return UnstorableReason(path).isEmpty();
}

QString UnstorableReason(const QString& path) {
    if (path.contains(',')) return QCoreApplication::translate("DirectoryList", "a comma");
    // The file is UTF-8 text: other bytes would come back as other characters.
    if (filenames::HasRawBytes(path))
        return QCoreApplication::translate("DirectoryList", "bytes that are no UTF-8 text");
    // What the reader takes for a damaged file.
    if (textfile::HasControlCharacters(path))
        return QCoreApplication::translate("DirectoryList", "a tab or a line break");
    return QString();
}

QString Printable(const QString& path) {
    QString out = filenames::Shown(path);
    for (QChar& c : out)
        if (c.category() == QChar::Other_Control) c = u'?';
    return out;
}

ReadStatus ReadEntries(QIODevice& in, QList<FolderEntry>* entries, QString* why) {
    const auto damaged = [why](const QString& reason) {
        if (why) *why = reason;
        return ReadStatus::Damaged;
    };
    QSet<QString> seen;
    for (;;) {
        // Room for the longest line, its CR LF and one byte more to tell it is longer.
        QByteArray line = in.readLine(MaxLineBytes + 3);
        if (line.isEmpty()) {
            if (in.atEnd()) return ReadStatus::Ok;
            if (why) *why = in.errorString();
            return ReadStatus::Failed;
        }
        const bool ended = line.endsWith('\n');
        if (ended) line.chop(line.endsWith("\r\n") ? 2 : 1);
        if (line.size() > MaxLineBytes || (!ended && !in.atEnd()))
            return damaged(QCoreApplication::translate(
                "DirectoryList", "a line is longer than %n bytes", nullptr, MaxLineBytes));
        const QString text = textfile::DecodeLine(line);
        if (textfile::HasControlCharacters(text))
            return damaged(QCoreApplication::translate("DirectoryList",
                                                       "it holds characters that are no text"));
        for (const QString& field : text.split(u',')) {
            if (field.isEmpty()) continue;
            if (field == u"0") return ReadStatus::Ok;
            FolderEntry entry;
            if (!ParseField(field, &entry) || seen.contains(entry.path)) continue;
            if (seen.size() == MaxEntries)
                return damaged(QCoreApplication::translate("DirectoryList", "more than %n folders",
                                                           nullptr, MaxEntries));
            seen.insert(entry.path);
            entries->append(entry);
        }
    }
}

namespace {

enum class Outcome { Loaded, Failed, Damaged };

// One reading of the file. On failure *error describes it and *why gives
// the reason in a few words, as it does for a damaged file.
Outcome ReadOnce(const QString& programFolder, const QString& graphics, QList<FolderEntry>* out,
                 ErrorInfo* error, QString* why) {
    out->clear();
    const QString file = FileSystem::Join(programFolder, FileName);
    if (!QFileInfo::exists(file) &&
        !textfile::WriteAtomicLocked(file, DefaultText(graphics), why)) {
        *error = FolderError(FsError::Other);
        return Outcome::Failed;
    }
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = FolderError(QFileInfo::exists(file) ? FsError::Other : FsError::NotFound);
        *why = in.errorString();
        return Outcome::Failed;
    }
    QList<FolderEntry> candidates;
    switch (ReadEntries(in, &candidates, why)) {
        case ReadStatus::Ok:
            break;
        case ReadStatus::Damaged:
            return Outcome::Damaged;
        case ReadStatus::Failed:
            *error = FolderError(FsError::Other);
            return Outcome::Failed;
    }
    FileSystem& fs = *platform().fs;
    for (FolderEntry entry : candidates) {
        // Not a path this system can name: skipped, like a malformed file name.
        if (!entry.path.startsWith('/')) continue;
        FsError err = FsError::None;
        const bool hasFiles = !fs.ListFiles(entry.path, "*", &err).isEmpty();
        // A stick or share that is not there now, or a folder we may not
        // read now, must not lose its entry.
        if (err == FsError::DeviceUnavailable || err == FsError::Other ||
            (err != FsError::None && OnAbsentVolume(entry.path, fs))) {
            entry.available = false;
            out->append(entry);
            continue;
        }
        // Gone or empty folders drop out without a word.
        if (hasFiles) out->append(entry);
    }
    return Outcome::Loaded;
}

}  // namespace

QList<FolderEntry> Load(const QString& programFolder, const QString& graphicsFolder) {
    const QString graphics =
        graphicsFolder.isEmpty() ? GraphicsFolder(programFolder) : graphicsFolder;
    QList<FolderEntry> entries;
    ErrorInfo error;
    QString damage;
    const Outcome first = ReadOnce(programFolder, graphics, &entries, &error, &damage);
    if (first == Outcome::Loaded) return entries;

    const QString file = FileSystem::Join(programFolder, FileName);
    if (first == Outcome::Damaged) {
        // The player's list may still be recovered by hand from the copy.
        const QString kept = FileSystem::Join(programFolder, DamagedName);
        if (textfile::KeepAside(file, kept)) {
            textfile::WriteAtomicLocked(file, DefaultText(graphics));
            platform().dialogs->Info("Tavimo",
                                     QCoreApplication::translate(
                                         "DirectoryList",
                                         "The folder list %1 is damaged (%2). It was kept as %3, "
                                         "and the Graphics folder is used instead.")
                                         .arg(QString(FileName), damage, QString(DamagedName)));
        }
    } else {
        textfile::WriteAtomicLocked(file, DefaultText(graphics));
        // The number and description as the game has always shown them,
        // then which file and why, so the player can do something about it.
        platform().dialogs->Info(
            "Tavimo", QStringLiteral("%1%2\n%3: %4.")
                          .arg(QString::number(error.number), error.description,
                               QDir::toNativeSeparators(file),
                               damage.isEmpty()
                                   ? QCoreApplication::translate("DirectoryList", "unknown error")
                                   : damage));
    }
    if (ReadOnce(programFolder, graphics, &entries, &error, &damage) == Outcome::Loaded)
        return entries;

    // Still no readable file: the default folder from memory, if it holds files.
    entries.clear();
    if (!platform().fs->ListFiles(graphics, "*").isEmpty()) entries.append({graphics, true});
    return entries;
}

bool Save(const QString& programFolder, const QList<FolderEntry>& entries, QString* error) {
    return textfile::WriteAtomicLocked(FileSystem::Join(programFolder, FileName), Format(entries),
                                       error);
}

}  // namespace dirlist
