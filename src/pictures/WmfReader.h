#pragma once
#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <atomic>
#include <optional>

// Windows metafiles, placeable and plain: the header and the record chain are
// checked here, then libwmflite's record player draws through our callbacks on
// a QPainter. Plain files carry no physical size; their logical units are read
// at 1440 per inch, the scale of the placeable files we write ourselves.
namespace wmfreader {

struct Layout {
    bool placeable = false;
    int headerOffset = 0;  // 22 with the placeable header, else 0
    qsizetype length = 0;  // bytes from the start of the file to the end record
    double unitsPerInch = 1440;
    QRectF bounds;           // the placeable header's box, logical units
    QPointF windowOrg;       // the first window origin and extent set
    QSizeF windowExt;        // (either side of the extent may be negative: flipped)
    bool hasExtent = false;  // whether an extent was set at all
    QByteArray mapping;      // the records that set up the mapping, before the first drawing
};

// True when the first bytes look like a metafile (either header).
bool LooksLikeWmf(const QByteArray& head);

// Checks the header and walks every record: nothing may announce more than the
// file holds, every record must fit and be long enough for its parameters, and
// the end record must be there. Returns nothing for a file the player must not see.
std::optional<Layout> Check(const QByteArray& bytes);

// The size in pixels at 96 per inch: the placeable box, else the window
// extent; invalid when neither is known (then Render takes the drawing's bounds).
QSize NaturalSize(const Layout& layout);

// How renders on the calling thread may be stopped, for as long as the scope
// lives. A set `cancel` stops a render at its next record. A background
// render (the thumbnail writer's) gives way: it waits while a render for a
// window waits for the player, and stops at its next record when one comes.
// A stopped render returns nothing, like a file over its work budget.
class PlayScope {
public:
    PlayScope(const std::atomic<bool>* cancel, bool background);
    ~PlayScope();
    PlayScope(const PlayScope&) = delete;
    PlayScope& operator=(const PlayScope&) = delete;
    // Whether the last render on this thread stopped to give way.
    static bool Yielded();

private:
    const std::atomic<bool>* cancel_;
    bool background_;
};

// Plays the metafile, within the work budget of DecodeLimits.h: the file is
// played once without painting first, counting the area each record covers,
// and refused when over it; the budget and the scope are checked again
// while it paints. `maxSize` (when valid) bounds the result, aspect kept,
// never enlarged. `maxBytes` caps the pixels the result may take. On success
// *natural gets the natural size.
std::optional<QImage> Render(const QByteArray& bytes, const Layout& layout, QSize maxSize,
                             qint64 maxBytes, QSize* natural);

}  // namespace wmfreader
