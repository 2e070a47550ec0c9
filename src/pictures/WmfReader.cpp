#include "pictures/WmfReader.h"

#include <pthread.h>
#include <sched.h>

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QSet>
#include <QtEndian>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <numbers>

#include "pictures/DecodeLimits.h"
#include "pictures/PictureLoader.h"
#include "platform/Numbers.h"

// libwmf's headers define U8, U16 and friends as macros: they come last.
#include <libwmf/api.h>
#include <libwmf/ipa.h>

namespace wmfreader {
namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7u;
constexpr int kPlaceableSize = 22;
constexpr int kHeaderBytes = 18;
// The player reads parameters into a buffer of the announced largest record;
// a floor keeps short records from reaching past it.
constexpr quint32 kMinRecordBuffer = 3 + 64;

quint16 U16At(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
qint16 S16At(const QByteArray& b, qsizetype at) {
    return static_cast<qint16>(U16At(b, at));
}
quint32 U32At(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}

// Words of parameters a record needs at least, from its fixed fields and the
// counts it carries; -1 when the record is unknown (then only its size counts).
qint64 NeededParams(quint16 function, const QByteArray& b, qsizetype params, qint64 have) {
    auto word = [&](qint64 i) -> qint64 { return i < have ? U16At(b, params + 2 * i) : 0; };
    switch (function) {
        case 0x0102:
        case 0x0103:
        case 0x0104:
        case 0x0106:
        case 0x0107:
        case 0x0108:
        case 0x012E:
        case 0x0127:
        case 0x012D:
        case 0x01F0:
        case 0x0234:
        case 0x012A:
        case 0x012B:
            return 1;
        case 0x0201:
        case 0x0209:
        case 0x020A:
        case 0x020B:
        case 0x020C:
        case 0x020D:
        case 0x020E:
        case 0x020F:
        case 0x0211:
        case 0x0213:
        case 0x0214:
        case 0x0220:
        case 0x0228:
            return 2;
        case 0x0410:
        case 0x0412:
        case 0x0415:
        case 0x0416:
        case 0x0418:
        case 0x041B:
        case 0x041F:
        case 0x0419:
        case 0x0429:
            return 4;
        case 0x0548:
            return 5;  // ExtFloodFill
        case 0x02FA:
            return 5;  // CreatePenIndirect
        case 0x02FC:
            return 4;  // CreateBrushIndirect
        case 0x02FB:
            return 9;  // CreateFontIndirect (the name may be short)
        case 0x061C:
        case 0x061D:
            return 6;  // RoundRect, PatBlt
        case 0x0817:
        case 0x081A:
        case 0x0830:
            return 8;  // Arc, Pie, Chord
        case 0x0324:
        case 0x0325:  // Polygon, Polyline
            return 1 + 2 * word(0);
        case 0x0538: {  // PolyPolygon
            const qint64 polys = word(0);
            if (1 + polys > have) return 1 + polys;
            qint64 points = 0;
            for (qint64 i = 0; i < polys; ++i) points += word(1 + i);
            return 1 + polys + 2 * points;
        }
        case 0x0521:  // TextOut
            return 1 + (word(0) + 1) / 2 + 2;
        case 0x0A32: {  // ExtTextOut
            const qint64 count = word(2);
            const bool rect = (word(3) & 0x0006) != 0;
            return 4 + (rect ? 4 : 0) + (count + 1) / 2;
        }
        case 0x0940:
            return have > 9 ? 8 + 20 : 9;  // DibBitBlt, with or without a bitmap
        case 0x0B41:
            return have > 11 ? 10 + 20 : 11;  // DibStretchBlt
        case 0x0F43:
            return 11 + 20;  // StretchDib
        case 0x0142:
            return 2 + 20;  // DibCreatePatternBrush
        case 0x06FF:
            return 11;  // CreateRegion header
        default:
            return -1;
    }
}

// Records that set up how logical units map onto the picture.
bool IsMapping(quint16 function) {
    switch (function) {
        case 0x0103:  // SetMapMode
        case 0x020B:  // SetWindowOrg
        case 0x020C:  // SetWindowExt
        case 0x020D:  // SetViewportOrg
        case 0x020E:  // SetViewportExt
        case 0x020F:  // OffsetWindowOrg
        case 0x0211:  // OffsetViewportOrg
        case 0x0410:  // ScaleWindowExt
        case 0x0412:  // ScaleViewportExt
            return true;
        default:
            return false;
    }
}

// Records that put something on the picture.
bool IsDrawing(quint16 function) {
    switch (function) {
        case 0x0213:
        case 0x0324:
        case 0x0325:
        case 0x0538:
        case 0x041B:
        case 0x0418:
        case 0x061C:
        case 0x081A:
        case 0x0817:
        case 0x0830:
        case 0x0521:
        case 0x0A32:
        case 0x0940:
        case 0x0B41:
        case 0x0F43:
        case 0x041F:
        case 0x061D:
        case 0x0419:
        case 0x0548:
        case 0x0228:
        case 0x012B:
        case 0x0922:
        case 0x0B23:
        case 0x0626:
            return true;
        default:
            return false;
    }
}

// Records that make a GDI object.
bool IsCreation(quint16 function) {
    switch (function) {
        case 0x02FA:
        case 0x02FC:
        case 0x0142:
        case 0x01F9:
        case 0x02FB:
        case 0x00F7:
        case 0x06FF:
            return true;
        default:
            return false;
    }
}

// Follows the player's object table through the records. The player's device
// context keeps pointers to the selected pen, brush and font; once such an
// object is deleted, its slot may hold a different kind of object, and drawing
// with the stale selection reads the wrong object's memory. A file that draws
// with a deleted object, or selects one that is not there, is refused.
class ObjectTable {
public:
    explicit ObjectTable(int count) : slots_(count) {}

    // False when the record would make the player use an object that is gone.
    bool Play(quint16 function, const QByteArray& b, qsizetype params) {
        switch (function) {
            case 0x02FA:
                return Create(Pen);
            case 0x02FC:
            case 0x0142:
            case 0x01F9:
                return Create(Brush);
            case 0x02FB:
                return Create(Font);
            case 0x00F7:
            case 0x06FF:
                return Create(Other);  // palette, region
            case 0x01F0: {             // DeleteObject
                const quint16 i = U16At(b, params);
                if (i < slots_.size() && slots_[i].kind != Free) {
                    slots_[i].kind = Free;
                    ++slots_[i].generation;
                }
                return true;
            }
            case 0x012D: {  // SelectObject
                const quint16 i = U16At(b, params);
                if (i >= slots_.size() || slots_[i].kind == Free) return false;
                if (slots_[i].kind != Other)
                    state_.role[slots_[i].kind] = {i, slots_[i].generation};
                return true;
            }
            case 0x001E:
                saved_.push_back(state_);
                return true;  // SaveDC
            case 0x0127: {    // RestoreDC
                const qint16 n = static_cast<qint16>(U16At(b, params));
                const qsizetype depth = saved_.size();
                const qsizetype keep = n < 0 ? depth + n : qsizetype(n) - 1;
                if (keep >= 0 && keep < depth) {
                    state_ = saved_[keep];
                    saved_.resize(keep);
                }
                return true;
            }
            case 0x0521:
            case 0x0A32:  // TextOut, ExtTextOut
                return Valid(Font) && Valid(Pen) && Valid(Brush);
            default:
                return UsesNoObject(function) || (Valid(Pen) && Valid(Brush));
        }
    }

private:
    enum Kind { Pen, Brush, Font, Other, Free };
    struct Slot {
        Kind kind = Free;
        int generation = 0;
    };
    struct Selection {
        int slot = -1;  // -1: the player's default object
        int generation = 0;
    };
    struct State {
        Selection role[3];
    };

    // The player selects a pen, brush or font as it creates it.
    bool Create(Kind kind) {
        for (int i = 0; i < slots_.size(); ++i) {
            if (slots_[i].kind != Free) continue;
            slots_[i].kind = kind;
            if (kind != Other) state_.role[kind] = {i, slots_[i].generation};
            return true;
        }
        return true;  // a full table: the player refuses the record itself
    }
    bool Valid(Kind kind) const {
        const Selection& s = state_.role[kind];
        return s.slot < 0 ||
               (slots_[s.slot].kind == kind && slots_[s.slot].generation == s.generation);
    }
    // State records, object and palette records, clipping and the pen position.
    static bool UsesNoObject(quint16 function) {
        switch (function) {
            case 0x0035:
            case 0x0037:
            case 0x0139:
            case 0x0234:
            case 0x0201:
            case 0x0102:
            case 0x0103:
            case 0x0104:
            case 0x0105:
            case 0x0106:
            case 0x0107:
            case 0x0108:
            case 0x0209:
            case 0x020A:
            case 0x020B:
            case 0x020C:
            case 0x020D:
            case 0x020E:
            case 0x020F:
            case 0x0211:
            case 0x0410:
            case 0x0412:
            case 0x012E:
            case 0x0231:
            case 0x0626:
            case 0x0214:
            case 0x012C:
            case 0x0220:
            case 0x0415:
            case 0x0416:
                return true;
            default:
                return false;
        }
    }

    QList<Slot> slots_;
    State state_;
    QList<State> saved_;
};
}  // namespace

bool LooksLikeWmf(const QByteArray& head) {
    if (head.size() >= 4 && U32At(head, 0) == kPlaceableKey) return true;
    return head.size() >= 6 && (U16At(head, 0) == 1 || U16At(head, 0) == 2) &&
           U16At(head, 2) == 9 && (U16At(head, 4) == 0x0300 || U16At(head, 4) == 0x0100);
}

std::optional<Layout> Check(const QByteArray& bytes) {
    Layout layout;
    if (bytes.size() >= 4 && U32At(bytes, 0) == kPlaceableKey) {
        if (bytes.size() < kPlaceableSize + kHeaderBytes) return std::nullopt;
        layout.placeable = true;
        layout.headerOffset = kPlaceableSize;
        const qint16 left = S16At(bytes, 6), top = S16At(bytes, 8);
        const qint16 right = S16At(bytes, 10), bottom = S16At(bytes, 12);
        const quint16 inch = U16At(bytes, 14);
        if (inch == 0 || left == right || top == bottom) return std::nullopt;
        layout.unitsPerInch = inch;
        layout.bounds = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
    }
    const qsizetype h = layout.headerOffset;
    if (bytes.size() < h + kHeaderBytes) return std::nullopt;
    const quint16 type = U16At(bytes, h), headerWords = U16At(bytes, h + 2);
    const quint16 version = U16At(bytes, h + 4);
    const quint32 fileWords = U32At(bytes, h + 6);
    const quint32 maxRecord = U32At(bytes, h + 12);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0300 && version != 0x0100))
        return std::nullopt;
    // The header's promises must fit the bytes that are really there. Some
    // writers count the placeable header in the size as well.
    const qint64 available = bytes.size() - h;
    qint64 declared = qint64(fileWords) * 2;
    if (layout.placeable && declared > available && declared <= available + kPlaceableSize)
        declared = available;
    if (declared > available || qint64(maxRecord) * 2 > available) return std::nullopt;
    if (declared < 2 * (9 + 3) || maxRecord < 3) return std::nullopt;

    const qsizetype end = h + qsizetype(declared);
    qsizetype at = h + kHeaderBytes;
    bool sawEnd = false, sawOrg = false, sawExt = false, drawn = false;
    QPointF org;
    QSizeF ext;
    // The player scans its whole object table at every creation.
    const quint16 objectCount = U16At(bytes, h + 10);
    if (objectCount > decodelimits::wmf::Objects) return std::nullopt;
    ObjectTable objects(objectCount);
    qint64 records = 0, creations = 0;
    int depth = 0;
    while (at + 6 <= end) {
        const quint32 words = U32At(bytes, at);
        const quint16 function = U16At(bytes, at + 4);
        if (words < 3 || words > maxRecord || qint64(words) * 2 > end - at) return std::nullopt;
        if (function == 0x0000) {
            sawEnd = true;
            at += qsizetype(words) * 2;
            break;
        }
        const qint64 have = qint64(words) - 3;
        const qsizetype params = at + 6;
        const qint64 need = NeededParams(function, bytes, params, have);
        if (need > have) return std::nullopt;
        if (++records > decodelimits::wmf::Records) return std::nullopt;
        if (IsCreation(function) && ++creations > decodelimits::wmf::Creations) return std::nullopt;
        if (function == 0x001E && ++depth > decodelimits::wmf::SaveDepth) return std::nullopt;
        if (function == 0x0127) {  // RestoreDC: relative when negative
            const qint16 n = S16At(bytes, params);
            depth = n < 0 ? std::max(0, depth + n) : std::min(depth, std::max(0, n - 1));
        }
        if (!objects.Play(function, bytes, params)) return std::nullopt;
        drawn = drawn || IsDrawing(function);
        if (!drawn && IsMapping(function)) layout.mapping += bytes.mid(at, qsizetype(words) * 2);
        if (function == 0x020B && !sawOrg) {  // SetWindowOrg: y, x
            org = QPointF(S16At(bytes, params + 2), S16At(bytes, params));
            sawOrg = true;
        } else if (function == 0x020C && !sawExt) {  // SetWindowExt: y, x
            ext = QSizeF(S16At(bytes, params + 2), S16At(bytes, params));
            sawExt = ext.width() != 0 && ext.height() != 0;
        }
        at += qsizetype(words) * 2;
    }
    if (!sawEnd) return std::nullopt;
    layout.length = at;
    if (sawOrg) layout.windowOrg = org;
    layout.hasExtent = sawExt;
    if (sawExt) layout.windowExt = ext;
    return layout;
}

