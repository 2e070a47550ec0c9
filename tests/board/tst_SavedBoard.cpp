// board.txt: what is written reads back as it was; a file cut short,
// reordered, out of range, from a newer version or too large is damaged
// and kept aside.
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "TestSupport.h"
#include "board/SavedBoard.h"

namespace {

// A board of `pairs` in progress: the first `matched` pairs found, after
// `misses` misses and `elapsed` seconds.
board::BoardState Kept(int pairs, int matched, int misses, double elapsed) {
    board::BoardState s;
    s.pictures = PicturePaths(pairs);
    for (int k = 0; k < 2 * pairs; ++k) s.cardSlots.push_back((k * 7 + 3) % (2 * pairs));
    s.cards.assign(2 * pairs, board::Card::Down);
    for (int k = 0; k < matched; ++k) s.cards[k] = s.cards[k + pairs] = board::Card::Matched;
    s.back = "Sky.jpg";
    s.misses = misses;
    s.score = 100 + 100.0 * matched - 25.0 * misses;
    s.elapsed = elapsed;
    return s;
}

void Same(const board::BoardState& a, const board::BoardState& b) {
    QCOMPARE(a.pictures, b.pictures);
    QCOMPARE(a.cardSlots, b.cardSlots);
    QCOMPARE(a.cards, b.cards);
    QCOMPARE(a.back, b.back);
    QCOMPARE(a.score, b.score);
    QCOMPARE(a.misses, b.misses);
    QCOMPARE(a.elapsed, b.elapsed);
}

// The body of a file with the end line it needs to count as whole, so the
// reader's own checks are reached, not only the digest.
QByteArray Sealed(const QByteArray& body) {
    return body + "end " + QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() +
           '\n';
}
QByteArray Body(const board::BoardState& s) {
    const QByteArray text = savedboard::Text(s);
    return text.first(text.lastIndexOf("end "));
}

}  // namespace

class SavedBoardTest : public QObject {
    Q_OBJECT
private slots:
    void everyStateReadsBackAsWritten() {
        std::vector<board::BoardState> states = {
            Kept(4, 0, 0, 0), Kept(8, 3, 5, 83.25), Kept(44, 43, 9000, 359999.5),
            Kept(12, 0, 40, 7.1),  // a negative score
        };
        // Paths as players have them: blanks, '%', letters beyond ASCII,
        // even a line end; no back at all.
        board::BoardState odd = Kept(4, 1, 1, 1);
        odd.pictures = {"/home/ann/My Pictures/a b.jpg", "/p/100%.jpg", "/p/Åsa ölé 猫.png",
                        "/p/two\nlines.jpg"};
        odd.back.clear();
        states.push_back(odd);
        for (const board::BoardState& s : states) {
            QVERIFY(s.Valid());
            const QByteArray text = savedboard::Text(s);
            QVERIFY(text.startsWith("Tavimo board 1\n"));
            QCOMPARE(text.count('\n'), 9 + s.Pairs());
            QString why;
            const auto back = savedboard::Parse(text, &why);
            QVERIFY2(back, qPrintable(why));
            Same(*back, s);
        }
    }

    void aFileCutAnywhereIsDamaged() {
        const QByteArray text = savedboard::Text(Kept(8, 2, 3, 61.5));
        for (qsizetype n = 0; n < text.size(); ++n) {
            QString why;
            QVERIFY2(!savedboard::Parse(text.first(n), &why), qPrintable(QString::number(n)));
            QVERIFY(!why.isEmpty());
        }
        // One changed byte anywhere is no whole file either.
        for (qsizetype n = 0; n < text.size(); n += 7) {
            QByteArray changed = text;
            changed[n] = changed[n] == 'x' ? 'y' : 'x';
            QVERIFY(!savedboard::Parse(changed));
        }
    }

