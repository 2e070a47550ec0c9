#include "config/ConfigText.h"

#include <QDir>

QString ShortenPathCaption(const QString& path, int length) {
    if (path.size() <= length) return path;
    // The root stands where a drive would: one character, so the room for
    // the rest is the length less the root and the dots.
    const QString root = path.left(1);
    const int room = length - static_cast<int>(root.size()) - 3;
    const int slash = static_cast<int>(path.lastIndexOf('/'));
    QString tail = slash < 0 ? path : path.mid(slash);
    if (tail.size() > room) tail = tail.left(room - 3) + "...";
    const int middle = room - static_cast<int>(tail.size());
    return root + (middle > 0 ? path.mid(root.size(), middle) : QString()) + "..." + tail;
}

bool BoardSizeKeyAccepted(QChar key, bool isBackspace, int textLength, bool hasSelection) {
    if (isBackspace) return true;
    if (key < QChar('0') || key > QChar('9')) return false;
    return hasSelection || textLength < 2;
}

QString BoardSizeOnLeave(const QString& text) {
    QString t = text.trimmed();
    // A pasted sign: a negative number is below every size.
    const bool negative = t.startsWith('-');
    if (negative || t.startsWith('+')) t.remove(0, 1);
    bool whole = !t.isEmpty();
    for (QChar c : t) whole = whole && c >= QChar('0') && c <= QChar('9');
    if (!whole) return "8";
    if (negative) return "4";
    // Long digit strings are simply large.
    const long long v = t.size() > 9 ? 1000 : t.toLongLong();
    if (v > 40) return "40";
    if (v < 4) return "4";
    return t;
}

QString FolderFromTyped(const QString& typed, const QString& browsed, const QString& home) {
    QString path = typed.trimmed();
    if (path == "~" || path.startsWith("~/")) path = home + path.mid(1);
    if (!path.startsWith('/')) path = browsed + '/' + path;
    return QDir::cleanPath(path);
}
