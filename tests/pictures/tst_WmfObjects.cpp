// Metafiles that play games with the object table: the player keeps pointers
// to the selected pen, brush and font, so drawing after the selected object
// was deleted (and its slot perhaps refilled with another kind) must be refused
// before the player runs, while the usual replace-then-delete order still draws.
#include <QTest>
#include <QtEndian>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "pictures/WmfReader.h"

namespace {

using Record = std::pair<quint16, std::vector<quint16>>;

// A plain metafile of these records (parameter words as given) and the end record.
QByteArray Metafile(const std::vector<Record>& records, quint16 objects = 4) {
    QByteArray body;
    quint32 maxWords = 3;
    const auto put16 = [](QByteArray& b, quint16 v) {
        char w[2];
        qToLittleEndian(v, w);
        b.append(w, 2);
    };
    const auto put32 = [](QByteArray& b, quint32 v) {
        char w[4];
        qToLittleEndian(v, w);
        b.append(w, 4);
    };
    std::vector<Record> all = records;
    all.push_back({0x0000, {}});
    for (const auto& [function, params] : all) {
        const quint32 words = 3 + quint32(params.size());
        maxWords = std::max(maxWords, words);
        put32(body, words);
        put16(body, function);
        for (quint16 p : params) put16(body, p);
    }
    QByteArray file;
    put16(file, 1);
    put16(file, 9);
    put16(file, 0x0300);
    put32(file, quint32(9 + body.size() / 2));
    put16(file, objects);
    put32(file, maxWords);
    put16(file, 0);
    return file + body;
}

const Record Window{0x020C, {1500, 1500}};  // SetWindowExt: 100 px square
Record Brush(QRgb rgb) {                    // CreateBrushIndirect, solid
    const quint32 ref = qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16);
    return {0x02FC, {0, quint16(ref & 0xFFFF), quint16(ref >> 16), 0}};
}
const Record Pen{0x02FA, {0, 1, 1, 0, 0}};  // CreatePenIndirect, black
const Record Font{0x02FB, {quint16(-200), 0, 0, 0, 400, 0, 0, 0, 0, 'A' | ('b' << 8), 0}};
Record Select(quint16 slot) {
    return {0x012D, {slot}};
}
Record Delete(quint16 slot) {
    return {0x01F0, {slot}};
}
const Record Save{0x001E, {}};
const Record RestoreLast{0x0127, {quint16(-1)}};
const Record Box{0x041B, {1400, 1400, 100, 100}};  // Rectangle: bottom, right, top, left
const Record Text{0x0521, {2, 'H' | ('i' << 8), 700, 700}};

std::optional<QImage> Draw(const QByteArray& file) {
    const auto layout = wmfreader::Check(file);
    if (!layout) return std::nullopt;
    return wmfreader::Render(file, *layout, QSize(), 64LL << 20, nullptr);
}

}  // namespace

class WmfObjectsTest : public QObject {
    Q_OBJECT
private slots:
    void drawingWithAnObjectThatIsGoneIsRefused() {
        // The selected brush is deleted and a pen takes its slot before a shape.
        QVERIFY(!wmfreader::Check(
            Metafile({Window, Brush(qRgb(255, 0, 0)), Select(0), Delete(0), Pen, Box})));
        // The selected font is deleted and a pen takes its slot before text.
        QVERIFY(!wmfreader::Check(Metafile({Window, Font, Select(0), Delete(0), Pen, Text})));
        // A selection saved, its brush deleted, then restored and drawn with.
        QVERIFY(!wmfreader::Check(
            Metafile({Window, Brush(qRgb(255, 0, 0)), Select(0), Save, Brush(qRgb(0, 0, 255)),
                      Select(1), Delete(0), RestoreLast, Box})));
        // The player selects what it creates: a font never selected by a record,
        // deleted, its slot then holding a pen.
        QVERIFY(!wmfreader::Check(Metafile({Window, Font, Delete(0), Pen, Text})));
        // A slot that never held anything, or one beyond the table.
        QVERIFY(!wmfreader::Check(Metafile({Window, Select(2), Box})));
        QVERIFY(!wmfreader::Check(Metafile({Window, Pen, Select(9), Box})));
    }

    void replacedObjectsStillDraw() {
        // The usual order: the new brush in, selected, then the old one deleted.
        const auto image = Draw(Metafile({Window, Brush(qRgb(255, 0, 0)), Select(0),
                                          Brush(qRgb(0, 0, 255)), Select(1), Delete(0), Box}));
        QVERIFY(image.has_value());
        QCOMPARE(image->pixelColor(50, 50), QColor(0, 0, 255));
        // Text in a font that was created but never selected by a record.
        QVERIFY(Draw(Metafile({Window, Font, Text})).has_value());
        // A deleted font does not matter to shapes.
        QVERIFY(wmfreader::Check(Metafile({Window, Font, Select(0), Delete(0), Box})));
        // Restoring a saved selection whose objects still live.
        const auto restored = Draw(Metafile({Window, Brush(qRgb(0, 160, 0)), Select(0), Save,
                                             Brush(qRgb(0, 0, 255)), Select(1), RestoreLast, Box}));
        QVERIFY(restored.has_value());
        QCOMPARE(restored->pixelColor(50, 50), QColor(0, 160, 0));
    }
};
TAVIMO_TEST(WmfObjectsTest);
#include "tst_WmfObjects.moc"
