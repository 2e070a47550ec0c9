#include "config/PictureScan.h"

#include <QCoreApplication>
#include <QSet>
#include <utility>

#include "platform/Platform.h"

namespace filetypes {

namespace {
const char* const Elements[Count] = {
    "*.BMP", "*.GIF", "*.JPG;*.JPEG;*.JPE;*.JFIF",
    "*.ICO", "*.WMF", "*.PNG;*.WEBP;*.TIF;*.TIFF;*.HEIC;*.HEIF;*.HIF;*.AVIF;*.JXL"};
// The three-letter extensions of the first five boxes, matched upper or lower case.
const char* const Extensions[5] = {"BMP", "GIF", "JPG", "ICO", "WMF"};
// Extensions matched in any case, with their box.
const std::pair<const char*, int> MoreExtensions[] = {
    {"jpeg", 2}, {"jpe", 2},  {"jfif", 2}, {"png", 5}, {"webp", 5}, {"tif", 5},
    {"tiff", 5}, {"heic", 5}, {"heif", 5}, {"hif", 5}, {"avif", 5}, {"jxl", 5}};
}  // namespace

QString BuildPattern(const std::array<bool, Count>& checked) {
    QString pattern;
    for (int i = 0; i < Count; ++i) {
        if (!checked[i]) continue;
        if (!pattern.isEmpty()) pattern += ';';
        pattern += Elements[i];
    }
    return pattern;
}

int BoxOfExtension(const QString& name) {
    const QString ext = name.right(3);
    for (int i = 0; i < 5; ++i) {
        const QString upper = Extensions[i];
        if (ext == upper || ext == upper.toLower()) return i;
    }
    const qsizetype dot = name.lastIndexOf('.');
    if (dot < 0) return -1;
    const QString suffix = name.mid(dot + 1);
    for (const auto& [more, box] : MoreExtensions)
        if (suffix.compare(QLatin1String(more), Qt::CaseInsensitive) == 0) return box;
    return -1;
}

QString Snapshot(const std::array<bool, Count + 1>& checked) {
    QString s;
    for (bool on : checked) s += on ? '1' : '0';
    return s;
}

std::array<bool, Count + 1> FromSnapshot(const QString& snapshot) {
    std::array<bool, Count + 1> out{};
    for (int i = 0; i <= Count; ++i) out[i] = i < snapshot.size() && snapshot[i] == '1';
    return out;
}

}  // namespace filetypes

ScanResult ScanFolders(QList<FolderEntry>& folders, const QString& pattern, QList<int>* removed) {
    FileSystem& fs = *platform().fs;
    ScanResult result;
    QList<QStringList> listed;  // each readable folder's files, as the first pass read them
    // First pass: the included folders that hold any ordinary file. A Yes
    // to the retry question starts it again from the top.
    bool again = true;
    while (again) {
        again = false;
        result = ScanResult{};
        listed.clear();
        for (int i = 0; i < folders.size();) {
            const FolderEntry entry = folders[i];
            if (!entry.included) {
                ++i;
                continue;
            }
            FsError err = FsError::None;
            QStringList files = fs.ListFiles(entry.path, "*", &err);
            if (err == FsError::DeviceUnavailable) {
                if (platform().dialogs->AskYesNo(
                        QCoreApplication::translate("PictureScan", "Device Unavalable %1")
                            .arg(fs.DriveOf(entry.path)),
                        QCoreApplication::translate("PictureScan", "Retry"))) {
                    again = true;
                    break;
                }
                folders.removeAt(i);
                if (removed) removed->append(i);
                continue;  // the entry that moved up is scanned in full
            }
            if (err == FsError::None && !files.isEmpty()) {
                result.readableFolders.append(entry.path);
                listed.append(std::move(files));
            }
            ++i;
        }
    }
    // Second pass: distinct names of the chosen types, from the listings
    // just read (sorted by name), so each folder is read once per scan.
    const PatternMatcher matcher(pattern);
    QSet<QString> seen;
    for (const QStringList& files : listed) {
        for (const QString& name : files) {
            if (!matcher.Matches(name) || seen.contains(name)) continue;
            seen.insert(name);
            result.availableNames.append(name);
        }
    }
    return result;
}
