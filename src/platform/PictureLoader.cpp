#include "platform/PictureLoader.h"

#include <QImageReader>

std::optional<Picture> PictureLoader::Load(const QString& path, QSize maxSize,
                                           int allocationLimitMB) {
    const int oldLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(allocationLimitMB);
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    QSize natural = reader.size();
    if (maxSize.isValid() && natural.isValid()) {
        const QSize fit = natural.scaled(maxSize, Qt::KeepAspectRatio);
        if (fit.width() < natural.width()) reader.setScaledSize(fit);
    }
    QImage image = reader.read();
    QImageReader::setAllocationLimit(oldLimit);
    if (image.isNull()) return std::nullopt;
    if (!natural.isValid()) natural = image.size();
    return Picture{std::move(image), path, natural};
}

void PictureLoader::LoadMany(const QStringList& paths, QSize maxSize,
                             const std::function<bool(int, std::optional<Picture>)>& consume) {
    for (int i = 0; i < paths.size(); ++i)
        if (!consume(i, Load(paths[i], maxSize))) return;
}