namespace {
int PixelSide(double units, double unitsPerInch) {
    const double pixels = std::abs(units) * 96.0 / unitsPerInch;
    return static_cast<int>(std::clamp<long long>(num::RoundHalfEven(pixels), 1, 1 << 20));
}
}  // namespace

QSize NaturalSize(const Layout& layout) {
    if (layout.placeable)
        return QSize(PixelSide(layout.bounds.width(), layout.unitsPerInch),
                     PixelSide(layout.bounds.height(), layout.unitsPerInch));
    if (layout.hasExtent)
        return QSize(PixelSide(layout.windowExt.width(), layout.unitsPerInch),
                     PixelSide(layout.windowExt.height(), layout.unitsPerInch));
    return QSize();
}

namespace {

// Everything a drawing callback needs, reached through the player's device data.
struct Canvas {
    QPainter* painter = nullptr;
    QTransform toPixels;  // player coordinates to image pixels
    double scaleY = 1;    // pixels per player unit, vertically
    qint64 maxBytes = 0;  // for bitmaps inside the file
    // The bitmaps BitmapRead made and BitmapFree has not released. A brush the
    // player hands over may be another object's memory (a file can delete a
    // selected brush and reuse its slot), so its bitmap is used only when known.
    QSet<const void*> bitmaps;
    // The fonts the player made (it maps each one as it creates it). A font it
    // hands over that is not one of them is another object's memory.
    QSet<const void*> fonts;
    // The work budget: the area drawn so far, weighed, in pixels of the picture.
    QRectF imageRect;
    double drawn = 0;
    bool measuring = false;  // counting only: nothing is painted
    bool stopped = false;    // over the budget, cancelled, or giving way
    bool yielded = false;    // giving way to a render for a window
    const std::atomic<bool>* cancel = nullptr;
    bool background = false;
    Canvas() = default;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        for (const void* b : bitmaps) delete static_cast<const QImage*>(b);
    }
};

