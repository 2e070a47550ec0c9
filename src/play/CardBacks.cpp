#include "play/CardBacks.h"

#include <QCoreApplication>

#include "app/GamePaths.h"
#include "platform/Platform.h"

namespace cardbacks {

QString Folder(const QString& programFolder) {
    return GamePaths::Portable(programFolder).BacksFolder();
}

QStringList List(const QString& folder) {
    QStringList backs = platform().fs->ListFiles(folder, Pattern);
    backs.removeIf([](const QString& name) { return name.contains(','); });
    return backs;
}

QString Caption(const QString& file) {
    return file.left(std::max<qsizetype>(0, file.size() - 4));
}

QStringList MenuCaptions(const QStringList& backs) {
    if (backs.isEmpty()) return {QCoreApplication::translate("CardBacks", "None")};
    QStringList captions;
    for (const QString& b : backs) captions << Caption(b);
    return captions;
}

QString Initial(const QString& backFile, const QString& folder, const QStringList& backs) {
    if (!backFile.isEmpty() && platform().fs->IsFile(FileSystem::Join(folder, backFile)))
        return backFile;
    return backs.value(0);
}

QString LoadFirstWorking(const QString& backFile, const QStringList& backs,
                         const std::function<bool(const QString&)>& load) {
    QStringList tried;
    QString current = backFile;
    qsizetype next = 0;
    while (!current.isEmpty()) {
        if (load(current)) return current;
        tried << current;
        current.clear();
        while (next < backs.size() && current.isEmpty()) {
            const QString& candidate = backs[next++];
            if (!tried.contains(candidate)) current = candidate;
        }
    }
    return QString();
}

int CheckedIndex(const QStringList& backs, const QString& backFile) {
    if (backFile.isEmpty()) return -1;
    for (qsizetype i = 0; i < backs.size(); ++i)
        if (backs[i] == backFile) return static_cast<int>(i);
    return -1;
}

}  // namespace cardbacks
