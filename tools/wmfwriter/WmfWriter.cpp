#include "WmfWriter.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtEndian>
#include <algorithm>

namespace {
// Record function numbers.
constexpr quint16 kEof = 0x0000;
constexpr quint16 kSetBkMode = 0x0102;
constexpr quint16 kSetTextColor = 0x0209;
constexpr quint16 kSetWindowOrg = 0x020B;
constexpr quint16 kSetWindowExt = 0x020C;
constexpr quint16 kMoveTo = 0x0214;
constexpr quint16 kLineTo = 0x0213;
constexpr quint16 kSelectObject = 0x012D;
constexpr quint16 kDeleteObject = 0x01F0;
constexpr quint16 kCreatePenIndirect = 0x02FA;
constexpr quint16 kCreateBrushIndirect = 0x02FC;
constexpr quint16 kCreateFontIndirect = 0x02FB;
constexpr quint16 kRectangle = 0x041B;
constexpr quint16 kEllipse = 0x0418;
constexpr quint16 kRoundRect = 0x061C;
constexpr quint16 kPie = 0x081A;
constexpr quint16 kPolygon = 0x0324;
constexpr quint16 kPolyline = 0x0325;
constexpr quint16 kPolyPolygon = 0x0538;
constexpr quint16 kTextOut = 0x0521;
constexpr quint16 kSetPolyFillMode = 0x0106;
constexpr quint16 kStretchDib = 0x0F43;
constexpr quint16 kRealizePalette = 0x0035;
constexpr quint16 kSetMapMode = 0x0103;
constexpr quint16 kSetViewportExt = 0x020E;
constexpr quint16 kMmAnisotropic = 8;

constexpr quint16 kPsSolid = 0;
constexpr quint16 kPsNull = 5;
constexpr quint16 kBsSolid = 0;
constexpr quint16 kBsNull = 1;

quint16 W(int v) {
    return static_cast<quint16>(static_cast<qint16>(std::clamp(v, -32768, 32767)));
}

// COLORREF as two words: red | green << 8, then blue.
void PushColor(std::vector<quint16>& p, const QColor& c) {
    p.push_back(static_cast<quint16>(c.red() | (c.green() << 8)));
    p.push_back(static_cast<quint16>(c.blue()));
}

void Put16(QByteArray& out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}
void Put32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}
}  // namespace

WmfWriter::WmfWriter(int width, int height, bool placeable)
    : WmfWriter(Window{.extent = QSize(width, height)}, QRect(0, 0, width, height), placeable) {}

WmfWriter::WmfWriter(const Window& window, const QRect& bounds, bool placeable)
    : bounds_(bounds), placeable_(placeable) {
    if (window.viewport.isValid()) Record(kSetMapMode, {kMmAnisotropic});
    if (window.setOrigin) Record(kSetWindowOrg, {W(window.origin.y()), W(window.origin.x())});
    if (window.setExtent)
        Record(kSetWindowExt, {W(window.extent.height()), W(window.extent.width())});
    if (window.viewport.isValid())
        Record(kSetViewportExt, {W(window.viewport.height()), W(window.viewport.width())});
}

void WmfWriter::RealizePalette() {
    Record(kRealizePalette, {});
}

void WmfWriter::Record(quint16 function, const std::vector<quint16>& params) {
    const quint32 words = 3 + static_cast<quint32>(params.size());
    Put32(records_, words);
    Put16(records_, function);
    for (quint16 p : params) Put16(records_, p);
    maxRecordWords_ = std::max(maxRecordWords_, words);
}

int WmfWriter::FreeSlot() const {
    for (size_t i = 0; i < slots_.size(); ++i)
        if (!slots_[i]) return static_cast<int>(i);
    return static_cast<int>(slots_.size());
}

// Creates the object in the lowest free slot (as the player does), selects it,
// then deletes the object of the same kind that it replaces.
void WmfWriter::Replace(Kind kind, quint16 function, const std::vector<quint16>& params) {
    const int slot = FreeSlot();
    if (slot == static_cast<int>(slots_.size())) slots_.push_back(false);
    slots_[slot] = true;
    Record(function, params);
    Record(kSelectObject, {static_cast<quint16>(slot)});
    const int old = current_[kind];
    if (old >= 0) {
        Record(kDeleteObject, {static_cast<quint16>(old)});
        slots_[old] = false;
    }
    current_[kind] = slot;
}

void WmfWriter::SetPen(const QColor& color, int width) {
    std::vector<quint16> p{kPsSolid, W(std::max(width, 0)), 0};
    PushColor(p, color);
    Replace(PenObject, kCreatePenIndirect, p);
}

void WmfWriter::SetNullPen() {
    Replace(PenObject, kCreatePenIndirect, {kPsNull, 0, 0, 0, 0});
}

void WmfWriter::SetBrush(const QColor& color) {
    std::vector<quint16> p{kBsSolid};
    PushColor(p, color);
    p.push_back(0);  // hatch
    Replace(BrushObject, kCreateBrushIndirect, p);
}

void WmfWriter::SetNullBrush() {
    Replace(BrushObject, kCreateBrushIndirect, {kBsNull, 0, 0, 0});
}

void WmfWriter::Rectangle(int left, int top, int right, int bottom) {
    Record(kRectangle, {W(bottom), W(right), W(top), W(left)});
}

void WmfWriter::Ellipse(int left, int top, int right, int bottom) {
    Record(kEllipse, {W(bottom), W(right), W(top), W(left)});
}

void WmfWriter::RoundRect(int left, int top, int right, int bottom, int cornerWidth,
                          int cornerHeight) {
    Record(kRoundRect, {W(cornerHeight), W(cornerWidth), W(bottom), W(right), W(top), W(left)});
}

