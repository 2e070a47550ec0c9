#pragma once
#include <QtGlobal>

// What one picture may cost, and what all pictures decoding at once may
// cost, in one place. A file's headers are hostile until checked: every cost
// below is worked out from them before any decoder allocates, and a picture
// over its limit fails like a damaged file (a deal draws a replacement).
namespace decodelimits {

constexpr qint64 MB = 1024 * 1024;

// One picture, everything its decoder allocates: the decoded pixels of each
// frame and of the canvas they are put on (a GIF's logical screen too), a
// multi-scan JPEG's coefficient buffer (two bytes for each of 64 coefficients
// per block, for the whole picture, even at 1/8 scale), the image inside an
// icon, the file's bytes and the copies a decoder keeps of its markers.
// 128 MB holds a 30-megapixel photo at four bytes a pixel; a card needs far less.
constexpr int PictureMB = 128;

// The viewer decodes one picture at its natural size; the caller's reduced
// copy stands in for anything larger. 256 MB: a 60-megapixel photo.
constexpr int ViewerPictureMB = 256;

// All card pictures of a deal decoding at once: the deal's workers times the
// limit of one picture stay within it.
constexpr int DealBudgetMB = 512;
constexpr int DealWorkers = DealBudgetMB / PictureMB;

// Everything that may decode at the same moment: the deal's workers, the
// thumbnail writer (one picture at a time) and the viewer or the preview
// (one picture, the newer request cancelling the older). Qt's process-wide
// allocation limit sits at this figure as the backstop.
constexpr int AllDecodingMB = DealBudgetMB + PictureMB + ViewerPictureMB;
constexpr int QtBackstopMB = 1024;
static_assert(AllDecodingMB <= QtBackstopMB);

// Blocks from this size up get a mapping of their own, returned to the
// system when freed: a picture's bytes, pixels and coefficients never stay
// resident in a worker's heap after its decode. A card's picture (384 x 288,
// 432 KB) is one; the per-row and per-marker allocations are not.
constexpr int OwnMappingKB = 256;

// PNG text chunks: the game needs none of them but the thumbnail cache's own
// "Thumb::" keys (a URI, a time, sizes: short). Every other text chunk is
// dropped before the decoder sees the file; those keys are read with a cap on
// each and on their number, compressed ones inflated no further than the cap.
constexpr int ThumbKeyBytes = 4096;
constexpr int ThumbKeys = 16;
// The one colour profile kept: libpng inflates it up to its own 8 MB cap.
constexpr qint64 PngProfileBytes = 8 * MB;

// Metafiles: the player draws each record at once, so the work is bounded
// by the records, not by the file's size. Each figure is far beyond any
// drawing a person makes (clip art runs to a few thousand records) and far
// below what took the player seconds.
namespace wmf {
// Records played: the player's scan, the framing, the counting play and
// the painting cost about 65 µs a record together on a busy machine, and
// the scan cannot be interrupted: 20 000 records stay near a second.
constexpr qint64 Records = 20000;
// Area drawn, summed over every drawing record, in pixels of the picture
// being made: a shape's box clipped to the picture, a line's segments each
// widened by the pen, hatched and pattern fills and bitmaps four times over.
// 64 times the area of a 1024 × 1024 picture, about half a second of
// painting at worst; a card's picture may be painted over thousands of times.
// A wide pen along a long zig-zag, or large hatched fills repeated, reach it.
constexpr double DrawnArea = 64.0 * 1024 * 1024;
// Saved states outstanding: each SaveDC copies the state, and restoring
// walks them; a drawing nests a few levels.
constexpr int SaveDepth = 256;
// The object table the header asks for: the player scans it on every
// creation, so a full table of 65 535 makes each record slow.
constexpr int Objects = 1024;
// Objects created over the whole file: each creation searches the table.
constexpr qint64 Creations = 20000;
}  // namespace wmf

}  // namespace decodelimits