Canvas& CanvasOf(wmfAPI* api) {
    return *static_cast<Canvas*>(api->device_data);
}

// The player is old C with little said about threads: one file at a time.
// A render for a window goes first: a background render waits while one
// waits, and stops at its next record when one comes (it is tried again).
class PlayerLock {
public:
    void Lock(bool background) {
        std::unique_lock lock(mutex_);
        if (background) {
            free_.wait(lock, [&] { return !busy_ && urgent_ == 0; });
        } else {
            ++urgent_;
            free_.wait(lock, [&] { return !busy_; });
            --urgent_;
        }
        busy_ = true;
    }
    void Unlock() {
        {
            std::lock_guard lock(mutex_);
            busy_ = false;
        }
        free_.notify_all();
    }
    bool Wanted() const { return urgent_ > 0; }

private:
    std::mutex mutex_;
    std::condition_variable free_;
    bool busy_ = false;
    std::atomic<int> urgent_{0};
};
PlayerLock playerLock;

// A background thread runs at idle priority; holding the player it runs as
// any other (where the system lets it), so a window's render never waits
// behind a thread that gets no time to reach its next record.
struct PlayerGuard {
    explicit PlayerGuard(bool background) : background_(background) {
        playerLock.Lock(background);
        if (!background_ || pthread_getschedparam(pthread_self(), &policy_, &param_) != 0) return;
        sched_param normal{};
        pthread_setschedparam(pthread_self(), SCHED_OTHER, &normal);
    }
    ~PlayerGuard() {
        if (background_) pthread_setschedparam(pthread_self(), policy_, &param_);
        playerLock.Unlock();
    }
    bool background_;
    int policy_ = SCHED_OTHER;
    sched_param param_{};
    PlayerGuard(const PlayerGuard&) = delete;
    PlayerGuard& operator=(const PlayerGuard&) = delete;
};

// Who asked for the render on this thread, and how it may be stopped.
thread_local const std::atomic<bool>* scopeCancel = nullptr;
thread_local bool scopeBackground = false;
thread_local bool lastYielded = false;

bool ShouldStop(Canvas& c) {
    if (c.stopped) return true;
    if (c.cancel && c.cancel->load(std::memory_order_relaxed)) c.stopped = true;
    if (c.background && playerLock.Wanted()) c.stopped = c.yielded = true;
    return c.stopped;
}

// Between records: the player stops when this says so.
int PlayStatus(void* context, float) {
    return ShouldStop(*static_cast<Canvas*>(context)) ? 1 : 0;
}

