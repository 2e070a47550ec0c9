#include "platform/FileNames.h"

namespace filenames {

namespace {
constexpr char16_t RawBase = 0xDC00;
bool IsRaw(QChar c) {
    return c.unicode() >= RawBase + 0x80 && c.unicode() <= RawBase + 0xFF;
}
// The length of the valid UTF-8 sequence at `i`, or 0 when none starts there.
qsizetype ValidSequence(QByteArrayView b, qsizetype i) {
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(b[k]); };
    const unsigned char c = at(i);
    if (c < 0x80) return 1;
    qsizetype n = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // the second byte's range
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;  // no overlong forms
        if (c == 0xED) hi = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;  // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (i + n > b.size()) return 0;
    if (at(i + 1) < lo || at(i + 1) > hi) return 0;
    for (qsizetype k = 2; k < n; ++k)
        if (at(i + k) < 0x80 || at(i + k) > 0xBF) return 0;
    return n;
}
}  // namespace

QString Decode(QByteArrayView bytes) {
    QString out;
    out.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        // The longest valid run, decoded at once.
        qsizetype end = i, n = 0;
        while (end < bytes.size() && (n = ValidSequence(bytes, end)) > 0) end += n;
        if (end > i) out += QString::fromUtf8(bytes.sliced(i, end - i));
        if (end < bytes.size()) {
            out += QChar(static_cast<char16_t>(RawBase + static_cast<unsigned char>(bytes[end])));
            ++end;
        }
        i = end;
    }
    return out;
}

QByteArray Encode(QStringView name) {
    QByteArray out;
    qsizetype start = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        // A raw byte is a lone low surrogate: not the second half of a pair.
        if (!IsRaw(name[i]) || (i > 0 && name[i - 1].isHighSurrogate())) continue;
        out += name.sliced(start, i - start).toUtf8();
        out += static_cast<char>(name[i].unicode() - RawBase);
        start = i + 1;
    }
    out += name.sliced(start).toUtf8();
    return out;
}

bool HasRawBytes(QStringView name) {
    for (qsizetype i = 0; i < name.size(); ++i)
        if (IsRaw(name[i]) && !(i > 0 && name[i - 1].isHighSurrogate())) return true;
    return false;
}

QString Shown(const QString& name) {
    if (!HasRawBytes(name)) return name;
    QString out = name;
    for (qsizetype i = 0; i < out.size(); ++i)
        if (IsRaw(out[i]) && !(i > 0 && out[i - 1].isHighSurrogate()))
            out[i] = QChar::ReplacementCharacter;
    return out;
}

}  // namespace filenames
