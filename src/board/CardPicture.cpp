#include "board/CardPicture.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "board/BoardLayout.h"
#include "platform/Numbers.h"

namespace cardpicture {

QSize IntermediateSize(double devicePixelRatio) {
    const int side = ToDevice(board::IntermediateSize, std::max(1.0, devicePixelRatio));
    return QSize(side, side);
}

int ToDevice(int logical, double devicePixelRatio) {
    if (logical <= 0) return 0;
    return static_cast<int>(std::max(1LL, num::RoundHalfEven(logical * devicePixelRatio)));
}

QSize ToDevice(QSize logical, double devicePixelRatio) {
    return QSize(ToDevice(logical.width(), devicePixelRatio),
                 ToDevice(logical.height(), devicePixelRatio));
}

QRect PictureRect(QSize picture, QSize area, bool keepShape) {
    const QRect all(QPoint(0, 0), area);
    if (!keepShape || picture.isEmpty() || area.isEmpty()) return all;
    const double scale = std::min(static_cast<double>(area.width()) / picture.width(),
                                  static_cast<double>(area.height()) / picture.height());
    const auto fit = [scale](int length, int room) {
        return static_cast<int>(std::clamp<long long>(num::RoundHalfEven(length * scale), 1, room));
    };
    const int w = fit(picture.width(), area.width()), h = fit(picture.height(), area.height());
    return QRect((area.width() - w) / 2, (area.height() - h) / 2, w, h);
}

}  // namespace cardpicture

#include <QPainter>
#include <QPainterPath>

namespace cardpicture {

void DrawPlainBack(QPainter& painter, const QRectF& card) {
    if (card.isEmpty()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // The board shows in the rounded corners, as around a real card.
    painter.fillRect(card, BoardGreen);
    const double side = std::min(card.width(), card.height());
    const double inset = std::max(1.0, side * 0.04);
    const QRectF panel = card.adjusted(inset, inset, -inset, -inset);
    const double radius = side * 0.1;
    painter.setPen(Qt::NoPen);
    painter.setBrush(PanelGreen);
    painter.drawRoundedRect(panel, radius, radius);
    const double rimInset = side * 0.08;
    const QRectF rim = panel.adjusted(rimInset, rimInset, -rimInset, -rimInset);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Cream, std::max(1.0, side * 0.025)));
    painter.drawRoundedRect(rim, radius * 0.6, radius * 0.6);
    const QPointF c = card.center();
    const double d = side * 0.14;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Cream);
    painter.drawPolygon(QPolygonF({QPointF(c.x(), c.y() - d), QPointF(c.x() + d * 0.7, c.y()),
                                   QPointF(c.x(), c.y() + d), QPointF(c.x() - d * 0.7, c.y())}));
    painter.restore();
}

}  // namespace cardpicture

namespace cardpicture {

QImage ScaledForArea(const QImage& image, QSize size) {
    if (image.isNull() || size.isEmpty()) return QImage();
    const int factor = std::min(size.width() / std::max(1, image.width()),
                                size.height() / std::max(1, image.height()));
    const bool icon = image.width() <= SmallIconSide && image.height() <= SmallIconSide;
    if (!icon || factor < 2)
        return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage grown =
        image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.drawImage((size.width() - grown.width()) / 2, (size.height() - grown.height()) / 2, grown);
    return out;
}

}  // namespace cardpicture