void WmfWriter::Pie(int left, int top, int right, int bottom, QPoint start, QPoint end) {
    Record(kPie, {W(end.y()), W(end.x()), W(start.y()), W(start.x()), W(bottom), W(right), W(top),
                  W(left)});
}

void WmfWriter::Line(int x1, int y1, int x2, int y2) {
    Record(kMoveTo, {W(y1), W(x1)});
    Record(kLineTo, {W(y2), W(x2)});
}

static std::vector<quint16> PointList(const QPolygon& points) {
    std::vector<quint16> p;
    p.reserve(1 + 2 * points.size());
    p.push_back(static_cast<quint16>(points.size()));
    for (const QPoint& pt : points) {
        p.push_back(W(pt.x()));
        p.push_back(W(pt.y()));
    }
    return p;
}

void WmfWriter::Polygon(const QPolygon& points) {
    Record(kPolygon, PointList(points));
}

void WmfWriter::Polyline(const QPolygon& points) {
    Record(kPolyline, PointList(points));
}

void WmfWriter::PolyPolygon(const std::vector<QPolygon>& polygons) {
    Record(kSetPolyFillMode, {1});  // ALTERNATE
    std::vector<quint16> p{static_cast<quint16>(polygons.size())};
    for (const QPolygon& poly : polygons) p.push_back(static_cast<quint16>(poly.size()));
    for (const QPolygon& poly : polygons)
        for (const QPoint& pt : poly) {
            p.push_back(W(pt.x()));
            p.push_back(W(pt.y()));
        }
    Record(kPolyPolygon, p);
}

void WmfWriter::SetTextColor(const QColor& color) {
    std::vector<quint16> p;
    PushColor(p, color);
    Record(kSetTextColor, p);
}

void WmfWriter::SetBackgroundTransparent(bool transparent) {
    Record(kSetBkMode, {static_cast<quint16>(transparent ? 1 : 2)});
}

void WmfWriter::SetFont(int height, int weight, const QByteArray& face) {
    // LOGFONT: height, width, escapement, orientation, weight, then bytes
    // italic/underline, strikeout/charset, out precision/clip precision,
    // quality/pitch and family, then the face name (32 bytes at most, NUL-ended).
    std::vector<quint16> p{W(-std::abs(height)), 0, 0, 0, W(weight), 0, 0, 0, 0};
    QByteArray name = face.left(31);
    name.append('\0');
    if (name.size() % 2) name.append('\0');
    for (int i = 0; i < name.size(); i += 2)
        p.push_back(static_cast<quint16>(static_cast<quint8>(name[i]) |
                                         (static_cast<quint8>(name[i + 1]) << 8)));
    Replace(FontObject, kCreateFontIndirect, p);
}

void WmfWriter::TextOut(int x, int y, const QString& latin1Text) {
    QByteArray text = latin1Text.toLatin1();
    std::vector<quint16> p{static_cast<quint16>(text.size())};
    if (text.size() % 2) text.append('\0');
    for (int i = 0; i < text.size(); i += 2)
        p.push_back(static_cast<quint16>(static_cast<quint8>(text[i]) |
                                         (static_cast<quint8>(text[i + 1]) << 8)));
    p.push_back(W(y));
    p.push_back(W(x));
    Record(kTextOut, p);
}

void WmfWriter::StretchDib(int left, int top, int width, int height, const QImage& image) {
    // A BMP file without its 14-byte file header is a DIB.
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (image.isNull() || !writer.write(image.convertToFormat(QImage::Format_RGB32)) ||
        bmp.size() <= 14)
        return;
    QByteArray dib = bmp.mid(14);
    if (dib.size() % 2) dib.append('\0');
    std::vector<quint16> p{0x0020,
                           0x00CC,  // SRCCOPY
                           0,       // colours are RGB values
                           W(image.height()),
                           W(image.width()),
                           0,
                           0,
                           W(height),
                           W(width),
                           W(top),
                           W(left)};
    for (int i = 0; i < dib.size(); i += 2)
        p.push_back(static_cast<quint16>(static_cast<quint8>(dib[i]) |
                                         (static_cast<quint8>(dib[i + 1]) << 8)));
    Record(kStretchDib, p);
}

QByteArray WmfWriter::Finish() const {
    // Objects still alive are deleted before the end record.
    QByteArray body = records_;
    quint32 maxWords = std::max<quint32>(maxRecordWords_, 4);
    for (int slot : current_) {
        if (slot < 0) continue;
        Put32(body, 4);
        Put16(body, kDeleteObject);
        Put16(body, static_cast<quint16>(slot));
    }
    Put32(body, 3);
    Put16(body, kEof);

    QByteArray out;
    if (placeable_) {
        QByteArray head;
        Put32(head, 0x9AC6CDD7u);        // key
        Put16(head, 0);                  // handle
        Put16(head, W(bounds_.left()));  // bounding box: left, top, right, bottom
        Put16(head, W(bounds_.top()));
        Put16(head, W(bounds_.left() + bounds_.width()));
        Put16(head, W(bounds_.top() + bounds_.height()));
        Put16(head, 1440);  // units per inch
        Put32(head, 0);     // reserved
        quint16 sum = 0;
        for (int i = 0; i < head.size(); i += 2)
            sum ^= qFromLittleEndian<quint16>(head.constData() + i);
        Put16(head, sum);
        out += head;
    }
    const quint32 headerWords = 9;
    const quint32 fileWords = headerWords + static_cast<quint32>(body.size() / 2);
    Put16(out, 1);  // memory metafile
    Put16(out, headerWords);
    Put16(out, 0x0300);
    Put32(out, fileWords);
    Put16(out, static_cast<quint16>(std::max<size_t>(slots_.size(), 1)));
    Put32(out, maxWords);
    Put16(out, 0);
    out += body;
    return out;
}