// Pixels of the picture a shape covers: its box in player units, widened by
// the pen, clipped to the picture; one at least, for the record's own cost.
double Covered(const Canvas& c, const QRectF& box, double pen) {
    const double half = std::max(0.0, pen) / 2;
    const QRectF pixels =
        c.toPixels.mapRect(box.normalized().adjusted(-half, -half, half, half)) & c.imageRect;
    return std::max(1.0, pixels.width() * pixels.height());
}

// Counts `area` against the budget. False when nothing is to be painted:
// counting only, or the render must stop (the player then stops too).
bool Spend(wmfAPI* api, double area) {
    Canvas& c = CanvasOf(api);
    c.drawn += area;
    if (c.drawn > decodelimits::wmf::DrawnArea) c.stopped = true;
    if (ShouldStop(c)) {
        api->err = wmf_E_UserExit;
        return false;
    }
    return !c.measuring;
}

double PenWidth(const wmfDC* dc) {
    return dc->pen && (dc->pen->lopnStyle & 0x000F) != 5 ? dc->pen->width : 0;
}
// Hatches and patterns cost the painter several times a plain fill.
double FillWeight(const wmfDC* dc) {
    const wmfBrush* b = dc->brush;
    if (!b) return 1;
    if (b->lbStyle == 1) return 0;  // hollow
    return b->lbStyle == 0 ? 1 : 4;
}

// What a pen of `pen` player units covers along `length` of them: no more
// than the stroke itself, nor than its box clipped to the picture.
double Stroked(const Canvas& c, const QRectF& box, double length, double pen) {
    const double scale = std::sqrt(std::abs(c.toPixels.determinant()));
    const double width = std::max(1.0, pen * scale);
    return std::min(Covered(c, box, pen), (length * scale + width) * width);
}

// A shape's fill and outline.
bool SpendShape(wmfAPI* api, const wmfDC* dc, const QRectF& box, bool fill) {
    const Canvas& c = CanvasOf(api);
    double area = fill ? FillWeight(dc) * Covered(c, box, 0) : 0;
    const QRectF r = box.normalized();
    area += Stroked(c, r, 2 * (r.width() + r.height()), PenWidth(dc));
    return Spend(api, area);
}

// A line through points: each segment's stroke.
double SegmentsCovered(const Canvas& c, const wmfD_Coord* pts, int count, double pen, bool closed) {
    double area = 0;
    for (int i = 1; i < count + (closed ? 1 : 0); ++i) {
        const QPointF a(pts[i - 1].x, pts[i - 1].y);
        const QPointF b(pts[i % count].x, pts[i % count].y);
        area += Stroked(c, QRectF(a, b), QLineF(a, b).length(), pen);
    }
    return area;
}

QColor ToColor(const wmfRGB& c) {
    return QColor(c.r, c.g, c.b);
}
QPointF ToPoint(const wmfD_Coord& c) {
    return QPointF(c.x, c.y);
}
QRectF ToRect(const wmfD_Coord& tl, const wmfD_Coord& br) {
    return QRectF(ToPoint(tl), ToPoint(br)).normalized();
}

QPen PenOf(const wmfDC* dc) {
    const wmfPen* p = dc->pen;
    if (!p) return QPen(Qt::black);
    const int style = p->lopnStyle & 0x000F;
    if (style == 5) return QPen(Qt::NoPen);
    QPen pen(ToColor(p->lopnColor));
    if (p->width <= 0) {
        pen.setCosmetic(true);
        pen.setWidth(1);
    } else {
        pen.setWidthF(p->width);
    }
    switch (style) {
        case 1:
            pen.setStyle(Qt::DashLine);
            break;
        case 2:
            pen.setStyle(Qt::DotLine);
            break;
        case 3:
            pen.setStyle(Qt::DashDotLine);
            break;
        case 4:
            pen.setStyle(Qt::DashDotDotLine);
            break;
        default:
            pen.setStyle(Qt::SolidLine);
            break;
    }
    switch (p->lopnStyle & 0x0F00) {
        case 0x0100:
            pen.setCapStyle(Qt::SquareCap);
            break;
        case 0x0200:
            pen.setCapStyle(Qt::FlatCap);
            break;
        default:
            pen.setCapStyle(Qt::RoundCap);
            break;
    }
    switch (p->lopnStyle & 0xF000) {
        case 0x1000:
            pen.setJoinStyle(Qt::BevelJoin);
            break;
        case 0x2000:
            pen.setJoinStyle(Qt::MiterJoin);
            break;
        default:
            pen.setJoinStyle(Qt::RoundJoin);
            break;
    }
    return pen;
}

QBrush BrushOf(const Canvas& canvas, const wmfDC* dc) {
    const wmfBrush* b = dc->brush;
    if (!b) return QBrush(Qt::white);
    switch (b->lbStyle) {
        case 0:
            return QBrush(ToColor(b->lbColor));
        case 2: {  // hatched
            static constexpr Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                         Qt::FDiagPattern, Qt::BDiagPattern,
                                                         Qt::CrossPattern, Qt::DiagCrossPattern};
            return QBrush(ToColor(b->lbColor), hatches[std::min<int>(b->lbHatch, 5)]);
        }
        case 3:
        case 5:
        case 6:  // pattern brushes: the bitmap our reader made
            if (canvas.bitmaps.contains(b->bmp.data))
                return QBrush(*static_cast<const QImage*>(b->bmp.data));
            return QBrush(ToColor(b->lbColor));
        default:
            return QBrush(Qt::NoBrush);
    }
}

void Prepare(wmfAPI* api, const wmfDC* dc, bool fill) {
    QPainter& p = *CanvasOf(api).painter;
    p.setPen(PenOf(dc));
    p.setBrush(fill ? BrushOf(CanvasOf(api), dc) : QBrush(Qt::NoBrush));
    // Hatches show the background colour between their lines when it is opaque.
    p.setBackgroundMode(dc->bgmode == 2 ? Qt::OpaqueMode : Qt::TransparentMode);
    p.setBackground(ToColor(dc->bgcolor));
}

Qt::FillRule FillRuleOf(const wmfDC* dc) {
    return dc->polyfillmode == 2 ? Qt::WindingFill : Qt::OddEvenFill;
}

void DeviceNothing(wmfAPI*) {}
void UserDataNothing(wmfAPI*, wmfUserData_t*) {}
void FloodNothing(wmfAPI*, wmfFlood_t*) {}

