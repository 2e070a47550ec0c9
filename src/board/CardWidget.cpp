#include "board/CardWidget.h"

#include <QCoreApplication>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionFrame>

#include "board/CardPicture.h"
#include "ui/PictureFile.h"

namespace {
// Scaled pixmaps by picture and size in device pixels: eighty backs of one
// size scale once.
struct ScaledKey {
    qint64 image;
    int w, h;
    bool operator==(const ScaledKey&) const = default;
};
size_t qHash(const ScaledKey& k, size_t seed = 0) {
    return qHashMulti(seed, k.image, k.w, k.h);
}

QHash<ScaledKey, QPixmap>* scaledCache = nullptr;

QPixmap Scaled(const QImage& image, QSize size) {
    // Pixmaps must go before the application does.
    if (!scaledCache) {
        scaledCache = new QHash<ScaledKey, QPixmap>;
        qAddPostRoutine([] {
            delete scaledCache;
            scaledCache = nullptr;
        });
    }
    QHash<ScaledKey, QPixmap>& cache = *scaledCache;
    const ScaledKey key{image.cacheKey(), size.width(), size.height()};
    if (auto it = cache.constFind(key); it != cache.constEnd()) return *it;
    if (cache.size() > 400) cache.clear();
    QPixmap p = QPixmap::fromImage(cardpicture::ScaledForArea(image, size));
    cache.insert(key, p);
    return p;
}
}  // namespace

CardWidget::CardWidget(QWidget* parent) : QLabel(parent) {
    setScaledContents(true);
    SetBorder(true);
}

CardWidget* CardWidget::NewElement() const {
    auto* w = new CardWidget(parentWidget());
    w->setGeometry(geometry());
    w->setFrameStyle(frameStyle());
    w->setLineWidth(lineWidth());
    w->setScaledContents(hasScaledContents());
    w->setPalette(palette());
    w->setAutoFillBackground(autoFillBackground());
    w->SetGround(ground_);
    w->SetKeepShape(keepShape_);
    w->SetPlainWhenEmpty(plainWhenEmpty_);
    w->hide();
    return w;
}

void CardWidget::SetBorder(bool single) {
    setFrameStyle(single ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    setLineWidth(1);
}

void CardWidget::SetGround(const QColor& ground) {
    ground_ = ground;
    update();
}

void CardWidget::SetKeepShape(bool keep) {
    if (keep == keepShape_) return;
    keepShape_ = keep;
    if (isVisible()) Refresh();
}

void CardWidget::SetPlainWhenEmpty(bool plain) {
    plainWhenEmpty_ = plain;
    update();
}

void CardWidget::SetPicture(const QImage& image, const QString& file) {
    picture_ = image;
    file_ = file;
    // The viewer decodes the file again at its natural size.
    picturefile::Remember(this, file);
    shown_ = QPixmap();
    if (picture_.isNull()) {
        update();
        return;
    }
    if (isVisible()) Refresh();
}

QRect CardWidget::DeviceArea() const {
    const double dpr = devicePixelRatioF();
    const QRect inside = contentsRect();
    const QRect area = cardpicture::PictureRect(
        picture_.size(), cardpicture::ToDevice(inside.size(), dpr), keepShape_);
    return area.translated(cardpicture::ToDevice(inside.left(), dpr),
                           cardpicture::ToDevice(inside.top(), dpr));
}

QRectF CardWidget::PictureArea() const {
    const double dpr = devicePixelRatioF();
    const QRect area = DeviceArea();
    return QRectF(area.left() / dpr, area.top() / dpr, area.width() / dpr, area.height() / dpr);
}

void CardWidget::Refresh() {
    if (picture_.isNull()) return;
    const QSize size = DeviceArea().size();
    if (size.isEmpty()) return;
    const double dpr = devicePixelRatioF();
    if (!shown_.isNull() && shown_.size() == size && shown_.devicePixelRatio() == dpr) {
        update();
        return;
    }
    shown_ = Scaled(picture_, size);
    shown_.setDevicePixelRatio(dpr);
    update();
}

void CardWidget::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void CardWidget::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    if (isVisible()) Refresh();
}

void CardWidget::showEvent(QShowEvent* event) {
    Refresh();
    QLabel::showEvent(event);
}

// A disabled window (behind the winner entry, for one) keeps its cards as
// they are: the label's own painting would wash them out in the style's
// disabled look.
void CardWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    option.state |= QStyle::State_Enabled;
    option.palette.setCurrentColorGroup(QPalette::Active);
    style()->drawControl(QStyle::CE_ShapedFrame, &option, &painter, this);
    const QRect inside = contentsRect();
    if (picture_.isNull()) {
        if (plainWhenEmpty_) cardpicture::DrawPlainBack(painter, inside);
        return;
    }
    // A move to a screen of another density scales afresh.
    if (shown_.isNull() || shown_.devicePixelRatio() != devicePixelRatioF() ||
        shown_.size() != DeviceArea().size())
        Refresh();
    if (shown_.isNull()) return;
    const QRectF target = PictureArea();
    if (keepShape_) painter.fillRect(inside, cardpicture::Matte);
    if (ground_.isValid()) painter.fillRect(target, ground_);
    painter.drawPixmap(target, shown_, QRectF(QPointF(0, 0), shown_.size()));
}
