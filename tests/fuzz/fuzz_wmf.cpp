// A metafile's bytes through the check and the record player on a QPainter,
// at a card's size and at its own size, as the loader does.
#include "FuzzSupport.h"
#include "pictures/WmfReader.h"

using namespace fuzzsupport;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = Bytes(data, size);
    const auto layout = wmfreader::Check(bytes);
    if (!layout) return 0;
    if (layout->length <= 0 || layout->length > bytes.size()) Fail("the checked length is wrong");

    const QSize card(120, 90);
    QSize natural;
    const auto small = wmfreader::Render(bytes, *layout, card, 128LL << 20, &natural);
    if (small && (small->width() > card.width() || small->height() > card.height()))
        Fail("a metafile came out larger than asked");
    // Its own size, with a cap small enough to keep each run quick.
    const auto whole = wmfreader::Render(bytes, *layout, QSize(), 4LL << 20, &natural);
    if (whole && qint64(whole->width()) * whole->height() * 4 > (4LL << 20))
        Fail("a metafile came out larger than its cap");
    return 0;
}