void DrawPixel(wmfAPI* api, wmfDrawPixel_t* d) {
    const QRectF r(ToPoint(d->pt), QSizeF(d->pixel_width, d->pixel_height));
    if (!Spend(api, Covered(CanvasOf(api), r, 0))) return;
    CanvasOf(api).painter->fillRect(r, ToColor(d->color));
}

// Arcs, pies and chords: the player hands start and end relative to the centre,
// already swapped for clockwise drawing; Qt measures angles anticlockwise on
// the ellipse's own parameter.
void DrawArcLike(wmfAPI* api, wmfDrawArc_t* d, int kind) {
    const QRectF r = ToRect(d->TL, d->BR);
    if (!SpendShape(api, d->dc, r, kind != 0)) return;
    QPainter& p = *CanvasOf(api).painter;
    Prepare(api, d->dc, kind != 0);
    const bool whole = d->start.x == d->end.x && d->start.y == d->end.y;
    if (r.width() <= 0 || r.height() <= 0) return;
    if (whole) {
        if (kind == 0)
            p.drawArc(r, 0, 360 * 16);
        else
            p.drawEllipse(r);
        return;
    }
    const double rx = r.width() / 2, ry = r.height() / 2;
    const auto angle = [&](const wmfD_Coord& c) {
        return std::atan2(-c.y / ry, c.x / rx) * 180.0 / std::numbers::pi;
    };
    const double from = angle(d->end);
    double span = angle(d->start) - from;
    while (span <= 0) span += 360;
    const int a = static_cast<int>(num::RoundHalfEven(from * 16));
    const int s = static_cast<int>(num::RoundHalfEven(span * 16));
    if (kind == 0)
        p.drawArc(r, a, s);
    else if (kind == 1)
        p.drawPie(r, a, s);
    else
        p.drawChord(r, a, s);
}
void DrawArc(wmfAPI* api, wmfDrawArc_t* d) {
    DrawArcLike(api, d, 0);
}
void DrawPie(wmfAPI* api, wmfDrawArc_t* d) {
    DrawArcLike(api, d, 1);
}
void DrawChord(wmfAPI* api, wmfDrawArc_t* d) {
    DrawArcLike(api, d, 2);
}

void DrawEllipse(wmfAPI* api, wmfDrawArc_t* d) {
    if (!SpendShape(api, d->dc, ToRect(d->TL, d->BR), true)) return;
    Prepare(api, d->dc, true);
    CanvasOf(api).painter->drawEllipse(ToRect(d->TL, d->BR));
}

void DrawLine(wmfAPI* api, wmfDrawLine_t* d) {
    const QLineF line(ToPoint(d->from), ToPoint(d->to));
    if (!Spend(api, Stroked(CanvasOf(api), QRectF(line.p1(), line.p2()), line.length(),
                            PenWidth(d->dc))))
        return;
    Prepare(api, d->dc, false);
    CanvasOf(api).painter->drawLine(ToPoint(d->from), ToPoint(d->to));
}

QPolygonF PolygonOf(const wmfD_Coord* pts, int count) {
    QPolygonF poly;
    poly.reserve(count);
    for (int i = 0; i < count; ++i) poly << ToPoint(pts[i]);
    return poly;
}

void PolyLine(wmfAPI* api, wmfPolyLine_t* d) {
    if (!d->pt || d->count < 2) return;
    if (!Spend(api, SegmentsCovered(CanvasOf(api), d->pt, d->count, PenWidth(d->dc), false)))
        return;
    Prepare(api, d->dc, false);
    CanvasOf(api).painter->drawPolyline(PolygonOf(d->pt, d->count));
}

void DrawPolygon(wmfAPI* api, wmfPolyLine_t* d) {
    if (!d->pt || d->count < 2) return;
    const Canvas& c = CanvasOf(api);
    const QPolygonF poly = PolygonOf(d->pt, d->count);
    if (!Spend(api, FillWeight(d->dc) * Covered(c, poly.boundingRect(), 0) +
                        SegmentsCovered(c, d->pt, d->count, PenWidth(d->dc), true)))
        return;
    Prepare(api, d->dc, true);
    CanvasOf(api).painter->drawPolygon(PolygonOf(d->pt, d->count), FillRuleOf(d->dc));
}

void DrawPolyPolygon(wmfAPI* api, wmfPolyPoly_t* d) {
    if (!d->pt || !d->count) return;
    QPainterPath path;
    path.setFillRule(FillRuleOf(d->dc));
    const Canvas& c = CanvasOf(api);
    double outline = 0;
    for (int i = 0; i < d->npoly; ++i) {
        if (!d->pt[i] || d->count[i] < 2) continue;
        outline += SegmentsCovered(c, d->pt[i], d->count[i], PenWidth(d->dc), true);
        QPolygonF poly = PolygonOf(d->pt[i], d->count[i]);
        if (poly.first() != poly.last()) poly << poly.first();
        path.addPolygon(poly);
    }
    if (!Spend(api, FillWeight(d->dc) * Covered(c, path.boundingRect(), 0) + outline)) return;
    Prepare(api, d->dc, true);
    CanvasOf(api).painter->drawPath(path);
}

void DrawRectangle(wmfAPI* api, wmfDrawRectangle_t* d) {
    const QRectF r = ToRect(d->TL, d->BR);
    if (!SpendShape(api, d->dc, r, true)) return;
    Prepare(api, d->dc, true);
    if (d->width > 0 && d->height > 0)
        CanvasOf(api).painter->drawRoundedRect(r, d->width / 2, d->height / 2);
    else
        CanvasOf(api).painter->drawRect(r);
}

void RopDraw(wmfAPI* api, wmfROP_Draw_t* d) {
    const QRectF r = ToRect(d->TL, d->BR);
    if (!Spend(api, FillWeight(d->dc) * Covered(CanvasOf(api), r, 0))) return;
    QPainter& p = *CanvasOf(api).painter;
    switch (d->ROP) {
        case 0x00000042:
            p.fillRect(r, Qt::black);
            break;  // BLACKNESS
        case 0x00FF0062:
            p.fillRect(r, Qt::white);
            break;  // WHITENESS
        case 0x00F00021:
            p.fillRect(r, BrushOf(CanvasOf(api), d->dc));
            break;  // PATCOPY
        default:
            break;
    }
}

