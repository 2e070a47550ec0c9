#include "platform/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include "platform/AtomicFile.h"
#include "platform/DataLock.h"
#include "platform/FileSystem.h"

namespace textfile {

namespace {

// Files from older systems are Windows-1252; Qt's decoder (ICU) knows it, and
// maps the five codes it leaves undefined to their Latin-1 meaning.
QString FromCp1252(QByteArrayView bytes) {
    QStringDecoder cp1252("windows-1252", QStringDecoder::Flag::Stateless);
    return cp1252.isValid() ? cp1252(bytes) : QString::fromLatin1(bytes);
}

}  // namespace

QString DecodeLine(QByteArrayView line) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(line);
    return utf8.hasError() ? FromCp1252(line) : text;
}

QString Decode(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        text += DecodeLine(bytes.sliced(start, end - start));
        start = end;
    }
    return text;
}

ReadResult ReadLimited(const QString& path, qint64 maxBytes, QString* text, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString();
        return f.exists() ? ReadResult::Failed : ReadResult::Missing;
    }
    // The size is asked first, but a file may grow or lie about it: never
    // more than one byte past the cap is read.
    if (maxBytes >= 0 && f.size() > maxBytes) {
        if (error)
            *error = QCoreApplication::translate("TextFile", "larger than %n bytes", nullptr,
                                                 int(maxBytes));
        return ReadResult::TooLarge;
    }
    const QByteArray bytes = maxBytes >= 0 ? f.read(maxBytes + 1) : f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (error) *error = f.errorString();
        return ReadResult::Failed;
    }
    if (maxBytes >= 0 && bytes.size() > maxBytes) {
        if (error)
            *error = QCoreApplication::translate("TextFile", "larger than %n bytes", nullptr,
                                                 int(maxBytes));
        return ReadResult::TooLarge;
    }
    if (text) *text = Decode(bytes);
    return ReadResult::Ok;
}

bool Read(const QString& path, QString* text, QString* error) {
    return ReadLimited(path, -1, text, error) == ReadResult::Ok;
}

bool WriteAtomic(const QString& path, const QString& text, QString* error) {
    return atomicfile::Write(path, text.toUtf8(), error);
}

bool WriteAtomicLocked(const QString& path, const QString& text, QString* error) {
    const DataLock lock(QFileInfo(path).absolutePath());
    if (lock.Busy()) {
        if (error) *error = DataLock::BusyReason();
        return false;
    }
    return WriteAtomic(path, text, error);
}

QString SaveFailedMessage(const QString& path, const QString& error) {
    return QCoreApplication::translate(
               "TextFile", "Tavimo could not save %1: %2.\nThe file was left as it was.")
        .arg(QDir::toNativeSeparators(path),
             error.isEmpty() ? QCoreApplication::translate("TextFile", "unknown error") : error);
}

int RemoveStaleTemporaries(const QString& folder, const QStringList& names) {
    QStringList alternatives;
    for (const QString& n : names) alternatives << QRegularExpression::escape(n);
    return atomicfile::RemoveStaleTemporaries(folder, alternatives.join('|'));
}

bool KeepAside(const QString& path, const QString& damagedPath) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return true;
    // A folder or a device in the file's place is not ours to move.
    if (!info.isFile()) return false;
    if (info.size() == 0) return true;
    for (int i = 1; i <= 99; ++i) {
        const QString target = i == 1 ? damagedPath : damagedPath + "." + QString::number(i);
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) continue;
        return QFile::rename(path, target);
    }
    return false;
}

bool HasControlCharacters(QStringView text) {
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control) return true;
    return false;
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
