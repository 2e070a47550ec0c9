#pragma once
#include <QColor>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QRectF>
#include <QString>

// An image control of the board: one card face or back. It stretches its
// picture to its own size (or, for a face with shapes kept, fits it centred
// on a matte) and reports a left click. The picture is kept once at an
// intermediate size (the two cards of a pair and all backs share it); the
// pixmap on screen is made from it for the current size in device pixels,
// only when the control is visible, and scaled pixmaps of the same picture
// and size are shared between controls.
class CardWidget : public QLabel {
    Q_OBJECT
public:
    explicit CardWidget(QWidget* parent = nullptr);

    // A new element of the control array: same parent, size, frame and
    // stretch as this one, hidden, without a picture.
    CardWidget* NewElement() const;

    void SetPicture(const QImage& image, const QString& file = QString());
    void CopyPictureFrom(const CardWidget& other) { SetPicture(other.picture_, other.file_); }
    void ClearPicture() { SetPicture(QImage()); }
    const QImage& Picture() const { return picture_; }
    QString File() const { return file_; }
    bool HasPicture() const { return !picture_.isNull(); }

    // "Fixed single" border on or off.
    void SetBorder(bool single);

    // The colour drawn under the picture, so transparent parts of a face
    // do not show the board through; none by default. The picture itself
    // keeps its transparency (the viewer shows it on its own ground).
    void SetGround(const QColor& ground);

    // Draws the picture in its own proportions, centred over a neutral
    // matte, instead of stretched to the card.
    void SetKeepShape(bool keep);
    bool KeepShape() const { return keepShape_; }

    // Without a picture, draws a plain card-like back instead of nothing.
    void SetPlainWhenEmpty(bool plain);

    // Where the picture is drawn, in the control's logical pixels: all of
    // the inside of the frame when stretched.
    QRectF PictureArea() const;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Refresh();
    // The picture's place inside the frame, in device pixels.
    QRect DeviceArea() const;
    QImage picture_;
    QString file_;
    QColor ground_;
    bool keepShape_ = false;
    bool plainWhenEmpty_ = false;
    QPixmap shown_;  // the picture scaled for DeviceArea, at the current density
};