// Bitmaps inside the file are DIBs; a file header in front makes them BMP files
// for Qt's reader, which checks them against their own announced sizes.
void BitmapRead(wmfAPI* api, wmfBMP_Read_t* r) {
    r->bmp.data = nullptr;
    r->bmp.width = 0;
    r->bmp.height = 0;
    if (!r->buffer || r->length < 12) return;
    const QByteArray dib(reinterpret_cast<const char*>(r->buffer), r->length);
    const quint32 headerSize = U32At(dib, 0);
    qint64 width, height;
    int bits;
    qint64 paletteBytes;
    if (headerSize == 12) {
        width = U16At(dib, 4);
        height = U16At(dib, 6);
        bits = U16At(dib, 10);
        paletteBytes = bits <= 8 ? 3 * (qint64(1) << bits) : 0;
    } else if (headerSize >= 40 && headerSize <= 124 && dib.size() >= 40) {
        width = qint32(U32At(dib, 4));
        height = qint32(U32At(dib, 8));
        bits = U16At(dib, 14);
        const quint32 compression = U32At(dib, 16);
        const quint32 used = U32At(dib, 32);
        if (used > 256) return;
        paletteBytes = 4 * qint64(used ? used : (bits <= 8 ? (1 << bits) : 0));
        if (headerSize == 40 && compression == 3) paletteBytes += 12;
    } else {
        return;
    }
    width = std::abs(width);
    height = std::abs(height);
    if (width == 0 || height == 0 || bits <= 0 || bits > 32) return;
    // Each side fits 31 bits, so their product does too; times four it might not.
    if (width * height > CanvasOf(api).maxBytes / 4) return;
    const qint64 offset = 14 + headerSize + paletteBytes;
    QByteArray file;
    file.reserve(14 + dib.size());
    file.append("BM", 2);
    char word[4];
    qToLittleEndian<quint32>(quint32(14 + dib.size()), word);
    file.append(word, 4);
    file.append(4, '\0');
    qToLittleEndian<quint32>(quint32(offset), word);
    file.append(word, 4);
    file.append(dib);
    QImage image = QImage::fromData(file, "BMP");
    if (image.isNull()) return;
    r->bmp.width = static_cast<U16>(std::min<int>(image.width(), 0xFFFF));
    r->bmp.height = static_cast<U16>(std::min<int>(image.height(), 0xFFFF));
    r->bmp.data = new QImage(std::move(image));
    CanvasOf(api).bitmaps.insert(r->bmp.data);
}

void BitmapFree(wmfAPI* api, wmfBMP* bmp) {
    if (!CanvasOf(api).bitmaps.remove(bmp->data)) return;
    delete static_cast<QImage*>(bmp->data);
    bmp->data = nullptr;
}

void BitmapDraw(wmfAPI* api, wmfBMP_Draw_t* d) {
    if (!CanvasOf(api).bitmaps.contains(d->bmp.data)) return;
    const QImage* image = static_cast<const QImage*>(d->bmp.data);
    // The crop counts rows from the bottom, as DIBs store them.
    const int y = image->height() - d->crop.y - d->crop.h;
    const QRect source(d->crop.x, y, d->crop.w, d->crop.h);
    if (!image->rect().contains(source) || source.isEmpty()) return;
    const QRectF target(ToPoint(d->pt),
                        QSizeF(d->crop.w * d->pixel_width, d->crop.h * d->pixel_height));
    if (!Spend(api, 4 * Covered(CanvasOf(api), target, 0))) return;
    CanvasOf(api).painter->drawImage(target, *image, source);
}

QRegion RegionOf(wmfAPI* api, const wmfPolyRectangle_t* d) {
    QRegion region;
    if (!d->TL || !d->BR) return region;
    const QTransform& t = CanvasOf(api).toPixels;
    for (unsigned i = 0; i < d->count; ++i)
        region += t.mapRect(ToRect(d->TL[i], d->BR[i])).toAlignedRect();
    return region;
}

void RegionPaint(wmfAPI* api, wmfPolyRectangle_t* d) {
    if (d->count == 0) return;
    double area = 0;
    for (unsigned i = 0; d->TL && d->BR && i < d->count; ++i)
        area += FillWeight(d->dc) * Covered(CanvasOf(api), ToRect(d->TL[i], d->BR[i]), 0);
    if (!Spend(api, area)) return;
    QPainter& p = *CanvasOf(api).painter;
    for (unsigned i = 0; d->TL && d->BR && i < d->count; ++i)
        p.fillRect(ToRect(d->TL[i], d->BR[i]), BrushOf(CanvasOf(api), d->dc));
}

void RegionFrame(wmfAPI* api, wmfPolyRectangle_t* d) {
    if (d->count == 0 || !d->TL || !d->BR) return;
    double area = 0;
    for (unsigned i = 0; i < d->count; ++i)
        area += Covered(CanvasOf(api), ToRect(d->TL[i], d->BR[i]),
                        2 * std::max<double>(d->width, d->height));
    if (!Spend(api, FillWeight(d->dc) * area)) return;
    QPainter& p = *CanvasOf(api).painter;
    const QBrush brush = BrushOf(CanvasOf(api), d->dc);
    for (unsigned i = 0; i < d->count; ++i) {
        const QRectF r = ToRect(d->TL[i], d->BR[i]);
        const double w = d->width, h = d->height;
        p.fillRect(QRectF(r.left(), r.top(), r.width(), h), brush);
        p.fillRect(QRectF(r.left(), r.bottom() - h, r.width(), h), brush);
        p.fillRect(QRectF(r.left(), r.top(), w, r.height()), brush);
        p.fillRect(QRectF(r.right() - w, r.top(), w, r.height()), brush);
    }
}

void RegionClip(wmfAPI* api, wmfPolyRectangle_t* d) {
    if (!CanvasOf(api).painter) return;  // counting only
    QPainter& p = *CanvasOf(api).painter;
    if (d->count == 0) {
        p.setClipping(false);
        return;
    }
    // Clip regions are kept in pixels, free of the drawing transform.
    const QTransform t = p.worldTransform();
    p.resetTransform();
    p.setClipRegion(RegionOf(api, d));
    p.setWorldTransform(t);
}

