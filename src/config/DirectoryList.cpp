#include "config/DirectoryList.h"

#include <QFileInfo>

#include "platform/Platform.h"
#include "platform/TextFile.h"

ErrorInfo FolderError(FsError e) {
    switch (e) {
        case FsError::None:
            return {};
        case FsError::NotFound:
            return {76, "Path not found"};
        case FsError::DeviceUnavailable:
            return {68, "Device unavailable"};
        case FsError::Other:
            break;
    }
    return {75, "Path/File access error"};
}

ErrorInfo FileError(FsError e) {
    if (e == FsError::NotFound) return {53, "File not found"};
    return FolderError(e);
}

ErrorInfo InvalidPicture() {
    return {481, "Invalid picture"};
}

namespace dirlist {

QString GraphicsFolder(const QString& programFolder) {
    return FileSystem::Join(programFolder, "Graphics");
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

QStringList Fields(const QString& text) {
    QStringList fields;
    for (QString line : text.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        for (const QString& f : line.split(',')) {
            if (f.isEmpty()) continue;
            if (f == "0") return fields;
            fields.append(f);
        }
    }
    return fields;
}

bool Storable(const QString& path) {
    return !path.contains(',');
}

namespace {

enum class Outcome { Loaded, Failed };

// One reading of the file. On failure *error describes it.
Outcome ReadOnce(const QString& programFolder, const QString& graphics, QList<FolderEntry>* out,
                 ErrorInfo* error) {
    out->clear();
    const QString file = FileSystem::Join(programFolder, FileName);
    QString why;
    if (!QFileInfo::exists(file) && !textfile::WriteAtomic(file, DefaultText(graphics), &why)) {
        *error = FolderError(FsError::Other);
        return Outcome::Failed;
    }
    QString text;
    if (!textfile::Read(file, &text, &why)) {
        *error = FolderError(QFileInfo::exists(file) ? FsError::Other : FsError::NotFound);
        return Outcome::Failed;
    }
    FileSystem& fs = *platform().fs;
    for (const QString& field : Fields(text)) {
        FolderEntry entry;
        if (!ParseField(field, &entry)) continue;
        // Not a path this system can name: skipped, like a malformed file name.
        if (!entry.path.startsWith('/')) continue;
        FsError err = FsError::None;
        const bool hasFiles = !fs.ListFiles(entry.path, "*", &err).isEmpty();
        if (err == FsError::DeviceUnavailable) {
            *error = FolderError(err);
            return Outcome::Failed;
        }
        // Gone, empty or unreadable folders drop out without a word.
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
    if (ReadOnce(programFolder, graphics, &entries, &error) == Outcome::Loaded) return entries;

    const QString file = FileSystem::Join(programFolder, FileName);
    textfile::WriteAtomic(file, DefaultText(graphics));
    platform().dialogs->Info("Tavimo", QString::number(error.number) + error.description);
    if (ReadOnce(programFolder, graphics, &entries, &error) == Outcome::Loaded) return entries;

    // Still no readable file: the default folder from memory, if it holds files.
    entries.clear();
    if (!platform().fs->ListFiles(graphics, "*").isEmpty()) entries.append({graphics, true});
    return entries;
}

bool Save(const QString& programFolder, const QList<FolderEntry>& entries, QString* error) {
    return textfile::WriteAtomic(FileSystem::Join(programFolder, FileName), Format(entries), error);
}

}  // namespace dirlist
