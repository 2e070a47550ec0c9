#include "board/SavedBoard.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include "platform/DataLock.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"

namespace savedboard {
namespace {

constexpr QByteArrayView Magic = "Tavimo board ";

QByteArray Digest(QByteArrayView bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// Every printable ASCII character but '%' stays as it is, so a path reads
// as the path; control characters and non-ASCII bytes are encoded.
const QByteArray& Plain() {
    static const QByteArray plain = [] {
        QByteArray b;
        for (char c = 0x20; c < 0x7f; ++c)
            if (c != '%') b += c;
        return b;
    }();
    return plain;
}

QByteArray Numbers(const auto& values) {
    QByteArray line;
    for (const auto v : values) {
        if (!line.isEmpty()) line += ' ';
        line += QByteArray::number(static_cast<int>(v));
    }
    return line;
}

// Reads the lines in order; the first fault stops it.
class Reader {
public:
    explicit Reader(QList<QByteArray> lines) : lines_(std::move(lines)) {}
    // The value of the next line, which must be `key` and a space.
    std::optional<QByteArrayView> Field(QByteArrayView key) {
        if (at_ >= lines_.size()) return Fail(QT_TRANSLATE_NOOP("SavedBoard", "it is cut short"));
        const QByteArrayView line = lines_[at_++];
        if (!line.startsWith(key) || line.size() <= key.size() || line[key.size()] != ' ')
            return Fail(QT_TRANSLATE_NOOP("SavedBoard", "a line is out of place"));
        return line.sliced(key.size() + 1);
    }
    std::optional<long long> Integer(QByteArrayView key, long long low, long long high) {
        const auto v = Field(key);
        if (!v) return std::nullopt;
        bool ok = false;
        const long long n = v->toLongLong(&ok);
        if (!ok || n < low || n > high)
            return Fail(QT_TRANSLATE_NOOP("SavedBoard", "a number is out of range"));
        return n;
    }
    std::optional<std::vector<int>> List(QByteArrayView key, int count, int high) {
        const auto v = Field(key);
        if (!v) return std::nullopt;
        std::vector<int> out;
        for (const QByteArray& item : v->toByteArray().split(' ')) {
            bool ok = false;
            const int n = item.toInt(&ok);
            if (!ok || n < 0 || n > high)
                return Fail(QT_TRANSLATE_NOOP("SavedBoard", "a number is out of range"));
            out.push_back(n);
        }
        if (static_cast<int>(out.size()) != count)
            return Fail(QT_TRANSLATE_NOOP("SavedBoard", "a line is out of place"));
        return out;
    }
    bool AtEnd() const { return at_ == lines_.size(); }
    QString why;

private:
    std::nullopt_t Fail(const char* reason) {
        if (why.isEmpty()) why = QCoreApplication::translate("SavedBoard", reason);
        return std::nullopt;
    }
    QList<QByteArray> lines_;
    qsizetype at_ = 0;
};

std::optional<board::BoardState> Damaged(QString* why, const QString& reason) {
    if (why) *why = reason;
    return std::nullopt;
}

// The name textfile::KeepAside gives a file kept aside as `aside`.
QString FreeAside(const QString& aside) {
    for (int i = 1; i <= 99; ++i) {
        const QString target = i == 1 ? aside : aside + "." + QString::number(i);
        if (!QFileInfo::exists(target) && !QFileInfo(target).isSymLink()) return target;
    }
    return aside;
}

}  // namespace

QByteArray Text(const board::BoardState& s) {
    QByteArray body;
    body += Magic.toByteArray() + QByteArray::number(Version) + '\n';
    body += "pairs " + QByteArray::number(s.Pairs()) + '\n';
    body += "back " + s.back.toUtf8().toPercentEncoding(Plain()) + '\n';
    body += "score " + QByteArray::number(static_cast<long long>(s.score)) + '\n';
    body += "misses " + QByteArray::number(s.misses) + '\n';
    body += "time " + QByteArray::number(s.elapsed, 'g', 17) + '\n';
    for (const QString& p : s.pictures)
        body += "picture " + p.toUtf8().toPercentEncoding(Plain()) + '\n';
    body += "slots " + Numbers(s.cardSlots) + '\n';
    body += "cards " + Numbers(s.cards) + '\n';
    return body + "end " + Digest(body) + '\n';
}

std::optional<board::BoardState> Parse(QByteArrayView bytes, QString* why) {
    if (bytes.size() > MaxBytes)
        return Damaged(why, QCoreApplication::translate("SavedBoard", "it is larger than %1 KB")
                                .arg(MaxBytes / 1024));
    // The end line and its digest first: a file cut anywhere fails here.
    if (!bytes.endsWith('\n'))
        return Damaged(why, QCoreApplication::translate("SavedBoard", "it is cut short"));
    const qsizetype endAt = bytes.chopped(1).lastIndexOf('\n') + 1;
    const QByteArrayView body = bytes.first(endAt);
    if (bytes.sliced(endAt) != "end " + Digest(body) + '\n') {
        // A newer version may end its files differently: say so rather
        // than call it cut.
        if (bytes.startsWith(Magic)) {
            const qsizetype nl = bytes.indexOf('\n');
            bool ok = false;
            const long long v =
                bytes.sliced(Magic.size(), nl < 0 ? 0 : nl - Magic.size()).toLongLong(&ok);
            if (ok && v > Version)
                return Damaged(why, QCoreApplication::translate(
                                        "SavedBoard", "it was written by a newer version"));
        }
        return Damaged(why, QCoreApplication::translate("SavedBoard", "it is cut short"));
    }
    QList<QByteArray> lines = body.chopped(body.isEmpty() ? 0 : 1).toByteArray().split('\n');
    if (lines.isEmpty() || !lines[0].startsWith(Magic))
        return Damaged(why, QCoreApplication::translate("SavedBoard", "it is no saved board"));
    bool ok = false;
    const long long version = lines[0].sliced(Magic.size()).toLongLong(&ok);
    if (!ok || version < 1)
        return Damaged(why, QCoreApplication::translate("SavedBoard", "it is no saved board"));
    if (version > Version)
        return Damaged(
            why, QCoreApplication::translate("SavedBoard", "it was written by a newer version"));
    lines.removeFirst();

    Reader r(lines);
    board::BoardState s;
    const auto pairs = r.Integer("pairs", 1, board::MaxSlots / 2);
    const auto back = r.Field("back");
    // Scores beyond what any board reaches are no board of the game's.
    const auto score = r.Integer("score", -1'000'000'000, 1'000'000'000);
    const auto misses = r.Integer("misses", 0, 40'000'000);
    const auto time = r.Field("time");
    if (!pairs || !back || !score || !misses || !time) return Damaged(why, r.why);
    s.back = QString::fromUtf8(QByteArray::fromPercentEncoding(back->toByteArray()));
    s.score = static_cast<double>(*score);
    s.misses = static_cast<int>(*misses);
    s.elapsed = time->toDouble(&ok);
    if (!ok)
        return Damaged(why, QCoreApplication::translate("SavedBoard", "a number is out of range"));
    for (int k = 0; k < *pairs; ++k) {
        const auto p = r.Field("picture");
        if (!p) return Damaged(why, r.why);
        s.pictures << QString::fromUtf8(QByteArray::fromPercentEncoding(p->toByteArray()));
    }
    const int cards = static_cast<int>(2 * *pairs);
    const auto places = r.List("slots", cards, cards - 1);
    const auto states = r.List("cards", cards, static_cast<int>(board::Card::Matched));
    if (!places || !states) return Damaged(why, r.why);
    if (!r.AtEnd())
        return Damaged(why, QCoreApplication::translate("SavedBoard", "a line is out of place"));
    s.cardSlots = *places;
    for (const int c : *states) s.cards.push_back(static_cast<board::Card>(c));
    if (!s.Valid())
        return Damaged(why,
                       QCoreApplication::translate("SavedBoard", "its cards do not make a board"));
    return s;
}

QString PathIn(const QString& folder) {
    return FileSystem::Join(folder, FileName);
}

Loaded Load(const QString& folder) {
    Loaded out;
    const QString path = PathIn(folder);
    const DataLock lock(folder);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return out;
    // An empty file holds no board and nothing worth keeping.
    if (info.isFile() && info.size() == 0) {
        if (!lock.Busy()) QFile::remove(path);
        return out;
    }
    QString why;
    QByteArray bytes;
    QFile file(path);
    if (!info.isFile()) {
        why = QCoreApplication::translate("SavedBoard", "it is no file");
    } else if (info.size() > MaxBytes) {
        why = QCoreApplication::translate("SavedBoard", "it is larger than %1 KB")
                  .arg(MaxBytes / 1024);
    } else if (!file.open(QIODevice::ReadOnly)) {
        why = file.errorString();
    } else {
        bytes = file.read(MaxBytes + 1);
        file.close();
        if (auto s = Parse(bytes, &why)) {
            out.found = Found::Whole;
            out.state = std::move(*s);
            return out;
        }
    }
    out.found = Found::Damaged;
    const QString aside = FileSystem::Join(folder, DamagedName);
    const QString shown = QDir::toNativeSeparators(path);
    const QString kept = FreeAside(aside);
    // Another copy holding the lock may be saving it right now: leave it.
    if (!lock.Busy() && info.isFile() && textfile::KeepAside(path, aside)) {
        out.message = QCoreApplication::translate(
                          "SavedBoard",
                          "The board you left, %1, is damaged (%2). It was kept as %3, "
                          "and a new board is dealt.")
                          .arg(shown, why, QFileInfo(kept).fileName());
    } else {
        out.message =
            QCoreApplication::translate(
                "SavedBoard", "The board you left, %1, cannot be read (%2). A new board is dealt.")
                .arg(shown, why);
    }
    return out;
}

bool Save(const QString& folder, const board::BoardState& state, QString* error) {
    return textfile::WriteAtomicLocked(PathIn(folder), QString::fromUtf8(Text(state)), error);
}

void Remove(const QString& folder) {
    const DataLock lock(folder);
    const QString path = PathIn(folder);
    if (QFileInfo(path).isFile()) QFile::remove(path);
}

namespace {
std::optional<board::BoardState>& Offered() {
    static std::optional<board::BoardState> offered;
    return offered;
}
}  // namespace

void OfferToDeal(const board::BoardState& state) {
    Offered() = state;
}

std::optional<board::BoardState> TakeOffered() {
    std::optional<board::BoardState> s = std::move(Offered());
    Offered().reset();
    return s;
}

}  // namespace savedboard