QFont FontOf(wmfAPI* api, const wmfFont* f, double pixelHeight) {
    if (!CanvasOf(api).fonts.contains(f)) f = nullptr;
    QFont font;
    if (f && f->lfFaceName && *f->lfFaceName) font.setFamily(QString::fromLatin1(f->lfFaceName));
    font.setPixelSize(std::max(1, static_cast<int>(num::RoundHalfEven(pixelHeight))));
    if (f) {
        font.setWeight(
            static_cast<QFont::Weight>(f->lfWeight ? std::clamp<int>(f->lfWeight, 100, 900) : 400));
        font.setItalic(f->lfItalic != 0);
        font.setUnderline(f->lfUnderline != 0);
        font.setStrikeOut(f->lfStrikeOut != 0);
    }
    return font;
}

void DrawText(wmfAPI* api, wmfDrawText_t* d) {
    if (!d->str || !*d->str) return;
    Canvas& c = CanvasOf(api);
    const QPolygonF box(
        {ToPoint(d->bbox.TL), ToPoint(d->bbox.TR), ToPoint(d->bbox.BR), ToPoint(d->bbox.BL)});
    if (!Spend(api, Covered(c, box.boundingRect() | ToRect(d->TL, d->BR), 0))) return;
    QPainter& p = *c.painter;
    const QString text = QString::fromLatin1(d->str);
    if (d->flags & 0x0002) p.fillRect(ToRect(d->TL, d->BR), ToColor(d->dc->bgcolor));  // ETO_OPAQUE
    if (d->dc->bgmode == 2) {
        p.setPen(Qt::NoPen);
        p.setBrush(ToColor(d->dc->bgcolor));
        p.drawPolygon(box);
    }
    // Text is drawn in pixels, upright whatever the window's direction.
    const double pixels = d->font_height * std::abs(c.scaleY);
    if (pixels < 1) return;
    const QPointF at = c.toPixels.map(ToPoint(d->pt));
    p.save();
    p.resetTransform();
    p.translate(at);
    const wmfFont* font = c.fonts.contains(d->dc->font) ? d->dc->font : nullptr;
    if (font && font->lfEscapement) p.rotate(-font->lfEscapement / 10.0);
    p.setFont(FontOf(api, font, pixels));
    p.setPen(ToColor(d->dc->textcolor));
    p.drawText(QPointF(0, 0), text);
    p.restore();
}

void FontMap(wmfAPI* api, wmfFont* font) {
    CanvasOf(api).fonts.insert(font);
}

// Width of the text in points for a font of one point.
float StringWidth(wmfAPI* api, wmfFont* font, char* str) {
    if (!str) return 0;
    const QFontMetricsF metrics(FontOf(api, font, 100));
    return static_cast<float>(metrics.horizontalAdvance(QString::fromLatin1(str)) / 100.0);
}

// Hands the player our callbacks; copies live in the player's own memory so
// its clean-up may release them.
void InstallDevice(wmfAPI* api) {
    auto* fr = static_cast<wmfFunctionReference*>(wmf_malloc(api, sizeof(wmfFunctionReference)));
    auto* fd = static_cast<wmfFontData*>(wmf_malloc(api, sizeof(wmfFontData)));
    if (!fr || !fd) {
        api->err = wmf_E_InsMem;
        return;
    }
    *fr = wmfFunctionReference{};
    fr->device_open = DeviceNothing;
    fr->device_close = DeviceNothing;
    fr->device_begin = DeviceNothing;
    fr->device_end = DeviceNothing;
    fr->flood_interior = FloodNothing;
    fr->flood_exterior = FloodNothing;
    fr->draw_pixel = DrawPixel;
    fr->draw_pie = DrawPie;
    fr->draw_chord = DrawChord;
    fr->draw_arc = DrawArc;
    fr->draw_ellipse = DrawEllipse;
    fr->draw_line = DrawLine;
    fr->poly_line = PolyLine;
    fr->draw_polygon = DrawPolygon;
    fr->draw_polypolygon = DrawPolyPolygon;
    fr->draw_rectangle = DrawRectangle;
    fr->rop_draw = RopDraw;
    fr->bmp_draw = BitmapDraw;
    fr->bmp_read = BitmapRead;
    fr->bmp_free = BitmapFree;
    fr->draw_text = DrawText;
    fr->udata_init = UserDataNothing;
    fr->udata_copy = UserDataNothing;
    fr->udata_set = UserDataNothing;
    fr->udata_free = UserDataNothing;
    fr->region_frame = RegionFrame;
    fr->region_paint = RegionPaint;
    fr->region_clip = RegionClip;
    fd->map = FontMap;
    fd->stringwidth = StringWidth;
    fd->user_data = nullptr;
    api->function_reference = fr;
    api->font_data = fd;
}

struct Player {
    wmfAPI* api = nullptr;
    bool open = false;
    ~Player() {
        if (open) wmf_mem_close(api);
        if (api) wmf_lite_destroy(api);
    }
};

wmfAPI* CreatePlayer(Canvas* canvas) {
    wmfAPI* api = nullptr;
    wmfAPI_Options options{};
    options.function = InstallDevice;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_lite_create(&api, flags, &options) != wmf_E_None || !api) {
        if (api) wmf_lite_destroy(api);
        return nullptr;
    }
    api->device_data = canvas;
    return api;
}

void PutRecord(QByteArray& out, quint16 function, std::initializer_list<qint16> params) {
    char b[4];
    qToLittleEndian<quint32>(quint32(3 + params.size()), b);
    out.append(b, 4);
    qToLittleEndian<quint16>(function, b);
    out.append(b, 2);
    for (const qint16 p : params) {
        qToLittleEndian<qint16>(p, b);
        out.append(b, 2);
    }
}