    void linesOutOfPlaceOrOutOfRangeAreDamaged() {
        const QByteArray body = Body(Kept(4, 1, 2, 10));
        QList<QByteArray> lines = body.chopped(1).split('\n');
        const auto join = [](QList<QByteArray> l) { return l.join('\n') + '\n'; };
        QVERIFY(savedboard::Parse(Sealed(join(lines))));
        // Any two lines swapped (two pictures swapped are another board,
        // which only the digest of a real file tells).
        for (int a = 0; a < lines.size(); ++a)
            for (int b = a + 1; b < lines.size(); ++b) {
                if (lines[a].startsWith("picture ") && lines[b].startsWith("picture ")) continue;
                QList<QByteArray> swapped = lines;
                swapped.swapItemsAt(a, b);
                if (swapped == lines) continue;
                QVERIFY2(!savedboard::Parse(Sealed(join(swapped))),
                         qPrintable(QString("%1 %2").arg(a).arg(b)));
            }
        // Numbers no board has.
        const QList<QPair<int, QByteArray>> wrong = {
            {1, "pairs 99999999999999999999"},
            {1, "pairs 45"},
            {1, "pairs -4"},
            {3, "score 1000000000000"},
            {3, "score 175.5"},
            {4, "misses 2147483648"},
            {5, "time 1e308"},
            {5, "time inf"},
            {5, "time nan"},
            {5, "time -1"},
            {10, "slots 0 1 2 3 4 5 6 99"},
            {10, "slots 0 1 2 3 4 5 6"},
            {11, "cards 2 0 0 0 2 0 0 1"},
            {11, "cards 2 0 0 0 2 0 0 0 0"},
        };
        for (const auto& [at, line] : wrong) {
            QList<QByteArray> changed = lines;
            changed[at] = line;
            QVERIFY2(!savedboard::Parse(Sealed(join(changed))), line.constData());
        }
        // A line too many, a picture line short.
        QVERIFY(!savedboard::Parse(Sealed(join(lines) + "extra 1\n")));
        QList<QByteArray> short_ = lines;
        short_.removeAt(6);
        QVERIFY(!savedboard::Parse(Sealed(join(short_))));
    }

    void aNewerVersionOrAHugeFileIsSaidSo() {
        const QByteArray text = savedboard::Text(Kept(4, 1, 0, 3));
        QByteArray newer = Body(Kept(4, 1, 0, 3));
        newer.replace("Tavimo board 1", "Tavimo board 2");
        QString why;
        QVERIFY(!savedboard::Parse(Sealed(newer), &why));
        QCOMPARE(why, QString("it was written by a newer version"));
        // A newer version's own end line is not ours to check.
        QVERIFY(!savedboard::Parse(newer + "end of another kind\n", &why));
        QCOMPARE(why, QString("it was written by a newer version"));
        QByteArray huge = text;
        huge.append(QByteArray(savedboard::MaxBytes, 'x'));
        QVERIFY(!savedboard::Parse(huge, &why));
        QCOMPARE(why, QString("it is larger than 512 KB"));
    }

    void aDamagedFileIsKeptAsideOnceEach() {
        QTemporaryDir dir;
        const QString folder = dir.path();
        QCOMPARE(savedboard::Load(folder).found, savedboard::Found::None);
        const board::BoardState kept = Kept(8, 2, 3, 61.5);
        QVERIFY(savedboard::Save(folder, kept));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"board.txt"}));  // no temporary left, no lock either
        savedboard::Loaded read = savedboard::Load(folder);
        QCOMPARE(read.found, savedboard::Found::Whole);
        Same(read.state, kept);
        QVERIFY(QFile::exists(savedboard::PathIn(folder)));

        const QByteArray text = savedboard::Text(kept);
        for (const QString& aside :
             {QString("board.txt.damaged"), QString("board.txt.damaged.2")}) {
            QFile f(savedboard::PathIn(folder));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text.first(text.size() / 2));
            f.close();
            read = savedboard::Load(folder);
            QCOMPARE(read.found, savedboard::Found::Damaged);
            QVERIFY2(read.message.contains("(it is cut short)") && read.message.contains(aside),
                     qPrintable(read.message));
            QVERIFY(!QFile::exists(savedboard::PathIn(folder)));
            QFile keptAside(QDir(folder).filePath(aside));
            QVERIFY(keptAside.open(QIODevice::ReadOnly));
            QCOMPARE(keptAside.readAll(), text.first(text.size() / 2));
        }
        QCOMPARE(savedboard::Load(folder).found, savedboard::Found::None);
        // An empty file holds nothing to keep or to say.
        QFile empty(savedboard::PathIn(folder));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        QCOMPARE(savedboard::Load(folder).found, savedboard::Found::None);
        QVERIFY(!QFile::exists(savedboard::PathIn(folder)));

        QVERIFY(savedboard::Save(folder, kept));
        savedboard::Remove(folder);
        QVERIFY(!QFile::exists(savedboard::PathIn(folder)));
    }
};
TAVIMO_TEST(SavedBoardTest);

#include "tst_SavedBoard.moc"
