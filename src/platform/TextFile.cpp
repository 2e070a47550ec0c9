#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "platform/FileSystem.h"

namespace textfile {

bool Read(const QString& path, QString* text, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (error) *error = f.errorString();
        return false;
    }
    if (text) *text = QString::fromUtf8(bytes);
    return true;
}

bool WriteAtomic(const QString& path, const QString& text, QString* error) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    const QByteArray bytes = text.toUtf8();
    if (f.write(bytes) != bytes.size() || !f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

QString FindCaseInsensitive(const QString& folder, const QString& name) {
    const QString exact = FileSystem::Join(folder, name);
    if (QFile::exists(exact)) return exact;
    const QStringList entries =
        QDir(folder.isEmpty() ? QStringLiteral(".") : folder)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0) return FileSystem::Join(folder, e);
    return exact;
}

}  // namespace textfile