// Where the player puts `logical` (a box in logical units): a file made of
// the same headers and mapping records with that box drawn, scanned. Every
// map mode, viewport and flipped window then frames the picture the way
// the player draws it.
std::optional<QRectF> PlayerBox(const QByteArray& bytes, const Layout& layout, QRectF logical) {
    const auto side = [](double v) {
        return static_cast<qint16>(std::clamp<double>(std::round(v), -32768, 32767));
    };
    QByteArray records = layout.mapping;
    PutRecord(records, 0x02FA, {5, 0, 0, 0, 0});  // a null pen: the box is not widened
    PutRecord(records, 0x012D, {0});
    PutRecord(
        records, 0x041B,
        {side(logical.bottom()), side(logical.right()), side(logical.top()), side(logical.left())});
    PutRecord(records, 0x0000, {});
    const qsizetype h = layout.headerOffset;
    QByteArray probe = bytes.left(h + kHeaderBytes) + records;
    const quint32 words = quint32((probe.size() - h) / 2);
    qToLittleEndian<quint32>(words, probe.data() + h + 6);
    qToLittleEndian<quint16>(1, probe.data() + h + 10);  // one object
    quint32 largest = 8;
    for (qsizetype at = h + kHeaderBytes; at + 6 <= probe.size();
         at += qsizetype(U32At(probe, at)) * 2)
        largest = std::max(largest, U32At(probe, at));
    qToLittleEndian<quint32>(std::max(largest, std::min(kMinRecordBuffer, words)),
                             probe.data() + h + 12);

    Canvas canvas;
    Player player;
    player.api = CreatePlayer(&canvas);
    if (!player.api) return std::nullopt;
    if (wmf_mem_open(player.api, reinterpret_cast<unsigned char*>(probe.data()), probe.size()) !=
        wmf_E_None)
        return std::nullopt;
    player.open = true;
    wmfD_Rect box{};
    if (wmf_scan(player.api, 0, &box) != wmf_E_None) return std::nullopt;
    return QRectF(QPointF(box.TL.x, box.TL.y), QPointF(box.BR.x, box.BR.y)).normalized();
}

}  // namespace

std::optional<QImage> Render(const QByteArray& bytes, const Layout& layout, QSize maxSize,
                             qint64 maxBytes, QSize* natural) {
    if (layout.length <= 0 || layout.length > bytes.size()) return std::nullopt;
    // The player gets the checked part only, with the record buffer floor applied.
    QByteArray data = bytes.left(layout.length);
    const qsizetype h = layout.headerOffset;
    // Trailing bytes after the end record are cut off; the size follows.
    const quint32 fileWords = quint32((layout.length - h) / 2);
    qToLittleEndian<quint32>(fileWords, data.data() + h + 6);
    const quint32 maxRecord = U32At(data, h + 12);
    qToLittleEndian<quint32>(std::max(maxRecord, std::min(kMinRecordBuffer, fileWords)),
                             data.data() + h + 12);

    lastYielded = false;
    const PlayerGuard guard(scopeBackground);
    // The canvas outlives the player, whose clean-up releases bitmaps through it.
    Canvas canvas;
    canvas.maxBytes = maxBytes;
    canvas.cancel = scopeCancel;
    canvas.background = scopeBackground;
    struct NoteYield {
        const Canvas& canvas;
        ~NoteYield() { lastYielded = canvas.yielded; }
    } noteYield{canvas};
    Player player;
    player.api = CreatePlayer(&canvas);
    if (!player.api) return std::nullopt;
    wmf_status_function(player.api, &canvas, PlayStatus);
    if (wmf_mem_open(player.api, reinterpret_cast<unsigned char*>(data.data()), data.size()) !=
        wmf_E_None)
        return std::nullopt;
    player.open = true;
    wmfD_Rect bounds{};
    if (wmf_scan(player.api, 0, &bounds) != wmf_E_None) return std::nullopt;

    // The frame is the window when one is set, else the placeable box, else
    // the bounds of what is drawn; the player says where it lies in its units.
    QRectF frame;
    QSize size = NaturalSize(layout);
    if (layout.hasExtent || layout.placeable) {
        const QRectF logical =
            layout.hasExtent ? QRectF(layout.windowOrg, layout.windowExt) : layout.bounds;
        const auto box = PlayerBox(data, layout, logical);
        if (!box) return std::nullopt;
        frame = *box;
    } else {
        frame = QRectF(QPointF(bounds.TL.x, bounds.TL.y), QPointF(bounds.BR.x, bounds.BR.y));
        size = QSize(PixelSide(frame.width(), layout.unitsPerInch),
                     PixelSide(frame.height(), layout.unitsPerInch));
    }
    if (frame.width() == 0 || frame.height() == 0 || size.isEmpty()) return std::nullopt;
    if (natural) *natural = size;
    const QSize target = PictureLoader::FitWithin(size, maxSize);
    if (qint64(target.width()) * target.height() * 4 > maxBytes) return std::nullopt;

    const double sx = target.width() / frame.width();
    const double sy = target.height() / frame.height();
    canvas.toPixels = QTransform(sx, 0, 0, sy, -frame.left() * sx, -frame.top() * sy);
    canvas.scaleY = sy;
    canvas.imageRect = QRectF(QPointF(0, 0), QSizeF(target));

    // The whole file is played once without painting, counting what each
    // record would cover: a file over the budget is refused before any of it is painted.
    canvas.measuring = true;
    if (wmf_play(player.api, 0, &bounds) != wmf_E_None || canvas.stopped) return std::nullopt;
    canvas.measuring = false;
    canvas.drawn = 0;

    QImage image(target, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return std::nullopt;
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    canvas.painter = &painter;
    painter.setWorldTransform(canvas.toPixels);
    const wmf_error_t played = wmf_play(player.api, 0, &bounds);
    painter.end();
    canvas.painter = nullptr;
    if (played != wmf_E_None || canvas.stopped) return std::nullopt;
    return image;
}

PlayScope::PlayScope(const std::atomic<bool>* cancel, bool background)
    : cancel_(scopeCancel), background_(scopeBackground) {
    scopeCancel = cancel;
    scopeBackground = background;
}

PlayScope::~PlayScope() {
    scopeCancel = cancel_;
    scopeBackground = background_;
}

bool PlayScope::Yielded() {
    return lastYielded;
}

}  // namespace wmfreader
