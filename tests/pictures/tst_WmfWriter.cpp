#include <QTest>
#include <QtEndian>

#include "TestSupport.h"
#include "WmfWriter.h"

namespace {
quint16 U16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 U32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}

// Walks the records after the header; returns the function numbers in order,
// failing the test when a record runs past the end or the walk misses the end record.
QList<quint16> Functions(const QByteArray& file, qsizetype start, quint32* maxWords) {
    QList<quint16> out;
    qsizetype at = start + 18;
    *maxWords = 0;
    while (at + 6 <= file.size()) {
        const quint32 words = U32(file, at);
        const quint16 fn = U16(file, at + 4);
        if (words < 3 || at + qsizetype(words) * 2 > file.size()) return {};
        *maxWords = std::max(*maxWords, words);
        out << fn;
        at += qsizetype(words) * 2;
        if (fn == 0) break;
    }
    if (at != file.size()) return {};
    return out;
}
}  // namespace

class WmfWriterTest : public QObject {
    Q_OBJECT
private slots:
    void placeableHeaderCarriesBoundsAndChecksum() {
        WmfWriter w(900, 600);
        w.SetPen(Qt::black, 15);
        w.SetBrush(Qt::red);
        w.Rectangle(0, 0, 450, 300);
        const QByteArray f = w.Finish();
        QCOMPARE(U32(f, 0), 0x9AC6CDD7u);
        QCOMPARE(U16(f, 10), quint16(900));
        QCOMPARE(U16(f, 12), quint16(600));
        QCOMPARE(U16(f, 14), quint16(1440));
        quint16 sum = 0;
        for (int i = 0; i < 20; i += 2) sum ^= U16(f, i);
        QCOMPARE(U16(f, 20), sum);
        // The metafile header follows: size in words counts everything after the placeable header.
        QCOMPARE(U16(f, 22), quint16(1));
        QCOMPARE(U16(f, 24), quint16(9));
        QCOMPARE(qsizetype(U32(f, 28)) * 2, f.size() - 22);
    }

    void recordsChainToTheEndRecord() {
        WmfWriter w(100, 80, false);
        w.SetPen(Qt::blue, 1);
        w.SetBrush(Qt::yellow);
        w.Ellipse(10, 10, 90, 70);
        w.SetBrush(Qt::green);
        w.SetNullPen();
        w.Polygon(QPolygon({QPoint(0, 0), QPoint(50, 0), QPoint(25, 40)}));
        w.Polyline(QPolygon({QPoint(0, 79), QPoint(99, 79)}));
        const QByteArray f = w.Finish();
        QCOMPARE(U16(f, 0), quint16(1));  // no placeable header
        QCOMPARE(qsizetype(U32(f, 6)) * 2, f.size());
        quint32 maxWords = 0;
        const QList<quint16> fns = Functions(f, 0, &maxWords);
        QVERIFY(!fns.isEmpty());
        QCOMPARE(fns.first(), quint16(0x020B));
        QCOMPARE(fns.at(1), quint16(0x020C));
        QCOMPARE(fns.last(), quint16(0));
        QVERIFY(fns.contains(0x0418));
        QVERIFY(fns.contains(0x0324));
        QVERIFY(fns.contains(0x0325));
        QCOMPARE(U32(f, 12), maxWords);
        // Pens and brushes are created, selected and the replaced ones deleted:
        // every created object is deleted once by the end.
        const auto created = fns.count(0x02FA) + fns.count(0x02FC);
        QCOMPARE(fns.count(0x01F0), created);
        // At most three objects live at a time (pen, brush and the newcomer).
        QVERIFY(U16(f, 10) <= 3);
    }
};
TAVIMO_TEST(WmfWriterTest);
#include "tst_WmfWriter.moc"
