// Any bytes as a picture file, through the loader's two ways in: the worker
// pool that deals the cards (scaled to a card) and the single load the
// viewer makes (natural size). The format is found from the content, as the
// game does, so every decoder is reached from the same file. Then the walk
// over a photo's headers that gives a cached copy its size.
#include <QDir>

#include "FuzzSupport.h"
#include "pictures/HeifReader.h"
#include "pictures/JxlReader.h"
#include "pictures/PictureLoader.h"
#include "pictures/WebpReader.h"
#include "platform/FileParts.h"

using namespace fuzzsupport;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static PictureLoader loader;
    const QString folder = Scratch();
    const QString path = QDir(folder).filePath("picture.jpg");
    WriteFile(folder, "picture.jpg", Bytes(data, size));

    const QSize card(120, 90);
    int handed = 0;
    loader.LoadMany({path}, card, [&](int index, std::optional<Picture> picture) {
        if (index != 0) Fail("a result for a file that was not asked for");
        ++handed;
        if (picture) {
            if (picture->image.isNull()) Fail("an empty picture reported as loaded");
            if (picture->image.width() > card.width() || picture->image.height() > card.height())
                Fail("a card picture came out larger than the card");
        }
        return true;
    });
    if (handed != 1) Fail("the deal lost a picture");

    const auto whole = loader.Load(path);
    if (whole && (whole->image.isNull() || !whole->naturalSize.isValid()))
        Fail("an empty picture reported as loaded");

    FilePartsOnDisk file(path);
    const QSize sizes[] = {webpreader::NaturalSize(file), heifreader::NaturalSize(file),
                           jxlreader::NaturalSize(file)};
    for (const QSize s : sizes)
        if (s.isValid() && s.isEmpty()) Fail("a size from the headers with no pixels");
    return 0;
}
